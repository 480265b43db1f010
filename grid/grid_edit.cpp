#include "grid/grid_edit.h"

#include "platform/qt/ansi_string.h"

#include <QKeyEvent>

namespace grid {

CGridEdit::CGridEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setObjectName(QStringLiteral("CGridEdit"));
    setFrame(false);
    setGeometry(0, 0, 40, 40);
    hide();
}

void CGridEdit::MoveTo(const QRect& rect)
{
    setGeometry(rect);
}

std::string CGridEdit::GetText() const
{
    return platform::qt::ToAnsi(text());
}

void CGridEdit::SetText(std::string_view text)
{
    setText(platform::qt::FromAnsi(text));
    m_caretPosition = -1;
}

void CGridEdit::CaretReport()
{
    const int position = cursorPosition();
    if (position == m_caretPosition)
        return;
    m_caretPosition = position;
    ReportCaret(position);
}

void CGridEdit::keyPressEvent(QKeyEvent* event)
{
    if (HandleCloseKey(event->key()))
        return;
    QLineEdit::keyPressEvent(event);
    CaretReport();
}

void CGridEdit::keyReleaseEvent(QKeyEvent* event)
{
    QLineEdit::keyReleaseEvent(event);
    CaretReport();
}

void CGridEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    CaretReport();
}

void CGridEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!LostFocusToPopup(*event))
        RequestEndEdit();
}

void CGridEdit::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    CaretReport();
}

} // namespace grid
