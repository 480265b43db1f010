#include "table/table.h"

#include "platform/file_system.h"
#include "table/dbf_create.h"
#include "table/memo_file.h"
#include "table/table_database.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using table::CTable;
using table::DbfError;
using table::MemoFile;
using table::MemoForm;
using table::TableDatabase;
using testing_support::ReadAllBytes;
using testing_support::TableBuilder;
using testing_support::TempDir;

std::string Right(const std::string& text, std::size_t width)
{
    return std::string(width - text.size(), ' ') + text;
}

class TablePackTest : public ::testing::Test
{
protected:
    // A memo table: ID C2, NOTE M10; records a..e with texts, b and d marked deleted, c with
    // no memo. The files are name.dbf and name.dbt, or name.DBF and name.DBT when `upper`.
    void WriteMemoTable(std::uint8_t version, MemoForm form, const std::string& name,
                        bool upper = false)
    {
        MemoFile memo(platform::FileSystem::Default());
        ASSERT_TRUE(memo.Create(dir.File(name + (upper ? ".DBT" : ".dbt")), form, 512, name));
        TableBuilder b;
        b.Version(version).Field("ID", 'C', 2).Field("NOTE", 'M', 10);
        for (char id : std::string("abcde")) {
            std::uint32_t block = 0;
            std::string ref(10, ' ');
            if (id != 'c') {
                ASSERT_TRUE(memo.AppendText(std::string(id == 'e' ? 700 : 3, id), &block));
                ref = Right(std::to_string(block), 10);
            }
            b.Record(std::string(1, id) + " " + ref, id == 'b' || id == 'd');
        }
        b.Write(dir.File(name + (upper ? ".DBF" : ".dbf")));
    }

    // `name` is the memo file's base name, or its whole file name when it has a '.'.
    std::string MemoTextOf(CTable& t, std::uint32_t record, MemoForm form, const std::string& name)
    {
        const std::string memoName = name.find('.') == std::string::npos ? name + ".dbt" : name;
        EXPECT_TRUE(t.GoTo(record));
        const std::string ref = t.GetValue(1, false).text;
        if (ref.find_first_not_of(' ') == std::string::npos)
            return "<none>";
        MemoFile memo(platform::FileSystem::Default());
        EXPECT_TRUE(memo.Open(dir.File(memoName), form));
        std::string text;
        EXPECT_TRUE(memo.ReadText(static_cast<std::uint32_t>(std::stoul(ref)), &text));
        return text;
    }

    TempDir dir;
    TableDatabase database { platform::FileSystem::Default() };
};

