// A table window's columns under the directory's schema: titles from field descriptions,
// related records' names in place of their keys, and relations that cannot be built left
// out without harm.

#include "grid/grid_impl.h"
#include "platform/code_page.h"
#include "platform/utf8.h"
#include "table/table.h"
#include "tests/tablegrid/table_grid_fixture.h"

#include <QDir>
#include <QTest>

namespace tablegrid::test {
namespace {

std::string Ansi(const char* utf8)
{
    return platform::Utf8ToAnsi(utf8);
}

std::string Oem(const char* utf8)
{
    std::string text = Ansi(utf8);
    platform::AnsiToOem(text);
    return text;
}

class TableGridSchemaTest : public TableGridTest
{
protected:
    // GOODS (1251): ID C3, NAME C10, GRP C2, UNIT N2. GROUPS (866): ID C2, DESCR C16.
    // UNITS: ID N2, SHORT C4, no name field in the schema.
    TableGridSchemaTest()
    {
        TableBuilder goods;
        goods.Field("ID", 'C', 3)
            .Field("NAME", 'C', 10)
            .Field("GRP", 'C', 2)
            .Field("UNIT", 'N', 2)
            .CodePageByte(0xC9);
        goods.Record("  1" + Ansi("Болт М6   ") + " 1" + " 1");
        goods.Record("  2" + std::string("Nut M6    ") + "99" + " 2");
        goods.Record("  3" + std::string("Screw     ") + " 2" + " 9");
        goods.Write(dir.File("GOODS.DBF"));
        TableBuilder groups;
        groups.Field("ID", 'C', 2).Field("DESCR", 'C', 16).CodePageByte(0x65);
        groups.Record(" 2" + Oem("Шурупы и винты  "));
        groups.Record(" 1" + Oem("Болты           "));
        groups.Write(dir.File("GROUPS.DBF"));
        TableBuilder units;
        units.Field("ID", 'N', 2).Field("SHORT", 'C', 4);
        units.Record(" 1pcs ").Record(" 2kg  ");
        units.Write(dir.File("UNITS.DBF"));

        schema::SchemaTable& entry = database.AddTable("GOODS");
        entry.fieldDescriptions
            = { { "NAME", Ansi("Наименование") }, { "GRP", "Group" }, { "UNIT", "" } };
        entry.relations = { { "GROUPS", "GRP" }, { "UNITS", "UNIT" } };
        schema::SchemaTable& related = database.AddTable("GROUPS");
        related.keyFields = { "ID" };
        related.nameField = "DESCR";
        database.AddTable("UNITS").keyFields = { "ID" };
    }

