#include "tools/cli/cli.h"

#include "platform/file_system.h"
#include "resources/table_resources.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

using testing_support::TableBuilder;
using testing_support::TempDir;

struct Result
{
    int code;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test
{
protected:
    CliTest() { resources::InstallEnglishResources(); }

    Result Run(const std::vector<std::string>& args, const std::string& input = "")
    {
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        const int code = cli::Run(args, platform::FileSystem::Default(), { in, out, err });
        return { code, out.str(), err.str() };
    }

    // NAME C20, SUM N12.2; four records, one deleted, one blank.
    std::string People()
    {
        TableBuilder b;
        b.Field("NAME", 'C', 20).Field("SUM", 'N', 12, 2);
        b.Record(std::string(20, ' ').replace(0, 4, "Ivan") + "       12.50");
        b.Record(std::string(20, ' ').replace(0, 4, "Petr") + "        1.00", true);
        b.Record("");
        b.Record(std::string(20, ' ').replace(0, 4, "Anna") + "      300.00");
        b.Write(dir.File("people.dbf"));
        return dir.File("people.dbf");
    }

    TempDir dir;
};

TEST_F(CliTest, InfoListsHeaderAndFields)
{
    const auto r = Run({ "info", People() });
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Version:        0x03\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Records:        4\n"), std::string::npos);
    EXPECT_NE(r.out.find("Header length:  97\n"), std::string::npos);
    EXPECT_NE(r.out.find("Record length:  33\n"), std::string::npos);
    EXPECT_NE(r.out.find("Code page:      0\n"), std::string::npos);
    EXPECT_NE(r.out.find("  #    Name         Type         Len  Dec\n"
                         "  1  NAME           Character     20     0\n"
                         "  2  SUM            Numeric       12     2\n"),
              std::string::npos)
        << r.out;
}

TEST_F(CliTest, CountsRecordsThroughFiltersAsTheWindowsDo)
{
    const std::string file = People();
    EXPECT_EQ(Run({ "count", file }).out, "4\n");
    EXPECT_EQ(Run({ "count", file, "--deleted", "1" }).out, "3\n");
    EXPECT_EQ(Run({ "count", file, "--deleted", "2" }).out, "1\n");
    EXPECT_EQ(Run({ "count", file, "--blank", "1", "--deleted", "1" }).out, "2\n");
    EXPECT_EQ(Run({ "count", file, "--filter", "(SUM>10)" }).out, "2\n");
    EXPECT_EQ(Run({ "count", file, "--filter", "(AT('AN',UPPER(NAME))>0)" }).out, "2\n");

    const auto bad = Run({ "count", file, "--filter", "(NOPE=1)" });
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.err, "Invalid filter expression. Filter has not been set.\n");
    EXPECT_EQ(Run({ "count", file, "--deleted", "3" }).code, 2);
    EXPECT_EQ(Run({ "count", file, "--codepage", "437" }).code, 2);
}

TEST_F(CliTest, CyrillicFiltersReachDosTablesInTheirCodePage)
{
    TableBuilder b;
    b.Field("NAME", 'C', 6);
    b.Record("\x88\xa2\xa0\xad  "); // "Иван" in code page 866
    b.Record("\x8f\xa5\xe2\xe0  "); // "Петр"
    b.Write(dir.File("dos.dbf"));
    const std::string file = dir.File("dos.dbf");
    EXPECT_EQ(Run({ "detect-codepage", file }).out, "866\n");
    EXPECT_EQ(Run({ "count", file, "--filter", "(UPPER(NAME)='ИВАН  ')" }).out, "1\n");
    EXPECT_EQ(Run({ "count", file, "--codepage", "0", "--filter", "(UPPER(NAME)='ИВАН  ')" }).out, "0\n");
}

TEST_F(CliTest, CheckAndRepairAHeaderThatCountsTooManyRecords)
{
    TableBuilder b;
    b.Field("A", 'C', 10).Field("B", 'C', 5).Field("C", 'C', 8);
    for (int i = 0; i < 10; ++i)
        b.Record(std::to_string(i));
    b.RecordCount(12);
    b.Write(dir.File("t.dbf"));
    const std::string file = dir.File("t.dbf");

    const auto check = Run({ "check", file });
    EXPECT_EQ(check.code, 1);
    EXPECT_EQ(check.out.substr(0, 2), "5 ");

    const auto declined = Run({ "repair", file }, "n\n");
    EXPECT_EQ(declined.code, 1);
    EXPECT_NE(declined.out.find("is corrupted. Should it be fixed?"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("t.old")));

    const auto repaired = Run({ "repair", file, "--yes" });
    ASSERT_EQ(repaired.code, 0) << repaired.err;
    EXPECT_NE(repaired.out.find("has been saved as\n" + dir.File("t.old")), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir.File("t.old")));
    EXPECT_EQ(Run({ "check", file }).code, 0);
    EXPECT_EQ(Run({ "count", file }).out, "10\n");
    EXPECT_EQ(Run({ "repair", file }).out, "0 the header agrees with the file\nNothing to repair.\n");
}

