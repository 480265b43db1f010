#include "grid/form_grid_impl.h"

#include "grid/cell_text_fit.h"
#include "grid/grid_layout.h"
#include "grid/grid_wnd.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace grid {

namespace {

constexpr int kFramePen = 3;

// Keys step from any row, the last of a grid of INT_MAX rows included, without overflow.
int ClampIndex(long long value, int count)
{
    return count <= 0 ? -1 : static_cast<int>(std::clamp<long long>(value, 0, count - 1LL));
}

} // namespace

void CFormGridImpl::SetImageList(const GridImageList* imageList)
{
    m_pictureWidth
        = imageList && imageList->Count() > 0 ? imageList->ImageSize().width() + 10 : 0;
    CGridImpl::SetImageList(imageList);
}

// The titles are measured in the bold face they are drawn in, so none is cut.
void CFormGridImpl::SetFont(const QFont& font)
{
    CGridImpl::SetFont(font);
    Measure();
}

void CFormGridImpl::InsertColumn(int index, const QString& title, int characters, int width,
    int minWidth, int alignment)
{
    CGridImpl::InsertColumn(index, title, characters, width, minWidth, alignment);
    Measure();
}

void CFormGridImpl::SetColumnFit(int index, const QString& widestText, bool wholeText)
{
    CGridImpl::SetColumnFit(index, widestText, wholeText);
    Measure();
}

void CFormGridImpl::ClearColumns()
{
    CGridImpl::ClearColumns();
    Measure();
}

void CFormGridImpl::Measure()
{
    const QFont& font = m_font;
    m_boldFont = font;
    m_boldFont.setWeight(QFont::Bold);
    const QFontMetrics bold(m_boldFont);
    m_nameWidth = 0;
    int boxWidth = 5;
    for (int i = 0; i < ColumnCount(); ++i) {
        m_nameWidth = std::max(m_nameWidth, bold.horizontalAdvance(Column(i).title));
        boxWidth = std::max(boxWidth, BoxWidth(i));
    }
    const GridFontMetrics metrics = CGridWnd::MeasureFont(font);
    m_lineHeight = metrics.height + 6;
    m_contentWidth = boxWidth + m_nameWidth + 15;
}

// As wide as the column's characters, and never narrower than its widest possible text, so
// that a logical shows "false" and a number all its digits.
int CFormGridImpl::BoxWidth(int column) const
{
    const int characters = Column(column).characters + (m_trueType ? 1 : 0);
    const int maxCharWidth = m_grid ? m_grid->GetFontMetrics().maxCharWidth
                                    : CGridWnd::MeasureFont(m_font).maxCharWidth;
    return std::max(characters * maxCharWidth, WidestTextExtent(Column(column), true) + 4) + 5;
}

int CFormGridImpl::HPosition() const
{
    return m_grid ? m_grid->ScrollPosition(Qt::Horizontal) : 0;
}

int CFormGridImpl::ValueRight(int column) const
{
    return ValueLeft() + BoxWidth(column);
}

void CFormGridImpl::OnButtonDown(QPoint point)
{
    m_grid->setFocus(Qt::MouseFocusReason);
    const int field = std::min((m_lineHeight * m_firstLine + point.y()) / m_lineHeight,
        m_grid->GetColumnCount() - 1);
    m_grid->SetCurrentCell(m_grid->GetCurrentRow(), field);
}

void CFormGridImpl::Relayout()
{
    if (!m_grid)
        return;
    const int clientWidth = m_grid->viewport()->width();
    const int clientHeight = m_grid->viewport()->height();
    m_pageWidth = clientWidth;
    m_pageRows = clientHeight / m_lineHeight;
    const int hMaximum
        = clientWidth - m_contentWidth - 6 < 0 ? m_contentWidth - clientWidth + 5 : 0;
    const int vMaximum = std::max(m_grid->GetColumnCount() - m_pageRows, 0);
    m_grid->SetScrollBar(Qt::Horizontal, hMaximum, m_pageWidth, kHorizontalLine);
    m_grid->SetScrollBar(Qt::Vertical, vMaximum, m_pageRows, 1);
    m_firstLine = std::min(m_firstLine, vMaximum);
    m_grid->SetScrollPosition(Qt::Vertical, m_firstLine);
}