    static std::vector<std::string> Titles(const CTableWndGrid& grid)
    {
        std::vector<std::string> titles;
        for (const FilterColumn& column : grid.FilterColumns())
            titles.push_back(column.title);
        return titles;
    }
};

TEST_F(TableGridSchemaTest, DescribedFieldsAreTitledAndRelatedKeysShowTheRelatedNames)
{
    auto grid = MakeGrid(dir.File("GOODS.DBF"));
    ASSERT_TRUE(grid->HasTableSchema());
    EXPECT_EQ(grid->GetTable()->Relations().size(), 2u);
    // An empty description leaves the field's name.
    const std::vector<std::string> titles { "ID", Ansi("Наименование"), "Group", "UNIT" };
    EXPECT_EQ(Titles(*grid), titles);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(grid->GetCurrentImpl()->Column(c).title.toStdString(),
            platform::AnsiToUtf8(titles[static_cast<std::size_t>(c)]));
    EXPECT_EQ(grid->FindColumnByTitle("Group"), 2);
    EXPECT_EQ(grid->FindColumnByTitle("GRP"), -1);
    EXPECT_EQ(grid->FindColumnByName("GRP"), 2);

    // The 866 names read as the window's text; a key with no related record shows nothing;
    // a related table without a name field leaves the key as it is.
    EXPECT_EQ(RowTexts(*grid, 0),
        (std::vector<std::string> { "  1", Ansi("Болт М6"), Ansi("Болты"), "1" }));
    EXPECT_EQ(RowTexts(*grid, 1)[2], "");
    EXPECT_EQ(RowTexts(*grid, 2)[2], Ansi("Шурупы и винты"));
    EXPECT_EQ(RowTexts(*grid, 2)[3], "9");
    EXPECT_TRUE(grid->Columns()[2].schemaDescribed);
    EXPECT_FALSE(grid->Columns()[3].schemaDescribed);

    // The name column is no editor's and refuses edits; the others are edited as before.
    EXPECT_EQ(grid->GetCtrlColumn(2)->editor, nullptr);
    EXPECT_FALSE(grid->ValidateCell(0, 2, "2"));
    EXPECT_NE(grid->GetCtrlColumn(3)->editor, nullptr);

    // Search sees the names, and finds a column by its title.
    grid->SetCurrentCell(0, 0);
    EXPECT_TRUE(grid->Find(Ansi("винты"), "Group", 2, {}, false));
    EXPECT_EQ(grid->GetCurrentRow(), 2);
    EXPECT_EQ(grid->GetCurrentColumn(), 2);

    // Rebuilt after a column layout change, the names are found again.
    grid->Columns()[0].visible = false;
    grid->BuildColumns();
    grid->RefreshRows(true);
    EXPECT_EQ(RowTexts(*grid, 0)[1], Ansi("Болты"));
    grid->Columns()[0].visible = true;
    grid->BuildColumns();
    grid->RefreshRows(true);
    grid->SetCurrentCell(0, 2);
    QTest::qWait(10);
    QDir().mkpath(QStringLiteral(LUMETTA_SCREENSHOT_DIR));
    EXPECT_TRUE(
        grid->grab().save(QStringLiteral(LUMETTA_SCREENSHOT_DIR "/table_grid_related_names.png")));
}

TEST_F(TableGridSchemaTest, ARelationThatCannotBeBuiltIsLeftOutAndItsColumnShowsItsValue)
{
    struct Case
    {
        const char* what;
        std::function<void(table::TableDatabase&)> damage;
    };
    const Case cases[] = {
        { "related table not in the schema",
            [](table::TableDatabase& d) { d.RemoveTable("GROUPS"); } },
        { "related table without key fields",
            [](table::TableDatabase& d) { d.FindTable("GROUPS")->keyFields.clear(); } },
        { "key field the related file lacks",
            [](table::TableDatabase& d) { d.FindTable("GROUPS")->keyFields = { "NOPE" }; } },
        { "related file missing",
            [](table::TableDatabase& d) {
                d.AddTable("GONE").keyFields = { "ID" };
                d.FindTable("GOODS")->relations[0].tableName = "GONE";
            } },
        { "relating field the table lacks",
            [](table::TableDatabase& d) {
                d.FindTable("GOODS")->relations[0].fieldName = "GROUP";
            } },
        { "name field the related file lacks",
            [](table::TableDatabase& d) { d.FindTable("GROUPS")->nameField = "TITLE"; } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        table::TableDatabase fresh(platform::FileSystem::Default());
        ASSERT_TRUE(fresh.SetDatabaseDirectory(dir.Path()));
        for (const auto& [key, entry] : database.Tables())
            fresh.AddTable(key) = entry;
        c.damage(fresh);
        CTableWndGrid grid(&host);
        ASSERT_TRUE(grid.OpenTable(dir.File("GOODS.DBF"), &fresh));
        ASSERT_TRUE(grid.Create("DBGrid", &images, 0));
        grid.RefreshRows(true);
        EXPECT_EQ(RowTexts(grid, 0)[2], " 1");
        EXPECT_EQ(RowTexts(grid, 2)[2], " 2");
        EXPECT_FALSE(grid.Columns()[2].schemaDescribed);
        EXPECT_EQ(Titles(grid)[2], "Group");
    }
}

TEST_F(TableGridSchemaTest, ADamagedSchemaFileLeavesAPlainTable)
{
    std::vector<std::uint8_t> garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.push_back(static_cast<std::uint8_t>(i * 131 % 256));
    const std::string text
        = "[Table : GOODS]\r\nRelation{GROUPS = GRP\r\nRelation{} = GRP\r\nKey\r\n"
          "Descr{NAME = \r\n[Table : GROUPS\r\nRelation{UNITS} = \r\n";
    garbage.insert(garbage.begin(), text.begin(), text.end());
    testing_support::WriteAllBytes(dir.File("default.sch"), garbage);
    table::TableDatabase other(platform::FileSystem::Default());
    ASSERT_TRUE(other.SetDatabaseDirectory(dir.Path()));
    (void)other.LoadSchema("default.sch");
    CTableWndGrid grid(&host);
    ASSERT_TRUE(grid.OpenTable(dir.File("GOODS.DBF"), &other));
    ASSERT_TRUE(grid.Create("DBGrid", &images, 0));
    grid.RefreshRows(true);
    EXPECT_TRUE(grid.GetTable()->Relations().empty());
    EXPECT_EQ(RowTexts(grid, 0)[2], " 1");
    EXPECT_EQ(Titles(grid)[1], "NAME");
}

} // namespace
} // namespace tablegrid::test
