#include "platform/file_system.h"
#include "schema/database_schema.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using schema::DatabaseSchema;
using schema::SchemaProblem;
using schema::SchemaProblemKind;
using schema::SchemaTable;
using testing_support::FaultyFileSystem;
using testing_support::ReadAllBytes;
using testing_support::TempDir;
using testing_support::WriteAllBytes;

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return { text.begin(), text.end() };
}

class DatabaseSchemaTest : public ::testing::Test
{
protected:
    TempDir dir;
    platform::FileSystem& fs = platform::FileSystem::Default();
    DatabaseSchema db { fs, dir.Path() };

    void WriteSchemaFile(std::string_view text, const std::string& name = "default.sch")
    {
        WriteAllBytes(dir.File(name), Bytes(text));
    }
};

TEST_F(DatabaseSchemaTest, LoadingMergesAndLaterBlocksReplace)
{
    db.AddTable("kept").description = "stays";
    db.AddTable("sc84").nameField = "OLD";
    WriteSchemaFile("[Table : sc84]\r\nKey = ID\r\n[TABLE:SC84]\r\nName = DESCR\r\n"
                    "[Table : New]\r\n");
    ASSERT_TRUE(db.LoadSchema("default.sch"));

    EXPECT_EQ(db.Tables().size(), 3u);
    EXPECT_EQ(db.FindTable("Kept")->description, "stays");
    const SchemaTable* sc84 = db.FindTable("sc84");
    ASSERT_NE(sc84, nullptr);
    EXPECT_TRUE(sc84->keyFields.empty()); // only the second block counts
    EXPECT_EQ(sc84->nameField, "DESCR");
    EXPECT_NE(db.FindTable("NEW"), nullptr);
}

TEST_F(DatabaseSchemaTest, LoadFindsTheFileInAnyCaseAndFailsWithoutChange)
{
    db.AddTable("A");
    EXPECT_FALSE(db.LoadSchema("default.sch"));
    WriteSchemaFile("[Table : B]\n", "DEFAULT.SCH");
    ASSERT_TRUE(db.LoadSchema("default.sch"));
    EXPECT_NE(db.FindTable("B"), nullptr);

    // A read that fails leaves nothing half-merged.
    FaultyFileSystem faulty;
    faulty.failReadFrom = 1;
    DatabaseSchema other(faulty, dir.Path());
    other.AddTable("A");
    EXPECT_FALSE(other.LoadSchema("default.sch"));
    EXPECT_EQ(other.Tables().size(), 1u);
}

TEST_F(DatabaseSchemaTest, LongFilesAreReadAcrossBlockBoundaries)
{
    // Enough tables that lines straddle the loader's read blocks; the last line has no end.
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "[Table : T" + std::to_string(i) + "]\r\nKey = K" + std::to_string(i) + "\r\n";
    text += "[Table : LAST]\r\nName = N";
    WriteSchemaFile(text);
    ASSERT_TRUE(db.LoadSchema("default.sch"));
    ASSERT_EQ(db.Tables().size(), 5001u);
    for (int i = 0; i < 5000; ++i) {
        const SchemaTable* t = db.FindTable("T" + std::to_string(i));
        ASSERT_NE(t, nullptr) << i;
        ASSERT_EQ(t->keyFields, std::vector<std::string> { "K" + std::to_string(i) });
    }
    EXPECT_EQ(db.FindTable("LAST")->nameField, "N");
}

TEST_F(DatabaseSchemaTest, SaveAndLoadRoundTripByteExact)
{
    SchemaTable& goods = db.AddTable("goods");
    goods = { "Goods list", { "ID", "CODE" }, "DESCR", { { "CODE", "Article" }, { "GONE", "" } },
        { { "GROUPS", "GROUPID" } } };
    SchemaTable& groups = db.AddTable("\xE3\xF0\xF3\xEF\xEF\xFB"); // "группы" in 1251
    groups.keyFields = { "ID" };
    ASSERT_TRUE(db.SaveSchema("default.sch"));
    const auto first = ReadAllBytes(dir.File("default.sch"));

    DatabaseSchema copy(fs, dir.Path());
    ASSERT_TRUE(copy.LoadSchema("default.sch"));
    goods.fieldDescriptions.erase("GONE"); // emptied descriptions are not read back
    EXPECT_EQ(copy.Tables(), db.Tables());
    EXPECT_NE(copy.FindTable("\xC3\xD0\xD3\xCF\xCF\xDB"), nullptr); // "ГРУППЫ"

    // Saving what was read gives the same bytes, less the emptied description.
    ASSERT_TRUE(copy.SaveSchema("copy.sch"));
    std::string expected(first.begin(), first.end());
    const std::string gone = "Descr{GONE} = \r\n";
    ASSERT_NE(expected.find(gone), std::string::npos);
    expected.erase(expected.find(gone), gone.size());
    EXPECT_EQ(ReadAllBytes(dir.File("copy.sch")), Bytes(expected));

    // An empty schema writes an empty file.
    DatabaseSchema empty(fs, dir.Path());
    ASSERT_TRUE(empty.SaveSchema("new.sch"));
    EXPECT_TRUE(ReadAllBytes(dir.File("new.sch")).empty());
}