void CFormGridImpl::ScrollToCurrent()
{
    if (!m_grid || m_grid->GetCurrentRow() < 0 || m_grid->GetCurrentColumn() < 0)
        return;
    m_grid->SetScrollPosition(Qt::Horizontal, 0);
    m_firstLine = FirstLineToShow(
        m_grid->GetCurrentColumn(), m_firstLine, m_pageRows, m_grid->GetColumnCount());
    m_grid->SetScrollPosition(Qt::Vertical, m_firstLine);
    m_firstLine = m_grid->ScrollPosition(Qt::Vertical);
}

void CFormGridImpl::OnHScrolled(int, int, int, int)
{
    m_grid->viewport()->update();
}

void CFormGridImpl::OnVScrolled(int, int, int newV, int)
{
    m_firstLine = newV;
    m_grid->viewport()->update();
}

// The editor lies on the painted value box, inside the frame of the current field, so no
// painted text shows beside it; with pictures the boxes move right by the picture strip, and
// so does the editor. Boxes scrolled sideways take the editor with them.
bool CFormGridImpl::GetCellRect(int row, int column, QRect* rect) const
{
    if (!m_grid || row != m_grid->GetCurrentRow() || column < 0 || column >= ColumnCount())
        return false;
    const int left = ValueLeft() + 1 - HPosition();
    const int top = (column - m_firstLine) * m_lineHeight + 3;
    const int bottom = top + m_lineHeight - 6;
    const int right = std::min(ValueRight(column) - 1 - HPosition(), m_grid->viewport()->width());
    *rect = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    return true;
}

bool CFormGridImpl::OnKeyDown(QKeyEvent* event)
{
    long long row = m_grid->GetCurrentRow();
    long long field = m_grid->GetCurrentColumn();
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    QScrollBar* horizontal = m_grid->horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_Up:
        (ctrl ? row : field) -= 1;
        break;
    case Qt::Key_Down:
        (ctrl ? row : field) += 1;
        break;
    case Qt::Key_PageUp:
        if (ctrl)
            horizontal->setValue(horizontal->value() - m_pageWidth);
        else
            field -= m_pageRows;
        break;
    case Qt::Key_PageDown:
        if (ctrl)
            horizontal->setValue(horizontal->value() + m_pageWidth);
        else
            field += m_pageRows;
        break;
    case Qt::Key_Home:
        (ctrl ? field : row) = 0;
        break;
    case Qt::Key_End:
        if (ctrl)
            field = m_grid->GetColumnCount() - 1;
        else
            row = m_grid->GetRowCount() - 1;
        break;
    case Qt::Key_Left:
        horizontal->setValue(horizontal->value() - kHorizontalLine);
        break;
    case Qt::Key_Right:
        horizontal->setValue(horizontal->value() + kHorizontalLine);
        break;
    default:
        return false;
    }
    m_grid->SetCurrentCell(
        ClampIndex(row, m_grid->GetRowCount()), ClampIndex(field, m_grid->GetColumnCount()));
    return true;
}

// In the painter's coordinates, which are scrolled by the horizontal position.
FittedCellText CFormGridImpl::FitValue(int column, const QRect& box, const QString& shown) const
{
    const int hPosition = HPosition();
    const int viewWidth = m_grid ? m_grid->viewport()->width() : m_pageWidth;
    return FitCellText(shown, QFontMetrics(m_font), box.left() + 2, box.right() + 1 - 2,
        hPosition, hPosition + viewWidth, Column(column).alignment == kAlignRight,
        Column(column).wholeText);
}

QString CFormGridImpl::ShownValueText(int column) const
{
    if (!m_grid || column < 0 || column >= ColumnCount())
        return {};
    const GridRow* cached = m_grid->FindCachedRow(m_grid->GetCurrentRow());
    if (!cached || column >= cached->ColumnCount())
        return {};
    const QString shown = DisplayText(cached->texts[static_cast<size_t>(column)], true);
    if (shown.isEmpty())
        return {};
    const int top = column * m_lineHeight;
    const QRect box(QPoint(ValueLeft(), top), QPoint(ValueRight(column) - 1, top + m_lineHeight - 1));
    return FitValue(column, box, shown).Shown();
}