TEST_F(CliTest, PackPrintsCountsBeforeAndAfter)
{
    const auto r = Run({ "pack", People() });
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Records before: 4\nRecords after:  3\n");
}

// The window's Delete All and Undelete All, from a terminal: only what differs is changed.
TEST_F(CliTest, DeleteAllAndUndeleteAllMarkThePassingRecords)
{
    const std::string file = People();
    auto r = Run({ "delete-all", file, "--filter", "(SUM>10)" });
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Marked for deletion: 2\n");
    EXPECT_EQ(Run({ "count", file, "--deleted", "2" }).out, "3\n");
    EXPECT_EQ(Run({ "delete-all", file }).out, "Marked for deletion: 1\n"); // the blank one
    EXPECT_EQ(Run({ "undelete-all", file }).out, "Unmarked: 4\n");
    EXPECT_EQ(Run({ "count", file, "--deleted", "2" }).out, "0\n");
    EXPECT_EQ(Run({ "delete-all", file, "--filter", "(NOPE=1)" }).code, 2);
}

// The Filter dialog's conditions from the command line, checked against the expressions
// the dialog builds and the records they pass.
TEST_F(CliTest, WhereConditionsFilterAsTheDialogDoes)
{
    TableBuilder b;
    b.Field("NAME", 'C', 10).Field("SUM", 'N', 8, 2).Field("DT", 'D', 8).Field("OK", 'L', 1);
    b.Record("Ivan         12.5020010203T");
    b.Record("ivanov      300.0019991231F");
    b.Record("Petr          1.0020010101T");
    b.Record("d'Arc        -5.00        F");
    b.Write(dir.File("w.dbf"));
    const std::string file = dir.File("w.dbf");
    auto count = [&](std::vector<std::string> args) {
        args.insert(args.begin(), { "count", file });
        const auto r = Run(args);
        EXPECT_EQ(r.code, 0) << r.err;
        return r.out;
    };
    EXPECT_EQ(count({ "--where", "NAME = Ivan", "--show-expression" }),
        "NAME='Ivan      '\n1\n");
    EXPECT_EQ(count({ "--where", "NAME = ivan", "--ignore-case" }), "1\n");
    EXPECT_EQ(count({ "--where", "NAME contains ivan", "--ignore-case" }), "2\n");
    EXPECT_EQ(count({ "--where", "NAME contains van" }), "2\n");
    EXPECT_EQ(count({ "--where", "NAME contains '", "--show-expression" }),
        "AT(\"'\",NAME)>0\n1\n");
    EXPECT_EQ(count({ "--where", "SUM > 10", "--where", "OK true" }), "1\n");
    EXPECT_EQ(count({ "--where", "SUM > 10", "--or", "--where", "OK true" }), "3\n");
    EXPECT_EQ(count({ "--where", "SUM < -1" }), "1\n");
    EXPECT_EQ(count({ "--where", "DT >= 01.01.2001", "--show-expression" }),
        "DTOC(DT)>='20010101'\n2\n");
    EXPECT_EQ(count({ "--where", "DT < 01.01.00" }), "2\n"); // 1999 and the blank date
    EXPECT_EQ(count({ "--where", "OK false", "--deleted", "1" }), "2\n");

    // What the dialog refuses.
    auto refused = [&](std::vector<std::string> args) {
        args.insert(args.begin(), { "count", file });
        const auto r = Run(args);
        EXPECT_EQ(r.code, 2) << r.out;
        return r.err;
    };
    EXPECT_EQ(refused({ "--where", "DT = 1.2.2001" }), "lumetta-cli: Invalid format: --where 'DT = 1.2.2001'\n");
    EXPECT_EQ(refused({ "--where", "SUM = 1e5" }).substr(0, 27), "lumetta-cli: Invalid format");
    EXPECT_EQ(refused({ "--or", "--where", "OK true" }),
        "lumetta-cli: Invalid filter expression. Filter has not been set.\n");
    EXPECT_EQ(refused({ "--where", "OK true", "--or" }).substr(13, 7), "Invalid");
    EXPECT_NE(refused({ "--where", "OK = T" }).find("not offered"), std::string::npos);
    EXPECT_NE(refused({ "--where", "NOPE = 1" }).find("no field NOPE"), std::string::npos);
    EXPECT_NE(refused({ "--where", "SUM = 1", "--filter", "SUM>1" }).find("do not go together"),
        std::string::npos);
}

