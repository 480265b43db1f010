#include "tablegrid/table_grid.h"

#include "grid/def_grid_impl.h"
#include "grid/form_grid_impl.h"
#include "platform/code_page.h"
#include "platform/utf8.h"
#include "table/date_format.h"
#include "table/field_codec.h"
#include "table/field_value.h"
#include "table/table.h"
#include "table/table_database.h"

#include <algorithm>

namespace tablegrid {
namespace {

table::DateFormat DateFormatOf(int index)
{
    return table::DateFormatFromNumber(index).value_or(table::kDefaultDateFormat);
}

// The grid column type of a field: the five letters the grid knows, F numeric, any other
// letter shown as text. Columns of other letters are never edited.
int GridTypeOf(const LayoutColumn& column, bool* readOnly)
{
    *readOnly = false;
    if (column.schemaDescribed)
        return grid::CFormatGrid::kSchemaDescribed;
    switch (column.type) {
    case 'C': return grid::CFormatGrid::kCharacter;
    case 'L': return grid::CFormatGrid::kLogical;
    case 'N': return grid::CFormatGrid::kNumeric;
    case 'D': return grid::CFormatGrid::kDate;
    case 'M': return grid::CFormatGrid::kMemo;
    case 'F':
        *readOnly = true;
        return grid::CFormatGrid::kNumeric;
    default:
        *readOnly = true;
        return grid::CFormatGrid::kCharacter;
    }
}

std::string TrimRight(std::string text)
{
    const auto end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

} // namespace

CTableGrid::CTableGrid(QWidget* parent)
    : grid::CFormatGrid(parent)
    , m_courier(QStringLiteral("Courier New"), 10)
{
    SetBooleanTexts("", "true", "false");
    SetDateFormatIndex(4);
}

CTableGrid::~CTableGrid()
{
    ReleaseTable();
}

void CTableGrid::ReleaseTable()
{
    if (m_table && !m_ownedTable && m_owner)
        m_owner->ReturnTable(m_tablePath, m_table);
    m_ownedTable.reset();
    m_table = nullptr;
}

bool CTableGrid::Create(const std::string& windowName, const grid::GridImageList* imageList,
                        int viewMode)
{
    m_viewMode = viewMode;
    setObjectName(QString::fromUtf8(windowName.data(), static_cast<qsizetype>(windowName.size())));
    m_tabular = std::make_unique<grid::CDefGridImpl>();
    m_form = std::make_unique<grid::CFormGridImpl>();
    AddImpl(m_tabular.get());
    AddImpl(m_form.get());
    return grid::CFormatGrid::Create(imageList, viewMode < GetImplCount() ? viewMode : 0);
}

bool CTableGrid::OpenTable(const std::string& path, table::TableDatabase* database)
{
    ReleaseTable();
    m_tablePath = path;
    m_changes.Clear();
    auto opened = std::make_unique<table::CTable>(database);
    if (!database || !opened->Open(path, true)) {
        // Paths are the system's UTF-8; the message is the program's 1251 text.
        Notify(1, platform::Utf8ToAnsi(path), {});
        return false;
    }
    m_ownedTable = std::move(opened);
    m_table = m_ownedTable.get();
    m_layout = LayoutOfOpenTable();
    ResetFilter();
    LoadBookmarks();
    if (IsCreated()) {
        BuildColumns();
        ResetRowCount();
    }
    return true;
}

bool CTableGrid::ReopenTable(table::TableDatabase* database)
{
    const FilterNode root = m_root;
    const int deletionMode = m_deletionMode;
    const int emptinessMode = m_emptinessMode;
    const ColumnLayout layout = m_layout;
    const bool bookmarksChanged = m_bookmarks.Changed();
    const BookmarkMap::Map bookmarks = m_bookmarks.All();
    if (!OpenTable(m_tablePath, database))
        return false;
    // The same fields, in any order: the window's order and visibility stay, with what the
    // schema says now.
    ColumnLayout fresh = m_layout;
    auto names = [](ColumnLayout columns) {
        std::vector<std::string> list;
        for (const LayoutColumn& column : columns)
            list.push_back(column.name);
        std::sort(list.begin(), list.end());
        return list;
    };
    if (names(fresh) == names(layout)) {
        m_layout = layout;
        for (LayoutColumn& column : m_layout) {
            for (const LayoutColumn& now : fresh) {
                if (now.name == column.name) {
                    column.title = now.title;
                    column.schemaDescribed = now.schemaDescribed;
                    column.nameField = now.nameField;
                }
            }
        }
        if (IsCreated())
            BuildColumns();
    }
    if (bookmarksChanged)
        m_bookmarks.Replace(bookmarks, true); // still to be saved
    m_root = root;
    SetFilterModes(deletionMode, emptinessMode);
    ApplyFilter();
    return true;
}

void CTableGrid::AttachTable(const std::string& path, table::CTable* table, TableOwner* owner)
{
    ReleaseTable();
    m_owner = owner;
    m_tablePath = path;
    m_table = table;
    if (owner && owner->OwnerMode() == 1)
        m_ownedTable.reset(table);
    m_changes.Clear();
    m_layout = m_table && m_table->IsOpen() ? LayoutOfOpenTable() : ColumnLayout();
    ResetFilter();
    LoadBookmarks();
    if (IsCreated()) {
        BuildColumns();
        ResetRowCount();
    }
}

bool CTableGrid::HasOpenTable() const
{
    return m_table && m_table->IsOpen();
}

void CTableGrid::SetViewMode(int mode)
{
    m_viewMode = mode;
    if (mode >= 0 && mode < GetImplCount())
        SelectImpl(mode);
}

void CTableGrid::AutofitColumns()
{
    static_cast<grid::CDefGridImpl*>(m_tabular.get())->AutofitColumns();
}

bool CTableGrid::FindTableSchema()
{
    m_hasSchema = HasOpenTable() && m_table->Database()
        && m_table->Database()->FindTable(m_table->Name()) != nullptr;
    return m_hasSchema;
}

ColumnLayout CTableGrid::LayoutOfOpenTable()
{
    ColumnLayout layout = LayoutFromTable(*m_table);
    if (FindTableSchema()) {
        // A copy: relations open tables of the database, which may load more of the schema.
        const schema::SchemaTable entry = *m_table->Database()->FindTable(m_table->Name());
        ApplyTableSchema(entry, *m_table, &layout);
    }
    return layout;
}

void CTableGrid::BuildColumns()
{
    ClearColumns();
    m_gridLayout.clear();
    m_gridFields.clear();
    m_gridRelated.clear();
    for (std::size_t i = 0; i < m_layout.size(); ++i) {
        const LayoutColumn& column = m_layout[i];
        if (!column.visible)
            continue;
        bool readOnly = false;
        const int type = GridTypeOf(column, &readOnly);
        const RelatedName related = m_table ? ResolveRelatedName(*m_table, column) : RelatedName();
        int width = column.type == 'D' && !column.schemaDescribed ? 10 : column.width;
        // A name is as wide as the related table's name field, not as the key it stands for.
        if (related.target)
            width = std::max(width, related.nameWidth);
        InsertColumn(static_cast<int>(m_gridLayout.size()), column.Title(), type, width,
                     related.target ? 0 : column.decimals, 0, readOnly);
        m_gridLayout.push_back(static_cast<int>(i));
        m_gridFields.push_back(m_table ? m_table->FieldIndex(column.name) : -1);
        m_gridRelated.push_back(related);
    }
    EnsureRowsCached(-1, -1);
}

void CTableGrid::RefreshRows(bool flush)
{
    // A full refresh shows the file as it is now, should another program have changed it.
    if (flush && m_table)
        m_table->ForgetReadAhead();
    Notify(8, {}, {});
    Refresh(flush);
    Notify(9, {}, {});
}

void CTableGrid::SetDateFormat(int index)
{
    SetDateFormatIndex(index);
    RefreshRows(true);
}

int CTableGrid::Notify(int, const std::string&, const std::string&)
{
    return 1;
}

std::string CTableGrid::GetAbsentText() const
{
    return {};
}

void CTableGrid::ReloadAbsentText()
{
    m_absentText = GetAbsentText();
}

void CTableGrid::OnGridCreated()
{
    grid::CFormatGrid::OnGridCreated();
    // The cache window from the screen height, so rows can be filled before the first paint.
    if (Cache().Capacity() <= 0)
        SetCacheSize(0, 0);
    SetEditorsFont(m_courier, true);
    if (HasOpenTable()) {
        BuildColumns();
        ResetRowCount();
    }
    m_absentText = GetAbsentText();
}

std::string CTableGrid::DisplayOfPendingText(const LayoutColumn& column, const std::string& stored) const
{
    std::string text = stored;
    table::TableToAnsi(text, m_table->CodePage(), true);
    if (column.type == 'D')
        text = table::StoredDateToDisplay(text, DateFormatOf(GetDateFormatIndex()));
    return text;
}

std::string CTableGrid::CellText(
    const LayoutColumn& column, int fieldIndex, const RelatedName& related) const
{
    if (fieldIndex < 0)
        return m_absentText;
    if (related.target)
        return RelatedNameText(related, DateFormatOf(GetDateFormatIndex()));
    const table::FieldValue value = m_table->GetValue(fieldIndex, true);
    return TrimRight(value.DisplayText(column.decimals, DateFormatOf(GetDateFormatIndex())));
}

std::string CTableGrid::BlankCellText(const LayoutColumn& column, int fieldIndex) const
{
    if (fieldIndex < 0 || fieldIndex >= m_table->FieldCount())
        return m_absentText;
    const table::FieldLayout& field = m_table->Fields()[static_cast<std::size_t>(fieldIndex)];
    const std::vector<std::uint8_t> blank(field.width, ' ');
    const table::FieldValue value = table::ReadFieldValue(field.def, blank.data());
    return TrimRight(value.DisplayText(column.decimals, DateFormatOf(GetDateFormatIndex())));
}

void CTableGrid::FillRow(int row, CRow* rowObject)
{
    if (!HasOpenTable())
        return;
    int record = 0;
    bool appended = false;
    if (PositionOnRow(row + 1)) {
        record = static_cast<int>(m_table->CurrentRecord());
    } else if (const auto append = m_changes.FindAppend(row)) {
        record = append->recordNumber;
        appended = true;
    } else {
        for (std::string& text : rowObject->texts)
            text = m_absentText;
        return;
    }

    const int columns = std::min<int>(rowObject->ColumnCount(), static_cast<int>(m_gridLayout.size()));
    const bool edited = m_changes.HasItemsOf(record);
    for (int c = 0; c < columns; ++c) {
        const LayoutColumn& column = m_layout[static_cast<std::size_t>(m_gridLayout[static_cast<std::size_t>(c)])];
        const auto edit = edited ? m_changes.NewestEditText(record, column.name) : std::nullopt;
        if (edit) {
            rowObject->texts[static_cast<std::size_t>(c)] = DisplayOfPendingText(column, std::string(*edit));
            rowObject->textColors[static_cast<std::size_t>(c)] = grid::kRedColor;
        } else if (!appended) {
            const auto at = static_cast<std::size_t>(c);
            rowObject->texts[at] = CellText(column, m_gridFields[at], m_gridRelated[at]);
        } else {
            // An appended record is blank until saved: it shows what a blank field shows.
            rowObject->texts[static_cast<std::size_t>(c)] = BlankCellText(column, m_gridFields[static_cast<std::size_t>(c)]);
        }
    }

    const bool deleted = !appended && m_table->IsDeleted();
    switch (m_changes.MarkOf(record)) {
    case PendingMark::kDeletePending:
        rowObject->imageIndex = 1;
        break;
    case PendingMark::kUndeletePending:
        rowObject->imageIndex = -1;
        break;
    case PendingMark::kNone:
        rowObject->imageIndex = deleted ? 0 : -1;
        break;
    }
    rowObject->rowData = std::make_unique<RecordRowData>(record);
}

int CTableGrid::RecordOfRow(int row) const
{
    const CRow* cached = FindCachedRow(row);
    if (!cached || !cached->rowData)
        return 0;
    return static_cast<const RecordRowData*>(cached->rowData.get())->recordNumber;
}

bool CTableGrid::ValidateCell(int row, int column, const std::string& text)
{
    if (m_editsLocked || !HasOpenTable())
        return false;
    if (!grid::CFormatGrid::ValidateCell(row, column, text))
        return false;
    CRow* cached = FindCachedRow(row);
    if (!cached || column < 0 || column >= cached->ColumnCount())
        return false;
    const std::string& current = cached->texts[static_cast<std::size_t>(column)];
    if (text == current)
        return true;
    const int layoutIndex = LayoutIndexOfGridColumn(m_layout, column);
    if (layoutIndex < 0)
        return false;
    const LayoutColumn& layoutColumn = m_layout[static_cast<std::size_t>(layoutIndex)];
    // A column showing related names holds keys the user never sees: it is not edited.
    if (layoutColumn.schemaDescribed)
        return false;

    PendingChange change;
    change.kind = PendingChange::Kind::kEditCell;
    change.row = row;
    change.column = column;
    change.recordNumber = RecordOfRow(row);
    change.fieldName = layoutColumn.name;
    change.oldText = current;
    change.newText = text;
    if (layoutColumn.type == 'D') {
        change.newText = table::DisplayDateToStored(text, DateFormatOf(GetDateFormatIndex()));
        // Only the empty text clears a date: a text that is no date is refused, not taken
        // for an empty one.
        if (change.newText.empty() && text.find_first_not_of(' ') != std::string::npos)
            return false;
    } else if (layoutColumn.type == 'L' && text != "true" && text != "false") {
        return false;
    }
    change.codePage = static_cast<int>(m_table->CodePage());
    if (table::IsOemCodePage(m_table->CodePage())) {
        platform::AnsiToOem(change.oldText);
        platform::AnsiToOem(change.newText);
    }
    if (!AddPendingChange(std::move(change), true))
        return false;
    // Saving at the change limit refreshes the rows: the cached row may be a new one.
    if (CRow* shown = FindCachedRow(row); shown && column < shown->ColumnCount())
        shown->textColors[static_cast<std::size_t>(column)] = grid::kRedColor;
    return true;
}

} // namespace tablegrid