TEST_F(TablePackTest, DropsMarkedRecordsAndKeepsTheCodePageByte)
{
    ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
    TableBuilder b;
    b.CodePageByte(0x65).Field("A", 'C', 2).Record("1").Record("2", true).Record("3").Record("4", true);
    b.Write(dir.File("t.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    ASSERT_TRUE(t.Pack());
    EXPECT_EQ(t.RecordCount(), 2u);
    ASSERT_TRUE(t.GoTo(2));
    EXPECT_EQ(t.GetValue(0, false).text, "3 ");
    EXPECT_EQ(t.CodePage(), table::CodePageId::k866);
    const auto bytes = ReadAllBytes(dir.File("t.dbf"));
    EXPECT_EQ(bytes.size(), 32u + 32 + 1 + 2 * 3 + 1);
    EXPECT_EQ(bytes[29], 0x65);
    EXPECT_EQ(bytes.back(), 0x1A);
    EXPECT_EQ(platform::FileSystem::Default().List(dir.Path()).size(), 1u);
}

TEST_F(TablePackTest, CarriesMemoTextsInBothForms)
{
    ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
    const struct
    {
        std::uint8_t version;
        MemoForm form;
        const char* name;
    } cases[] = { { 0x83, MemoForm::kDbase3, "three" }, { 0x8B, MemoForm::kDbase4, "four" } };
    for (const auto& c : cases) {
        WriteMemoTable(c.version, c.form, c.name);
        CTable t(&database);
        ASSERT_TRUE(t.Open(c.name, false)) << table::DbfErrorText(t.LastFileError());
        ASSERT_TRUE(t.Pack()) << table::DbfErrorText(t.LastFileError());
        ASSERT_EQ(t.RecordCount(), 3u);
        EXPECT_EQ(MemoTextOf(t, 1, c.form, c.name), "aaa");
        EXPECT_EQ(MemoTextOf(t, 2, c.form, c.name), "<none>");
        EXPECT_EQ(MemoTextOf(t, 3, c.form, c.name), std::string(700, 'e'));
        // Two texts of 3 bytes and one of 700: the new memo file holds 1 + 1 + 2 blocks.
        MemoFile memo(platform::FileSystem::Default());
        ASSERT_TRUE(memo.Open(dir.File(std::string(c.name) + ".dbt"), c.form));
        EXPECT_EQ(memo.NextFreeBlock(), 4u);
    }
}

// A table and memo opened through links are packed where the links lead: the links stay
// links, naming the packed files, which keep the permissions of the files they replace. A
// link to the table alone finds the memo beside it.
TEST_F(TablePackTest, ATableOpenedThroughLinksIsPackedWhereTheyLead)
{
    namespace fs = std::filesystem;
    ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
    fs::create_directory(dir.File("real"));
    WriteMemoTable(0x83, MemoForm::kDbase3, "real/t");
    fs::create_symlink("real/t.dbf", dir.File("l.dbf"));
    fs::create_symlink(dir.File("real/t.dbt"), dir.File("l.dbt"));
    testing_support::SetModeOf(dir.File("real/t.dbf"), 0664);
    testing_support::SetModeOf(dir.File("real/t.dbt"), 0600);
    CTable t(&database);
    ASSERT_TRUE(t.Open("l", false));
    ASSERT_TRUE(t.Pack()) << table::DbfErrorText(t.LastFileError());
    EXPECT_EQ(t.RecordCount(), 3u);
    EXPECT_EQ(MemoTextOf(t, 3, MemoForm::kDbase3, "l"), std::string(700, 'e'));
    EXPECT_TRUE(fs::is_symlink(dir.File("l.dbf")));
    EXPECT_TRUE(fs::is_symlink(dir.File("l.dbt")));
    EXPECT_EQ(testing_support::ModeOf(dir.File("real/t.dbf")), 0664); // shared as they were
    EXPECT_EQ(testing_support::ModeOf(dir.File("real/t.dbt")), 0600);
    t.Close();
    CTable real(&database);
    ASSERT_TRUE(real.Open(dir.File("real/t.dbf"), false));
    EXPECT_EQ(real.RecordCount(), 3u);
    EXPECT_EQ(MemoTextOf(real, 1, MemoForm::kDbase3, "real/t"), "aaa");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.File("real")))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string> { "t.dbf", "t.dbt" }));
    real.Close();

    // A link to the table alone: the memo file is the one beside the table.
    fs::create_symlink("real/t.dbf", dir.File("only.dbf"));
    CTable only(&database);
    ASSERT_TRUE(only.Open("only", false));
    EXPECT_FALSE(only.MemoUnavailable());
    ASSERT_TRUE(only.GoTo(1));
    ASSERT_TRUE(only.DeleteCurrent());
    ASSERT_TRUE(only.Pack()) << table::DbfErrorText(only.LastFileError());
    EXPECT_EQ(only.RecordCount(), 2u);
    EXPECT_EQ(MemoTextOf(only, 2, MemoForm::kDbase3, "real/t"), std::string(700, 'e'));
    EXPECT_FALSE(fs::exists(dir.File("only.dbt")));
}

TEST_F(TablePackTest, TemporaryNamesAreTheUsualOnesWhenFree)
{
    testing_support::FaultyFileSystem logging;
    TableDatabase loggingDatabase(logging);
    ASSERT_TRUE(loggingDatabase.SetDatabaseDirectory(dir.Path()));
    WriteMemoTable(0x83, MemoForm::kDbase3, "t");
    CTable t(&loggingDatabase);
    ASSERT_TRUE(t.Open("t", false));
    ASSERT_TRUE(t.Pack());
    EXPECT_EQ(logging.renameLog, (std::vector<std::string> { "t.dbt -> TMPXBASE.OLD",
                                                             "TMPXBASE.DBT -> t.dbt",
                                                             "TMPXBASE.DBF -> t.dbf" }));
    EXPECT_EQ(platform::FileSystem::Default().List(dir.Path()).size(), 2u);
}

