#pragma once

#include <QToolBar>

#include <map>
#include <vector>

class QAction;

namespace shell {

class CommandRouter;

// The main window's tool bar: a button per command in the fixed order of the bar, each with
// its picture, tool tip and fly-by text from the resource set. Buttons run their commands
// through the router and take their states from it when UpdateStates runs.
class CommandToolBar : public QToolBar
{
    Q_OBJECT

public:
    static constexpr int kResourceId = 128;

    // `flat` is the look of the new bars; without them the buttons are raised.
    CommandToolBar(CommandRouter& router, bool flat, QWidget* parent = nullptr);

    void UpdateStates();
    // Takes the tool tips and fly-by texts from the resource set again, after the language
    // changed.
    void ReloadTexts();
    // The button of `commandId`; null when the bar has none.
    QAction* Button(int commandId) const;
    // The commands of the buttons in order, 0 for a separator.
    static const std::vector<int>& Layout();

private:
    CommandRouter& m_router;
    std::map<int, QAction*> m_buttons;
};

} // namespace shell
