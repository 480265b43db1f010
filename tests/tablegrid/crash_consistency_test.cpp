// Every operation that rewrites a user's files, stopped dead at each step it takes on the
// file system (as a crash or a power cut would stop it), and failed at each write with a
// full disk or an input/output error. Afterwards each of the user's files must be the old
// file or the complete new one, byte for byte, and nothing may be left but our own
// temporary files; an operation that reports a failure must leave the old files exactly.

#include "platform/profile_file.h"
#include "schema/database_schema.h"
#include "table/dbf_file.h"
#include "table/header_repair.h"
#include "table/memo_file.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tablegrid/operations/change_saver.h"
#include "tablegrid/operations/pending_change.h"
#include "tablegrid/operations/table_saver.h"
#include "tests/support/crashing_file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <map>
#include <optional>
#include <set>

namespace {

using testing_support::CrashingFileSystem;
using testing_support::ReadAllBytes;
using testing_support::TableBuilder;
using testing_support::TempDir;
using Bytes = std::vector<std::uint8_t>;
// The user's files by name; no entry for a file that does not exist.
using Files = std::map<std::string, Bytes>;

std::string Right(const std::string& text, std::size_t width)
{
    return std::string(width - text.size(), ' ') + text;
}

// A memo table name.dbf / name.dbt: ID C2, NOTE M10, records a..e, b and d deleted.
void WriteMemoTable(const std::string& dir, const std::string& name, std::uint8_t version,
                    table::MemoForm form)
{
    table::MemoFile memo(platform::FileSystem::Default());
    ASSERT_TRUE(memo.Create(dir + name + ".dbt", form, 512, name));
    TableBuilder b;
    b.Version(version).Field("ID", 'C', 2).Field("NOTE", 'M', 10);
    for (char id : std::string("abcde")) {
        std::uint32_t block = 0;
        ASSERT_TRUE(memo.AppendText(std::string(id == 'e' ? 700 : 3, id), &block));
        b.Record(std::string(1, id) + " " + Right(std::to_string(block), 10), id == 'b' || id == 'd');
    }
    b.Write(dir + name + ".dbf");
}

Files ReadUserFiles(const std::string& dir, const std::vector<std::string>& names)
{
    Files files;
    for (const std::string& name : names) {
        if (platform::FileSystem::Default().Exists(dir + name))
            files[name] = ReadAllBytes(dir + name);
    }
    return files;
}

// Temporary names of ours: the pack's, the save's, the repair's and the whole-file
// replacement's.
bool OurTemporaryName(const std::string& name)
{
    const bool replacement = name.size() > 5 && name.compare(name.size() - 5, 5, ".new~") == 0;
    return name.rfind("TMPXB", 0) == 0 || name.rfind(".lumetta-", 0) == 0 || replacement
        || name == table::CDBFFile::kRepairFileName || name == "TmpIndex";
}

// An operation on the files of a folder: `setUp` writes the old files with the real file
// system, `run` does the work through the given one and tells whether it reports success.
struct Operation
{
    const char* what;
    std::vector<std::string> userFiles;
    std::function<void(const std::string& dir)> setUp;
    std::function<bool(platform::FileSystem& fs, const std::string& dir)> run;
};

class CrashConsistencyTest : public ::testing::Test
{
protected:
    // Runs `op` stopped at every step and failed at every write, checking the files each time.
    static void CheckEveryStep(const Operation& op)
    {
        SCOPED_TRACE(op.what);
        Files before;
        Files after;
        std::set<std::string> afterNames;
        int steps = 0;
        {
            TempDir dir;
            op.setUp(dir.Path());
            before = ReadUserFiles(dir.Path(), op.userFiles);
            CrashingFileSystem fs;
            ASSERT_TRUE(op.run(fs, dir.Path())) << "the operation fails without any fault";
            steps = fs.steps;
            after = ReadUserFiles(dir.Path(), op.userFiles);
            for (const std::string& name : platform::FileSystem::Default().List(dir.Path()))
                afterNames.insert(name);
        }
        ASSERT_NE(before, after) << "the operation changes nothing";
        ASSERT_GT(steps, 2);

        for (int n = 1; n <= steps; ++n) {
            TempDir dir;
            op.setUp(dir.Path());
            CrashingFileSystem fs;
            fs.crashAt = n;
            (void)op.run(fs, dir.Path());
            for (const std::string& name : op.userFiles) {
                const Files now = ReadUserFiles(dir.Path(), { name });
                const auto was = before.find(name);
                const auto will = after.find(name);
                const bool asBefore = now.count(name) ? was != before.end() && was->second == now.at(name)
                                                      : was == before.end();
                const bool asAfter = now.count(name) ? will != after.end() && will->second == now.at(name)
                                                     : will == after.end();
                EXPECT_TRUE(asBefore || asAfter) << name << " after a stop at step " << n << " of " << steps;
            }
            for (const std::string& name : platform::FileSystem::Default().List(dir.Path())) {
                EXPECT_TRUE(afterNames.count(name) || OurTemporaryName(name))
                    << name << " left after a stop at step " << n;
            }
        }

        for (const int error : { ENOSPC, EIO }) {
            for (int n = 1; n <= steps; ++n) {
                TempDir dir;
                op.setUp(dir.Path());
                std::vector<std::string> namesBefore = platform::FileSystem::Default().List(dir.Path());
                CrashingFileSystem fs;
                fs.failWriteAt = n;
                fs.writeError = error;
                const bool succeeded = op.run(fs, dir.Path());
                const Files now = ReadUserFiles(dir.Path(), op.userFiles);
                EXPECT_EQ(now, succeeded ? after : before)
                    << (succeeded ? "a success" : "a failure") << " with error " << error
                    << " at step " << n << " did not leave the files it reports";
                if (succeeded)
                    continue;
                std::vector<std::string> namesNow = platform::FileSystem::Default().List(dir.Path());
                std::erase(namesNow, "TmpIndex");
                std::erase(namesBefore, "TmpIndex");
                std::sort(namesNow.begin(), namesNow.end());
                std::sort(namesBefore.begin(), namesBefore.end());
                EXPECT_EQ(namesNow, namesBefore) << "a failure with error " << error << " at step "
                                                 << n << " left files behind";
            }
        }
    }
};

Operation Pack(std::uint8_t version, table::MemoForm form, const char* what)
{
    return { what, { "t.dbf", "t.dbt" },
             [=](const std::string& dir) { WriteMemoTable(dir, "t", version, form); },
             [](platform::FileSystem& fs, const std::string& dir) {
                 table::TableDatabase database(fs);
                 table::CTable t(&database);
                 return database.SetDatabaseDirectory(dir) && t.Open(dir + "t.dbf", false) && t.Pack();
             } };
}

TEST_F(CrashConsistencyTest, PackInBothMemoForms)
{
    CheckEveryStep(Pack(0x83, table::MemoForm::kDbase3, "pack, dBASE III memo"));
    CheckEveryStep(Pack(0x8B, table::MemoForm::kDbase4, "pack, dBASE IV memo"));
}

TEST_F(CrashConsistencyTest, HeaderRepairAndItsReplacement)
{
    CheckEveryStep({ "header repair", { "t.dbf", "t.old" },
        [](const std::string& dir) {
            TableBuilder b;
            b.Field("NAME", 'C', 8).Field("SUM", 'N', 5);
            for (int i = 0; i < 20; ++i)
                b.Record("name" + std::to_string(i) + "   " + std::to_string(i));
            b.RecordCount(7).Write(dir + "t.dbf"); // the count disagrees with the file
        },
        [](platform::FileSystem& fs, const std::string& dir) {
            std::string repaired;
            {
                table::CDBFFile check(fs, dir + "t.dbf");
                if (!table::CDBFFile::IsRecoverable(check.Result()) || !check.Repair(dir, &repaired))
                    return false;
            }
            return table::ReplaceWithRepaired(fs, dir + "t.dbf", repaired).Succeeded();
        } });
}

TEST_F(CrashConsistencyTest, SaveAsOverAnExistingTable)
{
    for (const bool whole : { true, false }) {
        CheckEveryStep({ whole ? "save as, whole copy" : "save as, subset",
            { "t.dbf", "t.dbt", "old.dbf", "old.dbt" },
            [](const std::string& dir) {
                WriteMemoTable(dir, "t", 0x83, table::MemoForm::kDbase3);
                WriteMemoTable(dir, "old", 0x8B, table::MemoForm::kDbase4);
            },
            [whole](platform::FileSystem& fs, const std::string& dir) {
                table::TableDatabase database(fs);
                table::CTable source(&database);
                if (!database.SetDatabaseDirectory(dir) || !source.Open(dir + "t.dbf", false))
                    return false;
                tablegrid::TableSaver saver(fs);
                const auto result = whole ? saver.Copy(source, dir + "old.dbf")
                                          : saver.Subset(source, { 1, 0 }, true, dir + "old.dbf");
                return result == tablegrid::TableSaver::Result::kSaved && saver.Commit();
            } });
    }
}

TEST_F(CrashConsistencyTest, SchemaAndSettingsFiles)
{
    CheckEveryStep({ "schema save", { "default.sch" },
        [](const std::string& dir) {
            testing_support::WriteAllBytes(dir + "default.sch", Bytes(300, ';'));
        },
        [](platform::FileSystem& fs, const std::string& dir) {
            schema::DatabaseSchema db(fs, dir);
            db.AddTable("GOODS").description = "Goods";
            db.AddTable("UNITS").keyFields = { "ID" };
            return db.SaveSchema("default.sch");
        } });
    CheckEveryStep({ "settings write", { "Lumetta.ini" },
        [](const std::string& dir) {
            const std::string text = "[Settings]\r\nFontHeight=-12\r\n[T]\r\nk=old\r\n";
            testing_support::WriteAllBytes(dir + "Lumetta.ini", Bytes(text.begin(), text.end()));
        },
        [](platform::FileSystem& fs, const std::string& dir) {
            platform::ProfileFile profile(fs, dir + "Lumetta.ini");
            return profile.WriteString("T", "k", "new value");
        } });
}

// Saving edits writes them in place, each edit and each mark with one write: whatever
// happens, every field and every deletion mark holds its old or its new value whole (a stop
// between two edits of one record leaves one of them written), and the changes not written
// stay pending.
TEST_F(CrashConsistencyTest, SavingChangesInPlace)
{
    constexpr int kRecords = 40;
    // The deletion flag, NAME and N: offset and width in the record.
    constexpr std::pair<int, int> kParts[] = { { 0, 1 }, { 1, 6 }, { 7, 4 } };
    TableBuilder b;
    b.Field("NAME", 'C', 6).Field("N", 'N', 4);
    for (int k = 1; k <= kRecords; ++k)
        b.Record(Right(std::to_string(k), 6) + Right(std::to_string(k), 4));
    auto edit = [](int record, const char* field, const std::string& text) {
        tablegrid::PendingChange change;
        change.recordNumber = record;
        change.row = record - 1;
        change.fieldName = field;
        change.newText = text;
        return change;
    };
    auto fill = [&](tablegrid::PendingChangeList& changes) {
        for (int k = 3; k <= kRecords; k += 4) {
            changes.Append(edit(k, "NAME", "edit" + std::to_string(k)));
            changes.Append(edit(k, "N", "9"));
        }
        tablegrid::PendingChange mark;
        mark.kind = tablegrid::PendingChange::Kind::kMarkDeleted;
        mark.recordNumber = 2;
        changes.Append(mark);
    };
    auto save = [&](platform::FileSystem& fs, const std::string& dir, tablegrid::PendingChangeList& changes) {
        table::TableDatabase database(fs);
        table::CTable t(&database);
        if (!database.SetDatabaseDirectory(dir) || !t.Open(dir + "t.dbf", false))
            return false;
        return tablegrid::ChangeSaver::Save(changes, t, true).allWritten;
    };
    auto recordsOf = [&](const Bytes& file) {
        std::vector<Bytes> records;
        const std::size_t length = b.TrueRecordLength();
        for (std::size_t at = b.TrueHeaderLength(); at + length <= file.size(); at += length)
            records.emplace_back(file.begin() + static_cast<std::ptrdiff_t>(at),
                                 file.begin() + static_cast<std::ptrdiff_t>(at + length));
        return records;
    };

    TempDir reference;
    b.Write(reference.File("t.dbf"));
    const std::vector<Bytes> before = recordsOf(ReadAllBytes(reference.File("t.dbf")));
    CrashingFileSystem counting;
    tablegrid::PendingChangeList all;
    fill(all);
    ASSERT_TRUE(save(counting, reference.Path(), all));
    const std::vector<Bytes> after = recordsOf(ReadAllBytes(reference.File("t.dbf")));
    ASSERT_EQ(after.size(), before.size());

    for (int n = 1; n <= counting.steps; ++n) {
        for (const int mode : { 0, ENOSPC, EIO }) {
            TempDir dir;
            b.Write(dir.File("t.dbf"));
            CrashingFileSystem fs;
            if (mode == 0) {
                fs.crashAt = n;
            } else {
                fs.failWriteAt = n;
                fs.writeError = mode;
            }
            tablegrid::PendingChangeList changes;
            fill(changes);
            (void)save(fs, dir.Path(), changes);
            const std::vector<Bytes> now = recordsOf(ReadAllBytes(dir.File("t.dbf")));
            ASSERT_EQ(now.size(), before.size()) << "step " << n << ", mode " << mode;
            for (std::size_t i = 0; i < now.size(); ++i) {
                const int record = static_cast<int>(i) + 1;
                for (const auto& [first, width] : kParts) {
                    auto part = [&](const Bytes& r) { return Bytes(r.begin() + first, r.begin() + first + width); };
                    EXPECT_TRUE(part(now[i]) == part(before[i]) || part(now[i]) == part(after[i]))
                        << "record " << record << " at byte " << first << " is neither old nor new after step "
                        << n << ", mode " << mode;
                }
                if (mode == 0 || before[i] == after[i])
                    continue;
                // A record not wholly written keeps changes pending; a written one has none.
                const bool pending = changes.HasItemsOf(record)
                    || changes.MarkOf(record) != tablegrid::PendingMark::kNone;
                EXPECT_EQ(pending, now[i] != after[i])
                    << "record " << record << " after a failed write at step " << n << ", mode " << mode;
            }
        }
    }
}

} // namespace
