#include "tablegrid/table_wnd_grid.h"

#include "platform/file_system.h"
#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tablegrid/operations/companion_index.h"
#include "platform/utf8.h"

#include <QApplication>
#include <QGuiApplication>

namespace tablegrid {
namespace {

using platform::FormatText;
using platform::LoadString;

// Boxes of the table operations: errors with the stop icon, questions with the question icon.
// A box raised in the middle of a long operation (a search that found nothing) shows the
// usual cursor, not the operation's wait cursor.
int AskBox(const std::string& text, platform::PromptButtons buttons, platform::PromptIcon icon)
{
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = platform::AskUser(text, buttons, icon);
    if (waiting)
        QGuiApplication::restoreOverrideCursor();
    return answer;
}

// The wait cursor for the length of a scope.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

CTableWndGrid::CTableWndGrid(TableWindowHost* host, QWidget* parent)
    : CTableGrid(parent)
    , m_host(host)
{
}

void CTableWndGrid::ShowMain(int pane, const std::string& text)
{
    if (m_host)
        m_host->ShowMainStatus(pane, text);
}

// Progress of a long operation: every report is taken, but the status bar is repainted at
// most every 50 ms, and with the last report when the operation ends (Notify 9). A report
// is worded only when it is shown: an operation over millions of rows makes a hundred
// thousand of them.
void CTableWndGrid::ShowProgress(int code, const std::string& text1, const std::string& text2)
{
    if (m_progress.Offer(code, text1, text2))
        ShowMain(0, ProgressText(code, text1, text2));
}

void CTableWndGrid::ShowHeldProgress()
{
    if (const std::optional<ProgressReport> last = m_progress.Finish())
        ShowMain(0, ProgressText(last->code, last->text1, last->text2));
}

std::string CTableWndGrid::ProgressText(int code, const std::string& text1,
    const std::string& text2)
{
    switch (code) {
    case 2:
        return FormatText(LoadString(IDS_SETTING_FILTER), { text1, text2 });
    case 3:
        return FormatText(LoadString(IDS_SEARCHING), { text1 });
    case 4:
        return FormatText(LoadString(IDS_DELETING_RECORDS), { text1, text2 });
    case 5:
        return FormatText(LoadString(IDS_UNDELETING_RECORDS), { text1, text2 });
    case 7:
        return FormatText(LoadString(IDS_SAVING_TO_TEXT), { text1 });
    default:
        return {};
    }
}

int CTableWndGrid::Notify(int code, const std::string& text1, const std::string& text2)
{
    using platform::PromptButtons;
    using platform::PromptIcon;
    switch (code) {
    case 0:
        return AskBox(LoadString(IDS_INVALID_FILTER), PromptButtons::kOk, PromptIcon::kStop);
    case 1:
        return AskBox(FormatText(LoadString(IDS_OPEN_TABLE_ERROR), { text1 }), PromptButtons::kOk,
                   PromptIcon::kStop);
    case 2:
    case 3:
    case 4:
    case 5:
    case 7:
        ShowProgress(code, text1, text2);
        return 1;
    case 8:
        // A long operation that refreshes the rows at its end: its last report first.
        ShowHeldProgress();
        ShowMain(0, LoadString(IDS_REFRESHING_VIEW));
        return 1;
    case 9:
        ShowHeldProgress();
        ShowMain(0, LoadString(IDS_IDLE_MESSAGE));
        return 1;
    case 10:
        return AskBox(LoadString(IDS_INCORRECT_RECORD_NUMBER), PromptButtons::kOk, PromptIcon::kStop);
    case 11:
        return AskBox(LoadString(IDS_RECORD_OUTSIDE_FILTER), PromptButtons::kOkCancel,
                   PromptIcon::kQuestion);
    case 12:
        return AskBox(FormatText(LoadString(IDS_SAVE_CHANGES_QUESTION), { text1 }),
                   PromptButtons::kYesNoCancel, PromptIcon::kQuestion);
    case 13:
        return AskBox(LoadString(IDS_TOO_MANY_CHANGES), PromptButtons::kOkCancel, PromptIcon::kQuestion);
    case 14:
        return AskBox(FormatText(LoadString(IDS_STRING_NOT_FOUND), { text1 }), PromptButtons::kOk,
                   PromptIcon::kStop);
    default: // 6: saving starts; nothing to show
        return 1;
    }
}

std::string CTableWndGrid::GetAbsentText() const
{
    return LoadString(IDS_ABSENT);
}

void CTableWndGrid::RefreshRows(bool)
{
    WaitCursor wait;
    CTableGrid::RefreshRows(true);
}

bool CTableWndGrid::SaveChanges(bool byRecordNumber, table::CTable* target)
{
    const bool pending = HasPendingChanges();
    if (!CTableGrid::SaveChanges(byRecordNumber, target)) {
        AskBox(LoadString(IDS_SAVE_DATA_ERROR), platform::PromptButtons::kOk,
            platform::PromptIcon::kStop);
        return false;
    }
    if (pending && (!target || target == GetTable()))
        OfferToDeleteIndexFile();
    OnPendingChangesChanged();
    return true;
}

// Another program's index of the table does not know the records just written.
void CTableWndGrid::OfferToDeleteIndexFile()
{
    table::CTable* table = GetTable();
    if (!table || !table->Database() || !m_host)
        return;
    platform::FileSystem& fs = table->Database()->FileSystem();
    const std::optional<std::string> index = FindCompanionIndex(fs, table->TablePath());
    if (!index || !m_host->AskDeleteIndexFile(platform::Utf8ToAnsi(table->TablePath())))
        return;
    if (fs.Remove(*index))
        AskBox(LoadString(IDS_INDEX_DELETED), platform::PromptButtons::kOk,
            platform::PromptIcon::kInformation);
    else
        AskBox(LoadString(IDS_INDEX_DELETE_ERROR), platform::PromptButtons::kOk,
            platform::PromptIcon::kStop);
}

bool CTableWndGrid::ConfirmMarkAll(bool deleteAll, bool filtered)
{
    const int text = deleteAll ? (filtered ? IDS_DELETE_FILTERED_QUESTION : IDS_DELETE_ALL_QUESTION)
                               : (filtered ? IDS_UNDELETE_FILTERED_QUESTION : IDS_UNDELETE_ALL_QUESTION);
    return AskBox(LoadString(text), platform::PromptButtons::kYesNo, platform::PromptIcon::kQuestion)
        == platform::IDYES;
}

// The question first, with the usual cursor; the wait cursor for the work.
void CTableWndGrid::MarkAll(bool deleteAll)
{
    if (!HasOpenTable() || !ConfirmMarkAll(deleteAll, !AllRowsShown()))
        return;
    WaitCursor wait;
    MarkAllConfirmed(deleteAll);
}

bool CTableWndGrid::SaveAsTable(const std::string& path)
{
    if (CTableGrid::SaveAsTable(path)) {
        OnPendingChangesChanged();
        return true;
    }
    // Declining the options dialog saves nothing, and is no failure to report.
    if (SaveAsCancelled())
        return false;
    AskBox(FormatText(LoadString(IDS_UNABLE_TO_SAVE_AS), { platform::Utf8ToAnsi(path) }),
        platform::PromptButtons::kOk, platform::PromptIcon::kStop);
    return false;
}

bool CTableWndGrid::AskSaveOptions(bool* allColumns, bool* allRecords)
{
    const table::CTable* table = GetTable();
    return !m_host || !table || m_host->AskSaveOptions(table->Name(), allColumns, allRecords);
}

bool CTableWndGrid::PackTable()
{
    table::CTable* table = GetTable();
    if (!HasOpenTable())
        return false;
    using platform::PromptButtons;
    using platform::PromptIcon;
    // A pack carries the memo texts along: without the memo file it cannot be done, and the
    // user learns that before being asked anything.
    if (table->MemoUnavailable()) {
        AskBox(FormatText(LoadString(IDS_MEMO_FILE_MISSING), { platform::Utf8ToAnsi(table->MemoFilePath()) }),
            PromptButtons::kOk, PromptIcon::kStop);
        return false;
    }
    if (HasPendingChanges()
        && AskBox(LoadString(IDS_SAVE_BEFORE_PACK), PromptButtons::kOkCancel, PromptIcon::kQuestion)
            == platform::IDOK
        && !SaveChanges(true, nullptr))
        return false;
    const std::string name = platform::Utf8ToAnsi(table->Name());
    if (AskBox(FormatText(LoadString(IDS_PACK_QUESTION), { name }), PromptButtons::kYesNo,
            PromptIcon::kQuestion)
        != platform::IDYES)
        return false;
    bool packed = false;
    {
        WaitCursor wait;
        ShowMain(0, LoadString(IDS_PACKING_TABLE));
        packed = CTableGrid::PackTable();
        ShowMain(0, LoadString(IDS_IDLE_MESSAGE));
    }
    if (!packed) {
        AskBox(FormatText(LoadString(IDS_PACK_FAILED), { name }), PromptButtons::kOk,
            PromptIcon::kStop);
        return false;
    }
    // Another program's index of the table knows records that are gone now.
    OfferToDeleteIndexFile();
    return true;
}

int CTableWndGrid::Requery()
{
    const std::string saved = m_host ? m_host->MainStatusText(0) : std::string();
    const std::string total = GetTable() ? std::to_string(GetTable()->RecordCount()) : "0";
    ShowMain(0, ProgressText(2, "0", total));
    const int rows = CTableGrid::Requery();
    ShowHeldProgress();
    ShowMain(0, saved);
    return rows;
}

bool CTableWndGrid::Find(const std::string& findText, const std::string& columnTitle,
    int direction, SearchFlags flags, bool showNotFound)
{
    WaitCursor wait;
    return CTableGrid::Find(findText, columnTitle, direction, flags, showNotFound);
}

int CTableWndGrid::ReplaceAll(const std::string& findText, const std::string& replaceText,
    const std::string& columnTitle, SearchFlags flags)
{
    WaitCursor wait;
    return CTableGrid::ReplaceAll(findText, replaceText, columnTitle, flags);
}

void CTableWndGrid::OnPendingChangesChanged()
{
    CTableGrid::OnPendingChangesChanged();
    if (m_host)
        m_host->UpdateFrameTitle();
}

void CTableWndGrid::OnCurrentCellChanged(int row, int column)
{
    CTableGrid::OnCurrentCellChanged(row, column);
    std::string cell;
    std::string record;
    if (row >= 0 && column >= 0) {
        // The current row is about to be shown; fill it now so its record number is known
        // (otherwise a fresh window would say "Record 0").
        if (!FindCachedRow(row) && HasOpenTable())
            EnsureRowsCached(row, row);
        cell = FormatText(LoadString(IDS_CELL_POSITION),
                          { row + 1, GetRowCount(), column + 1, GetColumnCount() });
        const long long count = GetTable() ? static_cast<long long>(GetTable()->RecordCount()) : 0;
        record = FormatText(LoadString(IDS_RECORD_POSITION), { RecordOfRow(row), count });
    }
    if (m_host) {
        m_host->ShowFrameStatus(0, cell);
        m_host->ShowFrameStatus(1, record);
    }
}

void CTableWndGrid::OnEditCaretMoved(int position)
{
    CTableGrid::OnEditCaretMoved(position);
    const auto* column = GetColumn(GetCurrentColumn());
    if (!column || column->type != kCharacter)
        return;
    ShowMain(1, position >= column->width
                    ? LoadString(IDS_CARET_END)
                    : FormatText(LoadString(IDS_CARET_POSITION), { position + 1, column->width }));
}

void CTableWndGrid::OnCellEdited(int row, int column)
{
    CTableGrid::OnCellEdited(row, column);
    ShowMain(1, {});
}

bool CTableWndGrid::ValidateCell(int row, int column, const std::string& text)
{
    if (!CTableGrid::ValidateCell(row, column, text))
        return false;
    if (HasPendingChanges())
        OnPendingChangesChanged();
    return true;
}

} // namespace tablegrid