// Cyrillic conditions reach a DOS table in its own code page and a Windows one as they are.
TEST_F(CliTest, CyrillicConditionsInBothCodePages)
{
    const std::string ivan1251 = "\xC8\xE2\xE0\xED"; // "Иван"
    std::string ivan866 = "\x88\xa2\xa0\xad";
    for (const auto& [byte, text] : { std::pair<std::uint8_t, std::string> { 0x65, ivan866 },
             std::pair<std::uint8_t, std::string> { 0xC9, ivan1251 } }) {
        TableBuilder b;
        b.CodePageByte(byte).Field("NAME", 'C', 8);
        b.Record(text).Record("Other");
        b.Write(dir.File("cyr.dbf"));
        EXPECT_EQ(Run({ "count", dir.File("cyr.dbf"), "--where", "NAME = ИВАН", "--ignore-case" }).out,
            "1\n")
            << int(byte);
        EXPECT_EQ(Run({ "count", dir.File("cyr.dbf"), "--where", "NAME contains ва" }).out, "1\n")
            << int(byte);
    }
}

// Find from a terminal: the cells as a table window shows and matches them.
TEST_F(CliTest, FindPrintsEveryMatchingCellOfTheShownRows)
{
    TableBuilder b;
    b.CodePageByte(0x65).Field("NAME", 'C', 8).Field("SUM", 'N', 7, 2).Field("DT", 'D', 8)
        .Field("OK", 'L', 1);
    b.Record(std::string("\x88\xa2\xa0\xad    ") + "  12.50" + "20010203" + "T"); // Иван
    b.Record(std::string("Petr    ") + "  31.12" + "19991231" + "F", true);
    b.Record(std::string(" abc    ") + "   2.00" + "        " + "T");
    b.Write(dir.File("f.dbf"));
    const std::string file = dir.File("f.dbf");
    auto r = Run({ "find", file, "иван" });
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "1\t1\tNAME\tИван\n");
    r = Run({ "find", file, "31.12" });
    EXPECT_EQ(r.out, "2\t2\tSUM\t31.12\n2\t2\tDT\t31.12.1999\n");
    EXPECT_EQ(Run({ "find", file, "31.12", "--date-format", "0" }).out, "2\t2\tSUM\t31.12\n");
    EXPECT_EQ(Run({ "find", file, "31.12", "--deleted", "1" }).code, 1);
    EXPECT_EQ(Run({ "find", file, "true", "--column", "OK" }).out, "1\t1\tOK\ttrue\n3\t3\tOK\ttrue\n");
    EXPECT_EQ(Run({ "find", file, "abc", "--whole-word" }).out, "3\t3\tNAME\t abc\n");
    EXPECT_EQ(Run({ "find", file, "ABC", "--case-sensitive" }).code, 1);
    EXPECT_EQ(Run({ "find", file, "2", "--where", "SUM < 10" }).out, "1\t3\tSUM\t2.00\n"); // row 1 of those shown
    EXPECT_EQ(Run({ "find", file }).code, 2);
    EXPECT_EQ(Run({ "find", file, "x", "--column", "NOPE" }).code, 2);
    EXPECT_EQ(Run({ "find", file, "x", "--date-format", "7" }).code, 2);
}

TEST_F(CliTest, PackWithoutTheMemoFileSaysWhichFileIsMissing)
{
    const std::string file = dir.File("dbase_83_missing_memo.dbf");
    std::filesystem::copy_file(LUMETTA_TEST_DATA "/real/infused-dbf/dbase_83_missing_memo.dbf", file);
    const auto before = testing_support::ReadAllBytes(file);
    EXPECT_EQ(Run({ "count", file }).out, "67\n");
    const auto r = Run({ "pack", file });
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "lumetta-cli: " + file + ": cannot pack the table: The memo file "
                  + dir.File("dbase_83_missing_memo.dbt")
                  + " is missing or damaged. The table cannot be packed without it.\n");
    EXPECT_EQ(testing_support::ReadAllBytes(file), before);
}