TEST_F(DatabaseSchemaTest, FailedSaveLeavesTheOldFile)
{
    WriteSchemaFile("[Table : OLD]\r\n");
    FaultyFileSystem faulty;
    DatabaseSchema failing(faulty, dir.Path());
    failing.AddTable("NEW").description = "new";

    faulty.failWriteFrom = 1;
    EXPECT_FALSE(failing.SaveSchema("default.sch"));
    faulty.failWriteFrom = 0;
    faulty.failRenames = true;
    EXPECT_FALSE(failing.SaveSchema("default.sch"));
    faulty.failRenames = false;
    faulty.failOpenContaining = "default";
    EXPECT_FALSE(failing.SaveSchema("default.sch"));

    EXPECT_EQ(ReadAllBytes(dir.File("default.sch")), Bytes("[Table : OLD]\r\n"));
    EXPECT_EQ(fs.List(dir.Path()), std::vector<std::string> { "default.sch" });
}

TEST_F(DatabaseSchemaTest, SaveReplacesTheFileWhateverItsCase)
{
    WriteSchemaFile("[Table : OLD]\r\n", "Default.SCH");
    db.AddTable("NEW");
    ASSERT_TRUE(db.SaveSchema("default.sch"));
    EXPECT_EQ(fs.List(dir.Path()), std::vector<std::string> { "Default.SCH" });
    EXPECT_EQ(ReadAllBytes(dir.File("Default.SCH")), Bytes("\r\n[Table : NEW]\r\n\r\n"));
}

TEST_F(DatabaseSchemaTest, TablesAreKeyedInUpperCaseFieldsMatchWithoutCase)
{
    SchemaTable& t = db.AddTable("t\xE0"); // "tа"
    EXPECT_EQ(&db.AddTable("T\xC0"), &t);
    t.keyFields = { "Id" };
    t.nameField = "\xE8\xec\xff"; // "имя"
    t.relations = { { "U", "ref" }, { "V", "REF" } };
    EXPECT_TRUE(t.HasKeyField("ID"));
    EXPECT_FALSE(t.HasKeyField("I"));
    EXPECT_TRUE(t.IsNameField("\xC8\xCC\xDF")); // "ИМЯ"
    EXPECT_EQ(t.FindRelation("Ref")->tableName, "V");
    EXPECT_EQ(t.FindRelation("OTHER"), nullptr);

    EXPECT_FALSE(db.RemoveTable("U"));
    EXPECT_TRUE(db.RemoveTable("t\xE0"));
    EXPECT_EQ(db.FindTable("T\xC0"), nullptr);
}

TEST_F(DatabaseSchemaTest, TestReportsTheFirstFaultyRelation)
{
    EXPECT_EQ(schema::SchemaTestMessage(db.TestSchema()), "No errors found.");
    db.AddTable("GOODS").relations = { { "groups", "GROUPID" }, { "UNITS", "UNIT" } };
    const auto message = [&] { return schema::SchemaTestMessage(db.TestSchema()); };

    EXPECT_EQ(
        db.TestSchema(), (SchemaProblem { SchemaProblemKind::kAbsentTable, "GOODS", "groups" }));
    EXPECT_EQ(message(), "Table GOODS has references to an absent table groups.");
    SchemaTable& groups = db.AddTable("GROUPS");
    EXPECT_EQ(message(), "Table groups is referenced by GOODS, but has no key fields.");
    groups.keyFields = { "ID" };
    EXPECT_EQ(message(), "Table GOODS references table groups, which has no \"name\" field.");
    groups.nameField = "DESCR";
    EXPECT_EQ(message(), "Table GOODS has references to an absent table UNITS.");
    db.AddTable("UNITS") = { "", { "ID" }, "NAME", {}, {} };
    EXPECT_EQ(db.TestSchema(), std::nullopt);

    // Another language's form gets the names in the same order; stray directives are text.
    const SchemaProblem problem { SchemaProblemKind::kReferencedWithoutKey, "T", "U" };
    EXPECT_EQ(schema::FormatSchemaProblem(problem, "%s <- %s %d%% %s%"), "U <- T %d% %");
}

} // namespace
