#include "grid/grid_wnd.h"

#include "grid/def_grid_impl.h"
#include "grid/grid_impl.h"
#include "platform/qt/ansi_string.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace grid {

namespace {

int ScreenHeight()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 768;
}

} // namespace

CGridWnd::CGridWnd(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    // The views paint every pixel themselves; letting Qt clear first would only flicker.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->installEventFilter(this);
    verticalScrollBar()->installEventFilter(this);
}

// The registered views belong to the owner and may already be gone: forget them before
// Qt's own teardown can deliver a last focus or hide event.
CGridWnd::~CGridWnd()
{
    m_currentImpl = -1;
    m_impls.clear();
    m_cache.Flush();
}

bool CGridWnd::Create(const GridImageList* imageList, int initialImpl)
{
    if (m_created)
        return false;
    m_imageList = imageList;
    m_initialImpl = initialImpl;
    OnCreate();
    return true;
}

void CGridWnd::OnCreate()
{
    if (m_impls.empty()) {
        m_ownedDefaultImpl = std::make_unique<CDefGridImpl>();
        AddImpl(m_ownedDefaultImpl.get());
    }
    SetImageList(m_imageList);
    for (CGridImpl* impl : m_impls)
        impl->Attach(this);
    OnGridCreated();
    m_created = true;
    if (!m_fontSet)
        SetGridFont(font());
    ReloadColors();
    SelectImpl(m_initialImpl);
}

void CGridWnd::ClearColumns()
{
    for (CGridImpl* impl : m_impls)
        impl->ClearColumns();
    FlushRowCache();
    m_currentColumn = -1;
    m_columnCount = 0;
}

void CGridWnd::SetGridFont(const QFont& font)
{
    m_font = font;
    m_fontMetrics = MeasureFont(font);
    for (CGridImpl* impl : m_impls)
        impl->SetFont(font);
    m_fontSet = true;
}

void CGridWnd::OnGridCreated() { }

void CGridWnd::FillRow(int, CRow*) { }

void CGridWnd::OnCurrentCellChanged(int, int) { }

void CGridWnd::AddImpl(CGridImpl* impl)
{
    m_impls.push_back(impl);
    if (dynamic_cast<CDefGridImpl*>(impl))
        m_defaultImpl = impl;
}

void CGridWnd::SelectImpl(int index)
{
    if (CGridImpl* current = GetCurrentImpl())
        current->Activate(false);
    m_currentImpl = index >= 0 && index < GetImplCount() ? index : -1;
    if (!m_created)
        return;
    if (CGridImpl* impl = GetCurrentImpl()) {
        if (!impl->IsAttached())
            impl->Attach(this);
        impl->Activate(true);
        impl->OnFocusChanged(hasFocus() || m_framedWithoutFocus);
    }
    Refresh(false);
}

void CGridWnd::SetImageList(const GridImageList* imageList)
{
    m_imageList = imageList;
    for (CGridImpl* impl : m_impls)
        impl->SetImageList(imageList);
    Refresh(false);
}

void CGridWnd::InsertColumn(int index, std::string_view title, int characters, int width,
    int minWidth, int alignment)
{
    ++m_columnCount;
    const QString shown = platform::qt::FromAnsi(title);
    for (CGridImpl* impl : m_impls)
        impl->InsertColumn(index, shown, characters, width, minWidth, alignment);
}

void CGridWnd::SetColumnFit(int index, std::string_view widestText, bool wholeText)
{
    const QString widest = platform::qt::FromAnsi(widestText);
    for (CGridImpl* impl : m_impls)
        impl->SetColumnFit(index, widest, wholeText);
}

void CGridWnd::SetRowCount(int rowCount)
{
    m_rowCount = std::max(rowCount, 0);
    if (m_currentRow >= m_rowCount)
        m_currentRow = m_rowCount - 1;
    if (m_currentRow < 0)
        m_currentColumn = -1;
    FlushRowCache();
    for (CGridImpl* impl : m_impls)
        impl->OnRowCountChanged(m_rowCount);
    // The scroll range follows the row count at once, not only at the next refresh.
    if (m_created) {
        if (CGridImpl* impl = GetCurrentImpl())
            impl->Relayout();
        viewport()->update();
    }
}

void CGridWnd::SetCacheSize(int capacity, int margin)
{
    m_cache.SetCacheSize(capacity, margin, ScreenHeight());
}

void CGridWnd::EnsureRowsCached(int first, int last)
{
    if (first < 0) {
        const CGridImpl* impl = GetCurrentImpl();
        first = impl ? impl->GetTopRow() : 0;
    }
    if (last < 0)
        last = static_cast<int>(std::min<long long>(first + 2LL, m_rowCount - 1LL));
    if (m_rowCount <= 0 || first >= m_rowCount)
        return;
    m_cache.Ensure(first, std::max(first, last), m_rowCount,
        [this](int row) { return MakeRow(row); });
}