TEST_F(CliTest, BadCommandLinesExitWithOneLine)
{
    const std::string file = People();
    for (const auto& args : std::vector<std::vector<std::string>> {
             {}, { "frobnicate", file }, { "count", file, "--nope" }, { "count" },
             { "count", file, "--filter" }, { "info", dir.File("missing.dbf") }, { "info", file, file } }) {
        const auto r = Run(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_EQ(Run({ "--help" }).code, 0);
    const auto help = Run({ "count", "--help" });
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("--deleted"), std::string::npos);
    const auto notTable = Run({ "info", dir.Path() + "../" });
    EXPECT_EQ(notTable.code, 2);
}

TEST_F(CliTest, RealTablesFromOtherPrograms)
{
    const std::string data = LUMETTA_TEST_DATA "/real/";
    EXPECT_EQ(Run({ "count", data + "xsharp/TEST10K.DBF" }).out, "10000\n");
    EXPECT_EQ(Run({ "count", data + "dbffile/PYACFL.DBF", "--deleted", "1" }).out, "15\n");
    EXPECT_EQ(Run({ "detect-codepage", data + "php-xbase/cbrf_122019N1.dbf" }).out, "866\n");
    const auto info = Run({ "info", data + "infused-dbf/dbase_03.dbf" });
    EXPECT_EQ(info.code, 0) << info.err;
    EXPECT_NE(info.out.find("Fields:         31\n"), std::string::npos);
    const auto refused = Run({ "info", data + "infused-dbf/dbase_31.dbf" });
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("unknown version byte"), std::string::npos);
}

} // namespace

namespace {

// The Save As commands' own checks, and the code page set as the dialog does with its box
// ticked: written only when it changes, a failed guess exiting 1.
TEST_F(CliTest, SaveCommandsAndTheCodePage)
{
    const std::string people = People();
    auto r = Run({ "export", people, dir.File("a.txt"), "--fields", "SUM,NAME", "--deleted", "1",
        "--separator", ";" });
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "3\n");
    const auto bytes = testing_support::ReadAllBytes(dir.File("a.txt"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()).substr(0, 39),
        "\"       12.50\";\"Ivan                \"\r\n");
    EXPECT_EQ(Run({ "export", people, dir.File("a.txt"), "--fields", "NOPE" }).code, 2);
    EXPECT_EQ(Run({ "export", people, dir.File("a.txt"), "--csv", "--left", "'" }).code, 2);
    EXPECT_EQ(Run({ "export", people, people }).code, 2); // onto the table itself
    EXPECT_EQ(Run({ "save-as", people, dir.File("b.txt") }).code, 2);
    r = Run({ "save-as", people, dir.File("b.dbf"), "--where", "NAME not-empty" });
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "3\n");

    auto byte29 = [&] { return testing_support::ReadAllBytes(people).at(29); };
    r = Run({ "set-codepage", people, "866" });
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "866\n");
    EXPECT_EQ(byte29(), 0x65);
    EXPECT_EQ(Run({ "set-codepage", people, "0" }).out, "0\n");
    EXPECT_EQ(byte29(), 0x00);
    r = Run({ "set-codepage", people, "auto" }); // only ASCII: no guess
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "0\n");
    EXPECT_NE(r.err.find("Codepage autodetection failed"), std::string::npos);
    EXPECT_EQ(Run({ "set-codepage", people, "437" }).code, 2);
}

TEST_F(CliTest, SchemaTestPrintsTheFirstFaultOfTheDirectorysSchema)
{
    auto write = [&](const std::string& text) {
        testing_support::WriteAllBytes(
            dir.File("DEFAULT.SCH"), std::vector<std::uint8_t>(text.begin(), text.end()));
    };
    write("[Table : GOODS]\r\nRelation{GROUPS} = GROUPID\r\n");
    Result r = Run({ "schema-test", dir.Path() });
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "Table GOODS has references to an absent table GROUPS.\n");
    write("[Table : GOODS]\r\nRelation{GROUPS} = GROUPID\r\n[Table : GROUPS]\r\nKey = ID\r\n"
          "Name = DESCR\r\n");
    r = Run({ "schema-test", dir.Path() });
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "No errors found.\n");

    std::filesystem::remove(dir.File("DEFAULT.SCH"));
    r = Run({ "schema-test", dir.Path() });
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("no default.sch"), std::string::npos) << r.err;
    EXPECT_EQ(Run({ "schema-test", dir.File("nothing") }).code, 2);
}

} // namespace
