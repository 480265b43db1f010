#include "tablegrid/operations/record_commands.h"

#include "table/date_format.h"
#include "table/field_value.h"
#include "table/table.h"

namespace tablegrid {

namespace {

using Kind = PendingChange::Kind;

std::string TrimRight(std::string text)
{
    const auto end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

} // namespace

RecordCommands::RecordCommands(RecordCommandHost& host, PendingChangeList& changes)
    : m_host(host)
    , m_changes(changes)
{
}

// The record of a row (0 when there is none): a shown record, or the number an appended row
// will get.
int RecordCommands::RecordOfRow(int row, bool* appended)
{
    *appended = false;
    table::CTable* table = m_host.CommandTable();
    if (!table || !table->IsOpen() || row < 0 || row >= m_host.CommandRowCount())
        return 0;
    if (m_host.PositionOnRow(row + 1))
        return static_cast<int>(table->CurrentRecord());
    if (const auto append = m_changes.FindAppend(row)) {
        *appended = true;
        return append->recordNumber;
    }
    return 0;
}

bool RecordCommands::ShowsDeleted(int row)
{
    bool appended = false;
    const int record = RecordOfRow(row, &appended);
    if (record == 0)
        return false;
    switch (m_changes.MarkOf(record)) {
    case PendingMark::kDeletePending:
        return true;
    case PendingMark::kUndeletePending:
        return false;
    case PendingMark::kNone:
        break;
    }
    return !appended && m_host.CommandTable()->IsDeleted();
}

bool RecordCommands::Mark(int row, bool deleted)
{
    bool appended = false;
    const int record = RecordOfRow(row, &appended);
    if (record == 0)
        return false;
    if (m_changes.RemoveMark(deleted ? Kind::kMarkUndeleted : Kind::kMarkDeleted, record))
        return true;
    PendingChange change;
    change.kind = deleted ? Kind::kMarkDeleted : Kind::kMarkUndeleted;
    change.row = row;
    change.column = -1;
    change.recordNumber = record;
    change.codePage = static_cast<int>(m_host.CommandTable()->CodePage());
    return m_host.AddPendingChange(std::move(change), true);
}

bool RecordCommands::DeleteRecord(int row)
{
    return Mark(row, true);
}

bool RecordCommands::UndeleteRecord(int row)
{
    return Mark(row, false);
}

bool RecordCommands::ToggleDelete(int row)
{
    return ShowsDeleted(row) ? UndeleteRecord(row) : DeleteRecord(row);
}

bool RecordCommands::ReportsProgress(int index)
{
    if (index < 50)
        return true;
    if (index < 500)
        return (index + 1) % 10 == 1;
    return (index + 1) % 100 == 1;
}

void RecordCommands::MarkAll(bool deleteAll)
{
    table::CTable* table = m_host.CommandTable();
    if (!table || !table->IsOpen())
        return;
    const int code = deleteAll ? 4 : 5;
    const std::string rowCount = std::to_string(m_host.CommandRowCount());
    const Kind kind = deleteAll ? Kind::kMarkDeleted : Kind::kMarkUndeleted;
    const Kind opposite = deleteAll ? Kind::kMarkUndeleted : Kind::kMarkDeleted;
    const int codePage = static_cast<int>(table->CodePage());
    m_changes.BeginGroup();
    for (int i = 0; m_host.PositionOnRow(i + 1); ++i) {
        if (ReportsProgress(i))
            m_host.Notify(code, std::to_string(i), rowCount);
        const int record = static_cast<int>(table->CurrentRecord());
        if (m_changes.RemoveMark(opposite, record))
            continue;
        if (table->IsDeleted() == deleteAll)
            continue;
        PendingChange change;
        change.kind = kind;
        change.row = i;
        change.recordNumber = record;
        change.codePage = codePage;
        m_changes.Append(std::move(change));
        if (i == INT32_MAX - 1)
            break;
    }
    m_changes.EndGroup();
}

int RecordCommands::AppendRecord(bool copy, int sourceRow)
{
    table::CTable* table = m_host.CommandTable();
    if (!table || !table->IsOpen())
        return -1;
    const long long next = static_cast<long long>(table->RecordCount()) + 1 + m_changes.AppendCount();
    const int row = m_host.CommandRowCount();
    if (next > INT32_MAX || row == INT32_MAX)
        return -1;

    // What a copy takes: the source row's texts as the table keeps them (dates as YYYYMMDD),
    // read before anything is added; an appended source row gives its pending texts.
    std::vector<std::pair<std::string, std::string>> copied;
    if (copy) {
        bool appended = false;
        const int source = RecordOfRow(sourceRow, &appended);
        if (source == 0)
            return -1;
        for (int i = 0; i < table->FieldCount(); ++i) {
            const char type = table->FieldType(i);
            if (type == 'M')
                continue;
            const std::string name = table->FieldName(i);
            std::string text;
            if (const auto edit = m_changes.NewestEditText(source, name))
                text = std::string(*edit);
            else if (!appended)
                text = TrimRight(table->GetValue(i, false).DisplayText(
                    table->FieldDecimals(i), table::DateFormat::kYyyyMmDd));
            if (type == 'L' && text != "true")
                text = "false";
            copied.emplace_back(name, std::move(text));
        }
    }

    const int codePage = static_cast<int>(table->CodePage());
    m_changes.BeginGroup();
    PendingChange append;
    append.kind = Kind::kAppendRecord;
    append.row = row;
    append.column = -1;
    append.recordNumber = static_cast<int>(next);
    append.codePage = codePage;
    if (!m_host.AddPendingChange(std::move(append), true)) {
        m_changes.EndGroup();
        return -1;
    }
    for (auto& [name, text] : copied) {
        PendingChange edit;
        edit.kind = Kind::kEditCell;
        edit.row = row;
        edit.column = 0;
        edit.recordNumber = static_cast<int>(next);
        edit.fieldName = name;
        edit.newText = std::move(text);
        edit.codePage = codePage;
        if (!m_host.AddPendingChange(std::move(edit), true))
            break;
    }
    m_changes.EndGroup();
    return row;
}

} // namespace tablegrid
