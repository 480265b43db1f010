#include "shell/task_child_wnd.h"

#include <QCloseEvent>
#include <QEvent>
#include <QWindowStateChangeEvent>

namespace shell {

CTaskChildWnd::CTaskChildWnd(QWidget* parent)
    : QMdiSubWindow(parent)
{
    connect(this, &QWidget::windowTitleChanged, this, &CTaskChildWnd::TabLabelChanged);
}

QString CTaskChildWnd::TabLabel() const
{
    return windowTitle();
}

void CTaskChildWnd::Restore()
{
    if (isMinimized()) {
        if (m_maximizedBeforeMinimize)
            showMaximized();
        else
            showNormal();
    }
    show();
}

void CTaskChildWnd::closeEvent(QCloseEvent* event)
{
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        emit Closed();
}

void CTaskChildWnd::changeEvent(QEvent* event)
{
    QMdiSubWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (isMinimized() && !(change->oldState() & Qt::WindowMinimized)) {
        // A minimized window would sit as a title bar in the window area; the table bar's
        // tab is how it comes back, so it is hidden instead.
        // Hidden once the window area has finished minimizing it.
        m_maximizedBeforeMinimize = (change->oldState() & Qt::WindowMaximized) != 0;
        QMetaObject::invokeMethod(this, [this] {
            if (isMinimized()) {
                hide();
                emit Minimized();
            }
        }, Qt::QueuedConnection);
    }
}

} // namespace shell