void CFormGridImpl::OnPaint(QPaintEvent* event)
{
    if (!m_grid)
        return;
    QPainter painter(m_grid->viewport());
    painter.fillRect(event->rect(), m_windowColor);
    if (m_grid->GetCurrentRow() < 0) {
        if (m_grid->GetRowCount() == 0)
            return;
        // Called from a paint, the move repaints once more with the row in place.
        m_grid->SetCurrentRow(0);
        return;
    }
    const int row = m_grid->GetCurrentRow();
    const int field = m_grid->GetCurrentColumn();
    const int hPosition = HPosition();
    painter.translate(-hPosition, -m_firstLine * m_lineHeight);
    const int valueLeft = ValueLeft();
    const int lines = ColumnCount();

    painter.setFont(m_boldFont);
    const int boldDescent = QFontMetrics(m_boldFont).descent();
    for (int i = 0; i < lines; ++i) {
        const int top = i * m_lineHeight;
        const int bottom = top + m_lineHeight;
        const QRect name(QPoint(0, top), QPoint(valueLeft - 1 - (m_focused && i == field), bottom - 1));
        painter.fillRect(name, m_windowColor);
        painter.setPen(Qt::black);
        painter.save();
        painter.setClipRect(name);
        painter.drawText(QPoint(m_pictureWidth + 5, bottom - boldDescent), Column(i).title);
        painter.restore();
    }

    if (m_grid->Cache().Capacity() <= 0)
        m_grid->SetCacheSize(0, 0);
    m_grid->EnsureRowsCached(row, row);
    const GridRow* cached = m_grid->FindCachedRow(row);

    if (m_imageList && cached && cached->imageIndex >= 0
        && cached->imageIndex < m_imageList->Count()) {
        const QSize image = m_imageList->ImageSize();
        painter.drawPixmap((m_pictureWidth - image.width()) / 2 + 5,
            (m_lineHeight - image.height()) / 2,
            m_imageList->images[static_cast<size_t>(cached->imageIndex)]);
    }

    painter.setFont(m_font);
    const int descent = QFontMetrics(m_font).descent();
    const int clipRight = event->rect().right() + hPosition;
    for (int i = 0; i < lines; ++i) {
        const int top = i * m_lineHeight;
        const int bottom = top + m_lineHeight;
        const bool current = m_focused && i == field;
        const QRect box(QPoint(valueLeft + current, top),
            QPoint(ValueRight(i) - 1 - current, bottom - 1));
        QColor text = Qt::black;
        QColor back = m_windowColor;
        QString shown;
        if (cached && i < cached->ColumnCount()) {
            text = QColor::fromRgba(cached->textColors[static_cast<size_t>(i)]);
            back = QColor::fromRgba(cached->backColors[static_cast<size_t>(i)]);
            shown = DisplayText(cached->texts[static_cast<size_t>(i)], true);
        }
        painter.fillRect(box, back);
        painter.save();
        painter.setClipRect(box);
        painter.setPen(text);
        const int baseline = bottom - 3 - descent;
        const FittedCellText fitted = FitValue(i, box, shown);
        painter.drawText(QPoint(fitted.x, baseline), fitted.text);
        if (fitted.CutLeft())
            painter.drawText(QPoint(fitted.leftMarkX, baseline), QString(kCutMark));
        if (fitted.CutRight())
            painter.drawText(QPoint(fitted.rightMarkX, baseline), QString(kCutMark));
        painter.restore();
        if (clipRight > box.right())
            painter.fillRect(QRect(QPoint(box.right() + 1, top), QPoint(clipRight, bottom - 1)),
                m_windowColor);
    }

    if (m_focused && field >= 0 && field < lines) {
        const int top = field * m_lineHeight;
        QPen pen(Qt::black, kFramePen);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(valueLeft - 1, top - 1),
            QPoint(ValueRight(field), top + m_lineHeight)));
    }
}

} // namespace grid
