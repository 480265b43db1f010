#include "grid/grid_date_edit.h"

#include "platform/qt/ansi_string.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace grid {

namespace {

// The dates the picker shows; the day before the first is its empty state.
const QDate kFirstDate(1970, 1, 1);
const QDate kLastDate(2038, 1, 1);

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

// Taller than the cell by 4 pixels each way; never so narrow that the date is cut by the
// step buttons (it may then cover part of the next column while it is open).
void CGridDateEdit::MoveTo(const QRect& rect)
{
    QRect placed = rect.adjusted(0, -4, 0, 4);
    placed.setWidth(std::max(placed.width(), sizeHint().width()));
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
        SetEmpty();
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

void CGridDateEdit::focusOutEvent(QFocusEvent* event)
{
    QDateEdit::focusOutEvent(event);
    RequestEndEdit();
}

} // namespace grid
