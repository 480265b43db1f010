#include "shell/task_frame_wnd.h"

#include "shell/table_bar.h"
#include "shell/task_child_wnd.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QToolBar>

namespace shell {

CTaskFrameWnd::CTaskFrameWnd(bool newBars, QWidget* parent)
    : QMainWindow(parent)
    , m_newBars(newBars)
    , m_mdiArea(new QMdiArea(this))
{
    m_mdiArea->setObjectName(QStringLiteral("MdiArea"));
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CTaskFrameWnd::OnSubWindowActivated);
    if (!m_newBars)
        return;
    m_tableBar = new QToolBar(this);
    m_tableBar->setObjectName(QStringLiteral("IDD_TABLE_BAR"));
    m_tableBar->setFloatable(false);
    m_tableBar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    m_tabs = new TableTabBar(m_tableBar);
    m_tableBar->addWidget(m_tabs);
    addToolBar(Qt::BottomToolBarArea, m_tableBar);
    connect(m_tabs, &TableTabBar::WindowClicked, this, &CTaskFrameWnd::ActivateTaskWindow);
}

void CTaskFrameWnd::AddTaskWindow(CTaskChildWnd* window)
{
    m_mdiArea->addSubWindow(window);
    // Once a closed window is hidden, whatever is active then takes over, even when the
    // window area reports nothing (it was the last window).
    connect(window, &CTaskChildWnd::Closed, this, [this] {
        QMetaObject::invokeMethod(this, [this] { OnSubWindowActivated(nullptr); },
            Qt::QueuedConnection);
    });
    if (!m_tabs)
        return;
    m_tabs->AddWindow(window, TabIcon());
    connect(window, &CTaskChildWnd::TabLabelChanged, this, [this, window] {
        m_tabs->UpdateWindow(window);
    });
    connect(window, &CTaskChildWnd::Minimized, this, [this, window] {
        OnWindowMinimized(window);
    });
    connect(window, &CTaskChildWnd::Closed, m_tabs, [this, window] { m_tabs->RemoveWindow(window); });
    // The tab goes with the window, whoever destroys it.
    connect(window, &QObject::destroyed, m_tabs, [tabs = QPointer<TableTabBar>(m_tabs), window] {
        if (tabs)
            tabs->RemoveWindow(window);
    });
}

std::vector<CTaskChildWnd*> CTaskFrameWnd::TaskWindows() const
{
    std::vector<CTaskChildWnd*> windows;
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* window = qobject_cast<CTaskChildWnd*>(sub))
            windows.push_back(window);
    }
    return windows;
}

CTaskChildWnd* CTaskFrameWnd::ActiveTaskWindow() const
{
    auto* window = qobject_cast<CTaskChildWnd*>(m_mdiArea->currentSubWindow());
    return window && window->isVisible() ? window : nullptr;
}

void CTaskFrameWnd::ActivateTaskWindow(CTaskChildWnd* window)
{
    if (!window)
        return;
    window->Restore();
    m_mdiArea->setActiveSubWindow(window);
    // The window area does not repeat the activation of its current window; the tab and
    // the menus must still follow a window that was shown again.
    OnSubWindowActivated(window);
}

void CTaskFrameWnd::OnSubWindowActivated(QMdiSubWindow* sub)
{
    // Null also when the program merely lost the focus (a message box, another program);
    // the current window is then still the active table window.
    CTaskChildWnd* window = qobject_cast<CTaskChildWnd*>(sub);
    if (!window)
        window = ActiveTaskWindow();
    if (m_tabs) {
        if (window)
            m_tabs->SelectWindow(window);
        else
            m_tabs->ClearSelection();
    }
    if (window == m_active)
        return;
    m_active = window;
    OnActiveWindowChanged(window);
}

void CTaskFrameWnd::OnWindowMinimized(CTaskChildWnd* window)
{
    if (m_tabs && (m_active == window || !ActiveTaskWindow()))
        m_tabs->ClearSelection();
    if (m_active == window) {
        m_active = nullptr;
        OnActiveWindowChanged(ActiveTaskWindow());
    }
}

} // namespace shell
