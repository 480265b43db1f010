#include "grid/ctrl_helper.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

namespace grid {

GridEndEditEvent::GridEndEditEvent()
    : QEvent(EventType())
{
}

QEvent::Type GridEndEditEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

GridCaretPosEvent::GridCaretPosEvent(int position)
    : QEvent(EventType())
    , m_position(position)
{
}

QEvent::Type GridCaretPosEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void CCtrlHelper::RequestEndEdit()
{
    if (!m_grid)
        return;
    GridEndEditEvent event;
    QCoreApplication::sendEvent(m_grid, &event);
}

bool CCtrlHelper::HandleCloseKey(int key)
{
    if (key == Qt::Key_Escape)
        SetCancelled(true);
    else if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    RequestEndEdit();
    return true;
}

bool CCtrlHelper::LostFocusToPopup(const QFocusEvent& event)
{
    if (event.reason() == Qt::PopupFocusReason || QApplication::activePopupWidget())
        return true;
    // Some platforms make the menu the active window for the time it is shown.
    const QWidget* active = QApplication::activeWindow();
    return event.reason() == Qt::ActiveWindowFocusReason && active
        && active->windowType() == Qt::Popup;
}

void CCtrlHelper::ReportCaret(int position)
{
    if (!m_grid)
        return;
    GridCaretPosEvent event(position);
    QCoreApplication::sendEvent(m_grid, &event);
}

} // namespace grid
