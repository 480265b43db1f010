// Input of the grid window: the grid family sees each event first, then the current view.

#include "grid/grid_impl.h"
#include "grid/grid_wnd.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace grid {

bool CGridWnd::OnGridButtonDown(QMouseEvent*)
{
    return true;
}

bool CGridWnd::OnGridWheel(QWheelEvent*)
{
    return true;
}

bool CGridWnd::OnGridScrollBar()
{
    return true;
}

void CGridWnd::OnGridDoubleClick(QMouseEvent*) { }

void CGridWnd::OnGridKeyDown(QKeyEvent*) { }

void CGridWnd::OnGridFocusOut(QFocusEvent*) { }

bool CGridWnd::viewportEvent(QEvent* event)
{
    CGridImpl* impl = m_created ? GetCurrentImpl() : nullptr;
    switch (event->type()) {
    case QEvent::Paint:
        if (impl)
            impl->OnPaint(static_cast<QPaintEvent*>(event));
        return true;
    case QEvent::Resize:
        if (impl)
            impl->OnSize();
        return true;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!OnGridButtonDown(mouse))
            return true;
        if (impl && (mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton))
            impl->OnButtonDown(mouse->position().toPoint());
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            OnGridDoubleClick(mouse);
        return true;
    }
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (OnGridWheel(wheel) && impl && wheel->modifiers() == Qt::NoModifier)
            impl->OnWheel(wheel);
        return true;
    }
    default:
        return QAbstractScrollArea::viewportEvent(event);
    }
}

void CGridWnd::keyPressEvent(QKeyEvent* event)
{
    OnGridKeyDown(event);
    CGridImpl* impl = m_created ? GetCurrentImpl() : nullptr;
    if (!impl || !impl->OnKeyDown(event))
        event->ignore();
}

void CGridWnd::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    for (CGridImpl* impl : m_impls)
        impl->OnFocusChanged(true);
}

void CGridWnd::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    OnGridFocusOut(event);
    for (CGridImpl* impl : m_impls)
        impl->OnFocusChanged(m_framedWithoutFocus);
}

void CGridWnd::scrollContentsBy(int, int)
{
    if (m_settingScroll)
        return;
    const int newH = horizontalScrollBar()->value();
    const int newV = verticalScrollBar()->value();
    const int oldH = m_lastH;
    const int oldV = m_lastV;
    m_lastH = newH;
    m_lastV = newV;
    CGridImpl* impl = m_created ? GetCurrentImpl() : nullptr;
    if (!impl)
        return;
    if (newH != oldH)
        impl->OnHScrolled(newH, oldH, newV, oldV);
    if (newV != oldV)
        impl->OnVScrolled(newH, oldH, newV, oldV);
}

bool CGridWnd::eventFilter(QObject* watched, QEvent* event)
{
    const bool bar = watched == horizontalScrollBar() || watched == verticalScrollBar();
    if (bar && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Wheel)
        && !OnGridScrollBar())
        return true;
    return QAbstractScrollArea::eventFilter(watched, event);
}

// New system colours: the views take them and the rows are fetched again, because every
// cached row carries its back colour.
void CGridWnd::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_created) {
        ReloadColors();
        FlushRowCache();
    }
}

} // namespace grid
