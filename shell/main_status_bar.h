#pragma once

#include <QStatusBar>

#include <string>

class QLabel;

namespace shell {

// The main window's status bar: the message pane (the idle text, a table operation's
// progress, a command's fly-by text while a menu item or button is pointed at), the caret
// position pane of the cell editor, and the caps-lock, num-lock and scroll-lock panes.
//
// The lock panes keep their place and width, but stay blank: the widgets cannot read the
// state of those keys on this system.
class MainStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    static constexpr int kPaneCount = 5;

    explicit MainStatusBar(QWidget* parent = nullptr);

    // Pane 0 or 1 (cp1251 text), repainted at once so progress shows during long work.
    void SetPaneText(int pane, const std::string& text);
    QString PaneText(int pane) const;
    // Pane 0 back to "Press F1 for help".
    void ShowIdleMessage();

private:
    QLabel* m_panes[kPaneCount] = {};
};

} // namespace shell
