#pragma once

#include <QTabBar>

namespace shell {

class CTaskChildWnd;

// The table bar's tabs: one per table window, in the order the windows were made, each
// holding its window. A tab can look selected or, while the active window is minimized,
// none does (a plain tab bar always shows one selected).
class TableTabBar : public QTabBar
{
    Q_OBJECT

public:
    // Tool tips are cut to this many characters.
    static constexpr int kMaxToolTip = 79;

    explicit TableTabBar(QWidget* parent = nullptr);

    void AddWindow(CTaskChildWnd* window, const QIcon& icon);
    void RemoveWindow(CTaskChildWnd* window);
    // Shows `window`'s tab selected.
    void SelectWindow(CTaskChildWnd* window);
    // Shows no tab selected until the next SelectWindow.
    void ClearSelection();
    bool HasSelection() const { return !m_noSelection; }
    // Takes the window's tab label and title again.
    void UpdateWindow(CTaskChildWnd* window);

    int IndexOf(const CTaskChildWnd* window) const;
    CTaskChildWnd* WindowAt(int index) const;

signals:
    // The user clicked the tab of `window`.
    void WindowClicked(CTaskChildWnd* window);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_noSelection = false;
};

} // namespace shell
