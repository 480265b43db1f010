#include "schema/schema_file.h"

#include <gtest/gtest.h>
#include <string_view>

namespace {

using schema::SchemaFileReader;
using schema::SchemaRelation;
using schema::SchemaTable;
using schema::SchemaTableMap;

class SchemaFileTest : public ::testing::Test
{
protected:
    // Feeds `text` to a reader line by line, as the loader does with a file.
    static std::vector<std::pair<std::string, SchemaTable>> Read(std::string_view text)
    {
        SchemaFileReader reader;
        for (auto end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
            reader.ReadLine(text.substr(0, end));
            text.remove_prefix(end + 1);
        }
        reader.ReadLine(text);
        return reader.Finish();
    }
};

TEST_F(SchemaFileTest, ReadsEveryKeywordInAnyCaseAndSpacing)
{
    const auto tables = Read("\r\n  [ table:goods ]  \r\n"
                             "description=Goods = everything sold \r\n"
                             "KEY = ID, ,CODE,,\t\r\n"
                             "name =DESCR\r\n"
                             "Descr{ CODE } =  Article \r\n"
                             "DESCR{CODE} = Article no.\r\n"
                             "Relation{ groups } = GROUPID\r\n"
                             "relation{groups}=GROUPID\r\n"
                             "Key = EXTRA\r\n");
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].first, "GOODS");
    const SchemaTable& t = tables[0].second;
    EXPECT_EQ(t.description, "Goods = everything sold");
    EXPECT_EQ(t.keyFields, (std::vector<std::string> { "ID", "CODE", "EXTRA" }));
    EXPECT_EQ(t.nameField, "DESCR");
    // A later line for the same field replaces the earlier one; relations are not merged.
    EXPECT_EQ(
        t.fieldDescriptions, (std::map<std::string, std::string> { { "CODE", "Article no." } }));
    EXPECT_EQ(t.relations,
        (std::vector<SchemaRelation> { { "groups", "GROUPID" }, { "groups", "GROUPID" } }));
}

TEST_F(SchemaFileTest, KeywordsAreTestedInOrder)
{
    // "Descriptions{..}" begins with DESCRIPTION, and anything beginning with NAME names the
    // name field, even when it looks like a field description.
    const auto tables = Read("[Table : T]\nDescriptions{A} = whole table\nNameDescr{B} = X\n");
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].second.description, "whole table");
    EXPECT_EQ(tables[0].second.nameField, "X");
    EXPECT_TRUE(tables[0].second.fieldDescriptions.empty());
}

TEST_F(SchemaFileTest, SkipsCommentsStrayAndMalformedLines)
{
    const auto tables = Read("Key = BEFORE\n"
                             "[Table : A]\n"
                             "; Key = COMMENT\n"
                             "  * Name = COMMENT\n"
                             "Key ID\n" // no "="
                             "Descr{EMPTY} = \n" // written for emptied descriptions
                             "Descr{} = no field\n"
                             "Descr NOBRACES = x\n"
                             "Descr}BACK{ = x\n"
                             "Relation{} = F\n"
                             "Relation{U} =\n"
                             "[Table : B\n" // not a head: an unknown line of A
                             "Something = else\n"
                             "[Options]\n"
                             "Key = IN_OPTIONS\n"
                             "[Table : C]\n"
                             "Key = C1\n"
                             "[Table without colon]\n"
                             "Key = AFTER_BAD_HEAD\n"
                             "[Table :   ]\n"
                             "Key = NAMELESS\n"
                             "[\n"
                             "[]\n");
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0].first, "A");
    EXPECT_EQ(tables[0].second, SchemaTable());
    EXPECT_EQ(tables[1].first, "C");
    EXPECT_EQ(tables[1].second.keyFields, std::vector<std::string> { "C1" });
}

TEST_F(SchemaFileTest, WritesTheExactForm)
{
    SchemaTableMap tables;
    tables["GOODS"]
        = { "Goods list", { "ID", "CODE" }, "DESCR", { { "CODE", "Article" }, { "OLD", "" } },
              { { "GROUPS", "GROUPID" }, { "UNITS", "UNIT" } } };
    tables["EMPTY"] = {};
    tables["ODD"].description = "two\r\nlines";
    EXPECT_EQ(schema::SchemaFileText(tables),
        "\r\n[Table : EMPTY]\r\n\r\n"
        "\r\n[Table : GOODS]\r\n"
        "Description = Goods list\r\n"
        "Key = ID,CODE\r\n"
        "Name = DESCR\r\n"
        "Descr{CODE} = Article\r\n"
        "Descr{OLD} = \r\n"
        "Relation{GROUPS} = GROUPID\r\n"
        "Relation{UNITS} = UNIT\r\n"
        "\r\n"
        "\r\n[Table : ODD]\r\n"
        "Description = two  lines\r\n"
        "\r\n");
    EXPECT_EQ(schema::SchemaFileText({}), "");
}

// Table file names may hold '=': such a name reads back as it was written, however often the
// file is saved and loaded; a name the file cannot carry is refused, not saved as another.
TEST_F(SchemaFileTest, NamesInBracesReadBackAsWritten)
{
    SchemaTableMap tables;
    tables["T"] = { "", {}, "", { { "A=B", "x = y" } }, { { "R=1", "F" } } };
    ASSERT_TRUE(schema::SchemaFileWritable(tables));
    for (int round = 0; round < 3; ++round) {
        const auto read = Read(schema::SchemaFileText(tables));
        ASSERT_EQ(read.size(), 1u);
        EXPECT_EQ(read[0].second.fieldDescriptions.at("A=B"), "x = y");
        ASSERT_EQ(read[0].second.relations.size(), 1u);
        EXPECT_EQ(read[0].second.relations[0].tableName, "R=1");
        EXPECT_EQ(read[0].second.relations[0].fieldName, "F");
        tables["T"] = read[0].second;
    }
    tables["T"].fieldDescriptions["A}B"] = "z";
    EXPECT_FALSE(schema::SchemaFileWritable(tables));
    tables["T"].fieldDescriptions.erase("A}B");
    tables["T"].relations.push_back({ " R", "F" });
    EXPECT_FALSE(schema::SchemaFileWritable(tables));
    tables["T"].relations.pop_back();
    tables["A\rB"] = {};
    EXPECT_FALSE(schema::SchemaFileWritable(tables));
}

// A CR inside a line would otherwise be kept in a name or text and written as a blank, so
// the file would read as another schema after every save.
TEST_F(SchemaFileTest, ACrInsideALineEndsIt)
{
    const auto tables = Read("[Table : GOODS]\rOUPS]\r\nName = A\rDescription = B\r\n");
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].first, "GOODS");
    EXPECT_EQ(tables[0].second.nameField, "A");
    EXPECT_EQ(tables[0].second.description, "B");
}

} // namespace
