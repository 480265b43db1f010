#pragma once

#include <QMainWindow>

#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace shell {

class CTaskChildWnd;
class TableTabBar;

// The main window's frame: a window area for the table windows and, with the new bars, the
// table bar along the bottom with one tab per window. Clicking a tab brings its window
// forward (restoring it when minimized); the active window's tab shows selected, none while
// the active window is minimized. The derived window supplies the tabs' icon.
class CTaskFrameWnd : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int kTableBarTemplate = 142;

    CTaskFrameWnd(bool newBars, QWidget* parent = nullptr);

    bool HasNewBars() const { return m_newBars; }
    QMdiArea* MdiArea() const { return m_mdiArea; }
    QToolBar* TableBar() const { return m_tableBar; } // null without the new bars
    TableTabBar* Tabs() const { return m_tabs; } // null without the new bars

    // Puts a new window into the window area and gives it a tab.
    void AddTaskWindow(CTaskChildWnd* window);
    // The windows in the order they were made.
    std::vector<CTaskChildWnd*> TaskWindows() const;
    // The active window: the one the window area has current and shows, or null.
    CTaskChildWnd* ActiveTaskWindow() const;
    // Makes `window` active, showing and restoring it first.
    void ActivateTaskWindow(CTaskChildWnd* window);

protected:
    // The icon of every tab.
    virtual QIcon TabIcon() const = 0;
    // The active window changed (to null when none is left or shown).
    virtual void OnActiveWindowChanged(CTaskChildWnd* window) = 0;

private:
    void OnSubWindowActivated(QMdiSubWindow* window);
    void OnWindowMinimized(CTaskChildWnd* window);

    bool m_newBars;
    QMdiArea* m_mdiArea;
    QToolBar* m_tableBar = nullptr;
    TableTabBar* m_tabs = nullptr;
    CTaskChildWnd* m_active = nullptr;
};

} // namespace shell
