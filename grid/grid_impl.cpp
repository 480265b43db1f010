#include "grid/grid_impl.h"

#include "grid/grid_wnd.h"
#include "platform/qt/ansi_string.h"

#include <QFontMetrics>
#include <QPalette>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace grid {

CGridImpl::~CGridImpl() = default;

void CGridImpl::Attach(CGridWnd* grid)
{
    m_grid = grid;
    m_attached = true;
}

void CGridImpl::SetImageList(const GridImageList* imageList)
{
    m_imageList = imageList;
    m_imageRect = imageList && imageList->Count() > 0 ? QRect(QPoint(0, 0), imageList->ImageSize())
                                                      : QRect();
    if (m_attached)
        SetFont(m_font);
}

void CGridImpl::Activate(bool) { }

void CGridImpl::SetFont(const QFont& font)
{
    m_font = font;
    m_trueType = CGridWnd::MeasureFont(font).trueType;
}

void CGridImpl::InsertColumn(int index, const QString& title, int characters, int width,
    int minWidth, int alignment)
{
    auto column = std::make_unique<CColumn>();
    column->title = title;
    column->characters = characters;
    column->width = width;
    column->minWidth = minWidth;
    column->alignment = alignment;
    index = std::clamp(index, 0, ColumnCount());
    m_columns.insert(m_columns.begin() + index, std::move(column));
}

void CGridImpl::SetColumnFit(int index, const QString& widestText, bool wholeText)
{
    if (index < 0 || index >= ColumnCount())
        return;
    MutableColumn(index).widestText = widestText;
    MutableColumn(index).wholeText = wholeText;
}

void CGridImpl::ClearColumns()
{
    m_columns.clear();
}

void CGridImpl::ReloadColors()
{
    const QPalette palette = m_grid ? m_grid->palette() : QPalette();
    m_windowColor = palette.color(QPalette::Base);
    m_faceColor = palette.color(QPalette::Button);
    m_highlightColor = palette.color(QPalette::Light);
    m_shadowColor = palette.color(QPalette::Dark);
}

void CGridImpl::OnRowCountChanged(int) { }

void CGridImpl::RefreshLayout()
{
    Relayout();
}

void CGridImpl::OnHScrolled(int, int, int, int) { }

void CGridImpl::OnVScrolled(int, int, int, int) { }

bool CGridImpl::GetCellRect(int, int, QRect*) const
{
    return false;
}

int CGridImpl::GetTopRow() const
{
    return m_grid ? std::max(m_grid->GetCurrentRow(), 0) : 0;
}

void CGridImpl::OnPaint(QPaintEvent*) { }

bool CGridImpl::OnKeyDown(QKeyEvent*)
{
    return false;
}

void CGridImpl::OnSize()
{
    Relayout();
}

// A notch is 120 eighths of a degree; each notch moves the vertical bar by the desktop's
// wheel line count, one unit a line, down for a turn towards the user.
// Touchpads and fine wheels send parts of a notch: the parts add up until they make a line,
// and what is left over waits for the next event. A turn the other way starts afresh.
void CGridImpl::OnWheel(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0 || !m_grid)
        return;
    if ((delta > 0) != (m_wheelRemainder > 0))
        m_wheelRemainder = 0;
    m_wheelRemainder += static_cast<long long>(delta) * CGridWnd::WheelScrollLines();
    const long long lines = m_wheelRemainder / 120;
    m_wheelRemainder -= lines * 120;
    if (lines == 0)
        return;
    QScrollBar* bar = m_grid->verticalScrollBar();
    bar->setValue(static_cast<int>(std::clamp<long long>(bar->value() - lines, bar->minimum(),
        bar->maximum())));
}

void CGridImpl::OnFocusChanged(bool focused)
{
    m_focused = focused;
    if (m_grid)
        m_grid->viewport()->update();
}

bool CGridImpl::IsCurrentView() const
{
    return m_grid && m_grid->GetCurrentImpl() == this;
}

QString CGridImpl::DisplayText(const std::string& text, bool leadingBlank) const
{
    return DisplayText(platform::qt::FromAnsi(text), leadingBlank);
}

QString CGridImpl::DisplayText(QString text, bool leadingBlank) const
{
    if (leadingBlank && m_trueType)
        text.prepend(QLatin1Char(' '));
    return text;
}

int CGridImpl::WidestTextExtent(const CColumn& column, bool leadingBlank) const
{
    if (column.widestText.isEmpty())
        return 0;
    return QFontMetrics(m_font).horizontalAdvance(DisplayText(column.widestText, leadingBlank));
}

} // namespace grid