std::unique_ptr<CGridWnd::CRow> CGridWnd::MakeRow(int row)
{
    const CGridImpl* impl = GetCurrentImpl();
    const QColor back = impl ? impl->WindowColor() : QColor(Qt::white);
    auto made = std::make_unique<CRow>(m_columnCount, back.rgba());
    FillRow(row, made.get());
    return made;
}

void CGridWnd::FlushRowCache()
{
    m_cache.Flush();
}

CGridWnd::CRow* CGridWnd::FindCachedRow(int row) const
{
    return m_cache.Find(row);
}

void CGridWnd::Refresh(bool flush)
{
    if (m_created) {
        if (CGridImpl* impl = GetCurrentImpl())
            impl->RefreshLayout();
    }
    if (flush)
        FlushRowCache();
    UpdateCurrentCell();
}

void CGridWnd::SetCurrentRow(int row)
{
    if (m_rowCount > 0 && m_currentColumn < 0)
        m_currentColumn = 0;
    SetCurrentCell(row, m_currentColumn);
}

void CGridWnd::SetCurrentCell(int row, int column)
{
    row = std::max(std::min(row, m_rowCount - 1), -1);
    column = std::max(std::min(column, m_columnCount - 1), -1);
    if (row == m_currentRow && column == m_currentColumn)
        return;
    m_currentRow = row;
    m_currentColumn = column;
    UpdateCurrentCell();
}

void CGridWnd::SetCurrentCellFramedWithoutFocus(bool framed)
{
    m_framedWithoutFocus = framed;
    for (CGridImpl* impl : m_impls)
        impl->OnFocusChanged(hasFocus() || framed);
}

void CGridWnd::UpdateCurrentCell()
{
    if (m_created) {
        if (CGridImpl* impl = GetCurrentImpl())
            impl->ScrollToCurrent();
        viewport()->update();
    }
    OnCurrentCellChanged(m_currentRow, m_currentColumn);
}

CGridWnd::CRow* CGridWnd::GetCurrentRowObject() const
{
    if (m_currentRow < 0 || m_currentColumn < 0)
        return nullptr;
    return m_cache.Find(m_currentRow);
}

bool CGridWnd::GetCurrentCellText(std::string* text) const
{
    const CRow* row = GetCurrentRowObject();
    if (!row || m_currentColumn >= row->ColumnCount())
        return false;
    *text = row->texts[static_cast<size_t>(m_currentColumn)];
    return true;
}

void CGridWnd::SetCurrentCellText(std::string_view text)
{
    CRow* row = GetCurrentRowObject();
    if (row && m_currentColumn < row->ColumnCount())
        row->texts[static_cast<size_t>(m_currentColumn)] = std::string(text);
}

bool CGridWnd::GetCellRect(int row, int column, QRect* rect) const
{
    const CGridImpl* impl = GetCurrentImpl();
    return impl && impl->GetCellRect(row, column, rect);
}

CGridImpl* CGridWnd::GetImpl(int index) const
{
    return index >= 0 && index < GetImplCount() ? m_impls[static_cast<size_t>(index)] : nullptr;
}

CGridImpl* CGridWnd::GetCurrentImpl() const
{
    return GetImpl(m_currentImpl);
}

void CGridWnd::SetScrollBar(
    Qt::Orientation orientation, int maximum, int pageStep, int singleStep)
{
    QScrollBar* bar
        = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    m_settingScroll = true;
    bar->setRange(0, std::max(maximum, 0));
    bar->setPageStep(std::max(pageStep, 1));
    bar->setSingleStep(std::max(singleStep, 1));
    m_settingScroll = false;
    m_lastH = horizontalScrollBar()->value();
    m_lastV = verticalScrollBar()->value();
}

void CGridWnd::SetScrollPosition(Qt::Orientation orientation, int position)
{
    QScrollBar* bar
        = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    m_settingScroll = true;
    bar->setValue(position);
    m_settingScroll = false;
    m_lastH = horizontalScrollBar()->value();
    m_lastV = verticalScrollBar()->value();
}

int CGridWnd::ScrollPosition(Qt::Orientation orientation) const
{
    return orientation == Qt::Horizontal ? horizontalScrollBar()->value()
                                         : verticalScrollBar()->value();
}

GridFontMetrics CGridWnd::MeasureFont(const QFont& font)
{
    const QFontMetrics metrics(font);
    const QFontInfo info(font);
    GridFontMetrics measured;
    measured.height = metrics.height();
    measured.maxCharWidth = metrics.maxWidth();
    measured.trueType = QFontDatabase::isScalable(info.family(), info.styleName());
    return measured;
}

int CGridWnd::WheelScrollLines()
{
    const int lines = QApplication::wheelScrollLines();
    return lines > 0 ? lines : 3;
}

void CGridWnd::ReloadColors()
{
    for (CGridImpl* impl : m_impls)
        impl->ReloadColors();
    viewport()->update();
}

} // namespace grid
