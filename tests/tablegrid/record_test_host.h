#pragma once

#include "platform/file_system.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tablegrid/operations/record_commands.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tablegrid::test {

// A host of the record commands over a real table: the rows it shows are the records in
// `shown` (all of them unless a test narrows it, as a filter would), and it keeps what was
// reported and a change limit the way a table window does.
class RecordTestHost : public RecordCommandHost
{
public:
    RecordTestHost(table::CTable& table, PendingChangeList& changes)
        : m_table(table)
        , m_changes(changes)
    {
        for (std::uint32_t r = 1; r <= table.RecordCount(); ++r)
            shown.push_back(r);
    }

    table::CTable* CommandTable() override { return &m_table; }
    int CommandRowCount() const override
    {
        return static_cast<int>(shown.size()) + m_changes.AppendCount();
    }
    bool PositionOnRow(int row) override
    {
        if (row < 1 || row > static_cast<int>(shown.size()))
            return false;
        return m_table.GoTo(shown[static_cast<std::size_t>(row - 1)]);
    }
    bool AddPendingChange(PendingChange change, bool checkLimit) override
    {
        if (checkLimit && m_changes.Size() >= limit) {
            ++limitQuestions;
            if (!acceptAtLimit)
                return false;
        }
        m_changes.Append(std::move(change));
        return true;
    }
    int Notify(int code, const std::string& text1, const std::string& text2) override
    {
        notes.push_back(std::to_string(code) + ":" + text1 + ":" + text2);
        return 1;
    }

    std::vector<std::uint32_t> shown;
    std::vector<std::string> notes;
    std::size_t limit = PendingChangeList::kLimit;
    bool acceptAtLimit = false;
    int limitQuestions = 0;

private:
    table::CTable& m_table;
    PendingChangeList& m_changes;
};

// A table of `records` records (NAME C8, SUM N7.2, DT D8, OK L1, NOTE M10), every third
// one marked deleted in the file, opened in a fresh directory.
class RecordTableTest : public ::testing::Test
{
protected:
    void OpenTable(int records, bool withMemo = true)
    {
        testing_support::TableBuilder b;
        b.Field("NAME", 'C', 8).Field("SUM", 'N', 7, 2).Field("DT", 'D', 8).Field("OK", 'L', 1);
        if (withMemo)
            b.Field("NOTE", 'M', 10);
        for (int i = 1; i <= records; ++i) {
            std::string name = "Rec" + std::to_string(i);
            name.resize(8, ' ');
            std::string sum = std::to_string(i) + ".25";
            sum.insert(0, 7 - sum.size(), ' ');
            b.Record(name + sum + "20010203" + (i % 2 ? "T" : "F") + (withMemo ? "          " : ""),
                i % 3 == 0);
        }
        b.Version(withMemo ? 0x83 : 0x03).Write(dir.File("t.dbf"));
        if (withMemo)
            testing_support::WriteAllBytes(dir.File("t.dbt"), std::vector<std::uint8_t>(512, 0));
        ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
        ASSERT_TRUE(table.Open(dir.File("t.dbf"), false));
        host = std::make_unique<RecordTestHost>(table, changes);
    }

    bool DeletedInFile(std::uint32_t record)
    {
        return table.GoTo(record) && table.IsDeleted();
    }

    testing_support::TempDir dir;
    table::TableDatabase database { platform::FileSystem::Default() };
    table::CTable table { &database };
    PendingChangeList changes;
    std::unique_ptr<RecordTestHost> host;
};

} // namespace tablegrid::test