TEST_F(TablePackTest, FilesThatHoldTheTemporaryNamesAreNeverTouched)
{
    // What an interrupted pack of another program may leave, or a user's own tables.
    WriteMemoTable(0x83, MemoForm::kDbase3, "TMPXBASE", true);
    testing_support::WriteAllBytes(dir.File("TMPXBASE.OLD"), { 'o', 'l', 'd' });
    testing_support::WriteAllBytes(dir.File("TMPXBAS1.DBF"), { 'o', 'n', 'e' });
    const auto userTable = ReadAllBytes(dir.File("TMPXBASE.DBF"));
    const auto userMemo = ReadAllBytes(dir.File("TMPXBASE.DBT"));
    WriteMemoTable(0x83, MemoForm::kDbase3, "t");
    const auto expectUserFiles = [&](const std::string& what) {
        EXPECT_EQ(ReadAllBytes(dir.File("TMPXBASE.DBF")), userTable) << what;
        EXPECT_EQ(ReadAllBytes(dir.File("TMPXBASE.DBT")), userMemo) << what;
        EXPECT_EQ(ReadAllBytes(dir.File("TMPXBASE.OLD")), (std::vector<std::uint8_t> { 'o', 'l', 'd' }))
            << what;
        EXPECT_EQ(ReadAllBytes(dir.File("TMPXBAS1.DBF")), (std::vector<std::uint8_t> { 'o', 'n', 'e' }))
            << what;
        EXPECT_EQ(platform::FileSystem::Default().List(dir.Path()).size(), 6u) << what;
    };

    // Failures at each rename clean up only what the pack made.
    testing_support::FaultyFileSystem faulty;
    TableDatabase faultyDatabase(faulty);
    ASSERT_TRUE(faultyDatabase.SetDatabaseDirectory(dir.Path()));
    for (int nth = 1; nth <= 3; ++nth) {
        CTable t(&faultyDatabase);
        ASSERT_TRUE(t.Open("t", false));
        faulty.failRenameNumber = faulty.renames + nth;
        EXPECT_FALSE(t.Pack()) << "rename " << nth;
        faulty.failRenameNumber = 0;
        expectUserFiles("rename " + std::to_string(nth));
    }

    ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    ASSERT_TRUE(t.Pack()) << table::DbfErrorText(t.LastFileError());
    EXPECT_EQ(t.RecordCount(), 3u);
    EXPECT_EQ(MemoTextOf(t, 3, MemoForm::kDbase3, "t"), std::string(700, 'e'));
    expectUserFiles("after the pack");
}

TEST_F(TablePackTest, ATableNamedLikeTheTemporaryTablePacks)
{
    ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
    WriteMemoTable(0x83, MemoForm::kDbase3, "TMPXBASE", true);
    CTable t(&database);
    ASSERT_TRUE(t.Open("TMPXBASE", false));
    ASSERT_TRUE(t.Pack()) << table::DbfErrorText(t.LastFileError());
    ASSERT_EQ(t.RecordCount(), 3u);
    EXPECT_EQ(MemoTextOf(t, 1, MemoForm::kDbase3, "TMPXBASE.DBT"), "aaa");
    EXPECT_EQ(MemoTextOf(t, 2, MemoForm::kDbase3, "TMPXBASE.DBT"), "<none>");
    EXPECT_EQ(MemoTextOf(t, 3, MemoForm::kDbase3, "TMPXBASE.DBT"), std::string(700, 'e'));
    EXPECT_EQ(platform::FileSystem::Default().List(dir.Path()).size(), 2u);

    // Without a memo file as well.
    TableBuilder b;
    b.Field("A", 'C', 2).Record("1").Record("2", true).Record("3");
    b.Write(dir.File("TMPXBASE.DBF"));
    ASSERT_TRUE(platform::FileSystem::Default().Remove(dir.File("TMPXBASE.DBT")));
    CTable plain(&database);
    ASSERT_TRUE(plain.Open("TMPXBASE", false));
    ASSERT_TRUE(plain.Pack()) << table::DbfErrorText(plain.LastFileError());
    ASSERT_EQ(plain.RecordCount(), 2u);
    ASSERT_TRUE(plain.GoTo(2));
    EXPECT_EQ(plain.GetValue(0, false).text, "3 ");
    EXPECT_EQ(platform::FileSystem::Default().List(dir.Path()).size(), 1u);
}

