#include "grid/grid_date_edit.h"

#include "platform/qt/ansi_string.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

#include <algorithm>

namespace grid {

namespace {

// The dates the picker shows: every date a date field holds that the grid reads back (years
// 1001 to 9999). The day before the first is its empty state.
const QDate kFirstDate(1001, 1, 1);
const QDate kLastDate(9999, 12, 31);

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

CGridDateEdit::CGridDateEdit(QWidget* parent)
    : QDateEdit(parent)
{
    setObjectName(QStringLiteral("CGridDateEdit"));
    setDateRange(EmptyDate(), kLastDate);
    // A blank special text: the picker shows nothing while it holds the empty date.
    setSpecialValueText(QStringLiteral(" "));
    setGeometry(0, 0, 40, 40);
    connect(this, &QDateEdit::dateChanged, this, [this] {
        if (!m_settingText)
            m_touched = true;
    });
    hide();
}

QDate CGridDateEdit::EmptyDate()
{
    return kFirstDate.addDays(-1);
}

// Taller than the cell by 4 pixels each way and as wide as the cell, so the next column
// stays in sight. A cell too narrow for the date and the step buttons drops the buttons, so
// the date is not cut; Up and Down still step it.
void CGridDateEdit::MoveTo(const QRect& rect)
{
    const QRect placed = rect.adjusted(0, -4, 0, 4);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    if (placed.width() < sizeHint().width())
        setButtonSymbols(QAbstractSpinBox::NoButtons);
    setGeometry(placed);
}

std::string CGridDateEdit::GetText() const
{
    if (!m_touched)
        return m_openedText;
    if (IsEmpty())
        return {};
    const QDate shown = date();
    return FormatGridDate({ shown.year(), shown.month(), shown.day() }, m_format);
}

void CGridDateEdit::SetText(std::string_view text)
{
    m_settingText = true;
    m_openedText = std::string(text);
    m_touched = false;
    const std::optional<GridDate> parsed = ParseGridDate(Trim(text), m_format);
    const QDate value = parsed ? QDate(parsed->year, parsed->month, parsed->day) : QDate();
    if (value.isValid() && value >= kFirstDate && value <= kLastDate)
        setDate(value);
    else
        setDate(EmptyDate());
    const QString format = QString::fromLatin1(DateEditFormat(m_format));
    setDisplayFormat(format.isEmpty() ? QStringLiteral("dd.MM.yyyy") : format);
    m_settingText = false;
}

void CGridDateEdit::SetEmpty()
{
    setDate(EmptyDate());
}

void CGridDateEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (HandleCloseKey(key))
        return;
    if (key == Qt::Key_Delete) {
        // Also when the editor opened empty on a text that is not a date: the user asked
        // for an empty date, not for the text back.
        SetEmpty();
        m_touched = true;
        return;
    }
    if (IsEmpty()) {
        const bool starts = key == Qt::Key_Space || key == Qt::Key_Up || key == Qt::Key_Down
            || (key >= Qt::Key_0 && key <= Qt::Key_9);
        if (!starts)
            return;
        setDate(QDate::currentDate());
        setSelectedSection(QDateTimeEdit::DaySection);
        if (key == Qt::Key_Space || key == Qt::Key_Up || key == Qt::Key_Down)
            return;
    }
    QDateEdit::keyPressEvent(event);
}

// A wheel turn over the open editor closes it, as a turn anywhere in the grid does, rather
// than stepping the date under the pointer: the turn is handed to the grid's viewport, the
// editor's parent, where it closes the editor and scrolls.
void CGridDateEdit::wheelEvent(QWheelEvent* event)
{
    event->accept();
    QWidget* host = parentWidget();
    if (!host)
        return;
    const QPointF at = mapTo(host, event->position().toPoint());
    QWheelEvent turn(at, event->globalPosition(), event->pixelDelta(), event->angleDelta(),
        event->buttons(), event->modifiers(), event->phase(), event->inverted(),
        event->source());
    QCoreApplication::sendEvent(host, &turn);
}

void CGridDateEdit::focusOutEvent(QFocusEvent* event)
{
    QDateEdit::focusOutEvent(event);
    if (!LostFocusToPopup(*event))
        RequestEndEdit();
}

} // namespace grid