TEST_F(TablePackTest, TablesWhoseMemoFileIsMissingOrDamagedOpenButDoNotPack)
{
    ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
    auto& fs = platform::FileSystem::Default();
    const auto expectRefused = [&](CTable& t, DbfError why, const std::string& what) {
        const auto names = fs.List(dir.Path());
        const auto table = ReadAllBytes(dir.File(t.Name() + ".dbf"));
        EXPECT_FALSE(t.Pack()) << what;
        EXPECT_EQ(t.LastFileError(), why) << what;
        EXPECT_EQ(ReadAllBytes(dir.File(t.Name() + ".dbf")), table) << what;
        EXPECT_EQ(fs.List(dir.Path()).size(), names.size()) << what;
        EXPECT_TRUE(t.IsOpen()) << what;
    };

    // A real table shipped without its memo file: every record reads, memo cells show
    // "<Memo>" from the block numbers the records hold.
    std::filesystem::copy_file(LUMETTA_TEST_DATA "/real/infused-dbf/dbase_83_missing_memo.dbf",
                               dir.File("missing.dbf"));
    CTable real(&database);
    ASSERT_TRUE(real.Open("missing", false)) << table::DbfErrorText(real.LastFileError());
    EXPECT_TRUE(real.MemoUnavailable());
    EXPECT_EQ(real.MemoError(), DbfError::kNoMemoFile);
    EXPECT_EQ(real.MemoFilePath(), dir.File("missing.dbt"));
    ASSERT_EQ(real.RecordCount(), 67u);
    const int desc = real.FieldIndex("DESC");
    ASSERT_TRUE(real.GoTo(1));
    EXPECT_EQ(real.GetValue(desc, false).DisplayText(0, table::kDefaultDateFormat), "<Memo>");
    std::uint32_t read = 0;
    for (bool ok = real.GoTop(); ok; ok = real.GoNext())
        ++read;
    EXPECT_EQ(read, 67u);
    expectRefused(real, DbfError::kNoMemoFile, "missing");

    // A memo file too short for its header.
    WriteMemoTable(0x83, MemoForm::kDbase3, "short");
    testing_support::WriteAllBytes(dir.File("short.dbt"), { 1, 0, 0, 0 });
    CTable damaged(&database);
    ASSERT_TRUE(damaged.Open("short", false));
    EXPECT_TRUE(damaged.MemoUnavailable());
    EXPECT_EQ(damaged.MemoError(), DbfError::kMemoTooShort);
    expectRefused(damaged, DbfError::kMemoTooShort, "short");
    EXPECT_EQ(ReadAllBytes(dir.File("short.dbt")), (std::vector<std::uint8_t> { 1, 0, 0, 0 }));

    // A memo file that serves its table.
    WriteMemoTable(0x83, MemoForm::kDbase3, "good");
    CTable good(&database);
    ASSERT_TRUE(good.Open("good", false));
    EXPECT_FALSE(good.MemoUnavailable());
    EXPECT_EQ(good.MemoError(), DbfError::kNone);
    EXPECT_EQ(good.MemoFilePath(), dir.File("good.dbt"));

    // A dBASE III table with an 8-byte binary double (B, one of the memo letters) and no
    // memo file, as some programs write them.
    TableBuilder binaryTable;
    binaryTable.Version(0x03).Field("ID", 'N', 4).Field("AMOUNT", 'B', 8);
    binaryTable.Record(std::string("   1") + std::string("\x00\x00\x00\x00\x00\x00\xF0\x3F", 8));
    binaryTable.Write(dir.File("double.dbf"));
    CTable built(&database);
    ASSERT_TRUE(built.Open("double", false)) << table::DbfErrorText(built.LastFileError());
    EXPECT_TRUE(built.MemoUnavailable());
    ASSERT_TRUE(built.GoTo(1));
    expectRefused(built, DbfError::kNoMemoFile, "double");

    // The real table of that kind, where the shared test data is at hand (its licence is
    // not stated, so it is not copied into the repository).
    const std::string numeric = LUMETTA_SHARED_DATA "/real/vscode-dbf/TestNumeric.dbf";
    if (std::filesystem::exists(numeric)) {
        std::filesystem::copy_file(numeric, dir.File("numeric.dbf"));
        CTable binary(&database);
        ASSERT_TRUE(binary.Open("numeric", false)) << table::DbfErrorText(binary.LastFileError());
        EXPECT_TRUE(binary.MemoUnavailable());
        EXPECT_EQ(binary.MemoFilePath(), dir.File("numeric.dbt"));
        expectRefused(binary, DbfError::kNoMemoFile, "numeric");
    }
}

TEST_F(TablePackTest, RefusesFoxProMemoTables)
{
    ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
    TableBuilder b;
    b.Version(0xF5).Field("N", 'M', 10).Record("         1", true);
    b.Write(dir.File("fox.dbf"));
    const auto before = ReadAllBytes(dir.File("fox.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("fox", false));
    EXPECT_FALSE(t.Pack());
    EXPECT_EQ(t.LastFileError(), DbfError::kMemoNotCarried);
    EXPECT_EQ(ReadAllBytes(dir.File("fox.dbf")), before);
}

TEST_F(TablePackTest, DamagedMemoReferencesLeaveTheFilesAlone)
{
    ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
    WriteMemoTable(0x83, MemoForm::kDbase3, "t");
    auto bytes = ReadAllBytes(dir.File("t.dbf"));
    const std::size_t firstRef = 32 * 3 + 1 + 1 + 2;
    bytes[firstRef + 8] = '9';
    bytes[firstRef + 9] = '9'; // block 99 of a 7-block memo file
    testing_support::WriteAllBytes(dir.File("t.dbf"), bytes);
    const auto memoBefore = ReadAllBytes(dir.File("t.dbt"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    EXPECT_FALSE(t.Pack());
    EXPECT_EQ(t.LastFileError(), DbfError::kMemoBlockPastEnd);
    EXPECT_EQ(ReadAllBytes(dir.File("t.dbf")), bytes);
    EXPECT_EQ(ReadAllBytes(dir.File("t.dbt")), memoBefore);
    EXPECT_EQ(platform::FileSystem::Default().List(dir.Path()).size(), 2u);
}

TEST_F(TablePackTest, FailuresAtAnyStepLeaveTheOriginals)
{
    testing_support::FaultyFileSystem faulty;
    TableDatabase faultyDatabase(faulty);
    ASSERT_TRUE(faultyDatabase.SetDatabaseDirectory(dir.Path()));
    WriteMemoTable(0x83, MemoForm::kDbase3, "t");
    const auto tableBefore = ReadAllBytes(dir.File("t.dbf"));
    const auto memoBefore = ReadAllBytes(dir.File("t.dbt"));
    auto expectOriginals = [&](const std::string& what) {
        EXPECT_EQ(ReadAllBytes(dir.File("t.dbf")), tableBefore) << what;
        EXPECT_EQ(ReadAllBytes(dir.File("t.dbt")), memoBefore) << what;
        EXPECT_EQ(platform::FileSystem::Default().List(dir.Path()).size(), 2u) << what;
    };

    for (int nth = 1; nth <= 8; ++nth) {
        CTable t(&faultyDatabase);
        ASSERT_TRUE(t.Open("t", false));
        faulty.failWriteFrom = faulty.writes + nth;
        EXPECT_FALSE(t.Pack()) << "write " << nth;
        faulty.failWriteFrom = 0;
        expectOriginals("write " + std::to_string(nth));
        EXPECT_TRUE(t.IsOpen());
    }
    for (int nth = 1; nth <= 3; ++nth) {
        CTable t(&faultyDatabase);
        ASSERT_TRUE(t.Open("t", false));
        faulty.failRenameNumber = faulty.renames + nth;
        EXPECT_FALSE(t.Pack()) << "rename " << nth;
        EXPECT_EQ(t.LastFileError(), DbfError::kRenameFailed);
        faulty.failRenameNumber = 0;
        expectOriginals("rename " + std::to_string(nth));
        EXPECT_TRUE(t.IsOpen());
        EXPECT_EQ(t.RecordCount(), 5u);
    }
    // A temporary file the directory refuses to create.
    for (const char* refused : { "TMPXBASE.DBF", "TMPXBASE.DBT", "TMPXBASE.OLD" }) {
        CTable t(&faultyDatabase);
        ASSERT_TRUE(t.Open("t", false));
        faulty.failOpenContaining = refused;
        EXPECT_FALSE(t.Pack()) << refused;
        EXPECT_EQ(t.LastFileError(), DbfError::kOpenFailed) << refused;
        faulty.failOpenContaining.clear();
        expectOriginals(refused);
        EXPECT_TRUE(t.IsOpen());
    }
}

} // namespace
