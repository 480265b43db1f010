// Search and replace in a table window's grid.

#include "platform/code_page.h"
#include "platform/prompt.h"
#include "table/table.h"
#include "tests/support/scripted_prompt.h"
#include "tests/tablegrid/table_grid_fixture.h"

#include <QCursor>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>

namespace tablegrid {
namespace {

using testing_support::ScriptedPrompt;
using testing_support::TableBuilder;
using Flags = CTableGrid::SearchFlags;

class TableGridSearchTest : public test::TableGridTest
{
protected:
    // NAME C10, SUM N7.2, DT D8, OK L1, NOTE M10 in code page `codePageByte`.
    std::string People(std::uint8_t codePageByte = 0xC9)
    {
        TableBuilder b;
        b.Version(0x83).CodePageByte(codePageByte);
        b.Field("NAME", 'C', 10).Field("SUM", 'N', 7, 2).Field("DT", 'D', 8).Field("OK", 'L', 1)
            .Field("NOTE", 'M', 10);
        auto name = [&](std::string text) {
            if (codePageByte == 0x65)
                platform::AnsiToOem(text);
            text.resize(10, ' ');
            return text;
        };
        b.Record(name("Ivan") + "  12.50" + "20010203" + "T" + "         1");
        b.Record(name(" abc ") + " 300.00" + "19991231" + "F" + "          ");
        b.Record(name("\xCF\xE5\xF2\xF0") + "   1.00" + "20010101" + "T" + "         2"); // Петр
        b.Record(name("ivanov") + "  -5.00" + "        " + "F" + "          ");
        b.Write(dir.File("people.dbf"));
        testing_support::WriteAllBytes(dir.File("people.dbt"), std::vector<std::uint8_t>(512, 0));
        return dir.File("people.dbf");
    }

    std::pair<int, int> Cell(CTableWndGrid& grid) { return { grid.GetCurrentRow(), grid.GetCurrentColumn() }; }
};

TEST_F(TableGridSearchTest, FindsShownTextsInEveryColumnType)
{
    auto grid = MakeGrid(People());
    EXPECT_TRUE(grid->Find("van", {}, 2, {}, true));
    EXPECT_EQ(Cell(*grid), std::make_pair(0, 0));
    EXPECT_TRUE(grid->Find("300.00", {}, 2, {}, true));
    EXPECT_EQ(Cell(*grid), std::make_pair(1, 1));
    EXPECT_TRUE(grid->Find("31.12.1999", {}, 2, {}, true));
    EXPECT_EQ(Cell(*grid), std::make_pair(1, 2));
    grid->SetCurrentCell(0, 0);
    EXPECT_TRUE(grid->Find("false", {}, 0, {}, true));
    EXPECT_EQ(Cell(*grid), std::make_pair(1, 3));
    grid->SetCurrentCell(0, 0);
    EXPECT_TRUE(grid->Find("Memo", {}, 0, {}, true)); // memo cells show "<Memo>"
    EXPECT_EQ(Cell(*grid), std::make_pair(0, 4));
    EXPECT_TRUE(grid->Find("\xEF\xE5\xF2\xF0", {}, 2, {}, true)); // петр, any case
    EXPECT_EQ(Cell(*grid), std::make_pair(2, 0));
    EXPECT_FALSE(grid->Find("\xEF\xE5\xF2\xF0", {}, 2, Flags { true, false }, false));
    // Whole word on a cell with blanks around its text.
    EXPECT_TRUE(grid->Find("abc", {}, 2, Flags { false, true }, true));
    EXPECT_EQ(Cell(*grid), std::make_pair(1, 0));
    EXPECT_FALSE(grid->Find("ab", {}, 2, Flags { false, true }, false));
    {
        ScriptedPrompt prompt { platform::IDOK };
        EXPECT_FALSE(grid->Find("nowhere", {}, 2, {}, true));
        EXPECT_EQ(prompt.Asked(0).text, "Cannot find the string 'nowhere'");
    }
}

TEST_F(TableGridSearchTest, DirectionsAndTheCursorsColumn)
{
    auto grid = MakeGrid(People());
    grid->SetCurrentCell(0, 0);
    EXPECT_TRUE(grid->Find("ivan", {}, 0, {}, true)); // not the cell under the cursor
    EXPECT_EQ(Cell(*grid), std::make_pair(3, 0));
    EXPECT_TRUE(grid->Find("ivan", {}, 1, {}, true));
    EXPECT_EQ(Cell(*grid), std::make_pair(0, 0));
    EXPECT_FALSE(grid->Find("ivan", {}, 1, {}, false));
    // The entire scope starts in row 1 at the cursor's column: row 1's NAME is left of it.
    grid->SetCurrentCell(3, 1);
    EXPECT_TRUE(grid->Find("ivan", {}, 2, {}, true));
    EXPECT_EQ(Cell(*grid), std::make_pair(3, 0));
    // One column only.
    grid->SetCurrentCell(0, 0);
    EXPECT_TRUE(grid->Find("1", "SUM", 0, {}, true));
    EXPECT_EQ(Cell(*grid), std::make_pair(0, 1));
    EXPECT_TRUE(grid->Find("1", "SUM", 0, {}, true));
    EXPECT_EQ(Cell(*grid), std::make_pair(2, 1));
    EXPECT_FALSE(grid->Find("1", "NOPE", 2, {}, false));
}

// The text shown is what is searched: a pending edit is found, the file's old text is not.
TEST_F(TableGridSearchTest, PendingEditsAreSearchedAsShown)
{
    auto grid = MakeGrid(People(0x65)); // a DOS table
    RowTexts(*grid, 2);
    ASSERT_TRUE(grid->ValidateCell(2, 0, "Changed"));
    EXPECT_FALSE(grid->Find("\xCF\xE5\xF2\xF0", {}, 2, {}, false));
    EXPECT_TRUE(grid->Find("changed", {}, 2, {}, false));
    EXPECT_EQ(Cell(*grid), std::make_pair(2, 0));
    ASSERT_TRUE(grid->ValidateCell(3, 2, "05.06.2007"));
    EXPECT_TRUE(grid->Find("05.06.2007", {}, 2, {}, false));
    EXPECT_EQ(Cell(*grid), std::make_pair(3, 2));
}

TEST_F(TableGridSearchTest, SearchingAFilteredGridVisitsOnlyItsRows)
{
    auto grid = MakeGrid(People());
    FilterCondition c;
    c.column = "SUM";
    c.op = FilterOp::kLess;
    c.value = "10";
    grid->FilterRoot() = BuildFilterTree({ c });
    grid->ApplyFilter();
    ASSERT_EQ(grid->GetRowCount(), 2);
    EXPECT_FALSE(grid->Find("Ivan ", {}, 2, Flags { true, false }, false));
    EXPECT_TRUE(grid->Find("ivanov", {}, 2, {}, false));
    EXPECT_EQ(Cell(*grid), std::make_pair(1, 0));
}

TEST_F(TableGridSearchTest, ReplaceWritesAPendingEditOfTheFirstOccurrence)
{
    auto grid = MakeGrid(People());
    ASSERT_TRUE(grid->Find("ivan", {}, 2, {}, false));
    ASSERT_TRUE(grid->ReplaceInCurrentCell("IVAN", "John", false));
    EXPECT_EQ(RowTexts(*grid, 0)[0], "John");
    EXPECT_EQ(grid->FindCachedRow(0)->textColors[0], grid::kRedColor);
    ASSERT_EQ(grid->PendingChanges().Size(), 1u);
    EXPECT_EQ(grid->PendingChanges().Item(0).oldText, "Ivan");
    EXPECT_FALSE(grid->ReplaceInCurrentCell("zz", "y", false));
    EXPECT_TRUE(grid->ReplaceInCurrentCell("John", "John", true)); // nothing changes
    EXPECT_EQ(grid->PendingChanges().Size(), 1u);
    // Logicals only between true and false; dates in the grid's form.
    grid->SetCurrentCell(0, 3);
    EXPECT_FALSE(grid->ReplaceInCurrentCell("t", "f", false));
    EXPECT_TRUE(grid->ReplaceInCurrentCell("true", "false", false));
    grid->SetCurrentCell(0, 2);
    EXPECT_FALSE(grid->ReplaceInCurrentCell("03", "3", false));
    EXPECT_TRUE(grid->ReplaceInCurrentCell("2001", "2002", false));
    EXPECT_EQ(grid->PendingChanges().Item(grid->PendingChanges().ItemCount() - 1).newText, "20020203");
    // Not held by the change limit: no question is asked past 300 replacements.
    grid->SetCurrentCell(0, 3); // "false" by now
    ScriptedPrompt noQuestions;
    for (int i = 0; i < 310; ++i)
        ASSERT_TRUE(grid->ReplaceInCurrentCell(i % 2 ? "true" : "false", i % 2 ? "false" : "true", true)) << i;
    EXPECT_GT(grid->PendingChanges().Size(), 310u);
    EXPECT_TRUE(noQuestions.Questions().empty());
}

// From the cursor's cell on, or from the first row in one column: a replacement that holds
// the text looked for is made once and the walk ends; only a cell's first occurrence is
// replaced; cells whose column refuses the result are passed over and not counted; all of
// it is one undo step.
TEST_F(TableGridSearchTest, ReplaceAllCountsOnlyWhatTheColumnsTake)
{
    auto grid = MakeGrid(People());
    ScriptedPrompt noQuestions;
    // From row 1 at the cursor's column: row 1's NAME (Ivan) lies left of it and stays.
    grid->SetCurrentCell(0, 1);
    EXPECT_EQ(grid->ReplaceAll("iv", "ivIV", {}, {}), 1);
    EXPECT_EQ(RowTexts(*grid, 0)[0], "Ivan");
    EXPECT_EQ(RowTexts(*grid, 3)[0], "ivIVanov");
    EXPECT_EQ(Cell(*grid), std::make_pair(3, 0));
    ASSERT_TRUE(grid->UndoChange());

    grid->SetCurrentCell(2, 0);
    // Ivan, " abc ", ivanov; the logical "false" cells would become no logical.
    EXPECT_EQ(grid->ReplaceAll("a", "aa", {}, {}), 3);
    EXPECT_EQ(RowTexts(*grid, 0)[0], "Ivaan");
    EXPECT_EQ(RowTexts(*grid, 1)[0], " aabc");
    EXPECT_EQ(RowTexts(*grid, 1)[3], "false");
    EXPECT_EQ(RowTexts(*grid, 3)[0], "ivaanov");
    EXPECT_EQ(grid->PendingChanges().Size(), 3u);
    EXPECT_TRUE(grid->UndoChange());
    EXPECT_FALSE(grid->HasPendingChanges());
    EXPECT_EQ(RowTexts(*grid, 0)[0], "Ivan");

    grid->SetCurrentCell(0, 0);
    EXPECT_EQ(grid->ReplaceAll("0", "9", "SUM", {}), 4);
    EXPECT_EQ(RowTexts(*grid, 1)[1], "390.00");
    // One column, from the first row whatever row the cursor is on.
    grid->SetCurrentCell(3, 3);
    EXPECT_EQ(grid->ReplaceAll("false", "true", "OK", {}), 2);
    EXPECT_EQ(RowTexts(*grid, 1)[3], "true");
    EXPECT_EQ(RowTexts(*grid, 3)[3], "true");
    // "1" in the dates would make no date, in the numbers "x1" no number.
    EXPECT_EQ(grid->ReplaceAll("1", "x", {}, {}), 0);
    EXPECT_EQ(grid->ReplaceAll("nowhere", "x", {}, {}), 0);
    EXPECT_TRUE(noQuestions.Questions().empty());
}

// The override cursor now: its shape, or -1 for none.
int CursorShape()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? static_cast<int>(cursor->shape()) : -1;
}

// Answers OK to every box and notes the cursor it was shown under.
class CursorPrompt final : public platform::Prompt
{
public:
    CursorPrompt() { m_previous = platform::SetCurrentPrompt(this); }
    ~CursorPrompt() override { platform::SetCurrentPrompt(m_previous); }
    int Ask(const std::string&, platform::PromptButtons, platform::PromptIcon) override
    {
        shapes.push_back(CursorShape());
        return platform::IDOK;
    }
    std::vector<int> shapes;

private:
    platform::Prompt* m_previous = nullptr;
};

// Notes the cursor each text of the main status bar is shown under.
class CursorHost final : public test::FakeHost
{
public:
    void ShowMainStatus(int pane, const std::string& text) override
    {
        FakeHost::ShowMainStatus(pane, text);
        shapes.emplace_back(text, CursorShape());
    }
    std::vector<std::pair<std::string, int>> shapes;
};

TEST_F(TableGridSearchTest, SearchAndReplaceAllRunUnderTheWaitCursorAndBoxesShowTheUsualOne)
{
    CursorHost cursorHost;
    CTableWndGrid grid(&cursorHost);
    grid.OpenTable(People(), &database);
    ASSERT_TRUE(grid.Create("DBGrid", &images, 0));
    grid.RefreshRows(true);
    cursorHost.shapes.clear();
    CursorPrompt prompt;
    EXPECT_TRUE(grid.Find("ivanov", {}, 2, {}, true));
    ASSERT_FALSE(cursorHost.shapes.empty());
    EXPECT_EQ(cursorHost.shapes.front(),
        std::make_pair(std::string("Searching... Currently 0 rows processed."), static_cast<int>(Qt::WaitCursor)));
    EXPECT_EQ(CursorShape(), -1);

    EXPECT_FALSE(grid.Find("nowhere", {}, 2, {}, true));
    EXPECT_EQ(prompt.shapes, std::vector<int> { Qt::ArrowCursor });
    EXPECT_EQ(CursorShape(), -1);

    // Replace All: the wait cursor throughout, and the idle text back once, at the end.
    grid.SetCurrentCell(0, 0);
    cursorHost.shapes.clear();
    cursorHost.mainHistory.clear();
    EXPECT_EQ(grid.ReplaceAll("a", "aa", "NAME", {}), 3);
    EXPECT_EQ(CursorShape(), -1);
    ASSERT_FALSE(cursorHost.shapes.empty());
    for (const auto& [text, shape] : cursorHost.shapes)
        EXPECT_EQ(shape, static_cast<int>(Qt::WaitCursor)) << text;
    EXPECT_EQ(std::count(cursorHost.mainHistory.begin(), cursorHost.mainHistory.end(),
                  std::string("Press F1 for help")),
        1);
    EXPECT_EQ(cursorHost.mainHistory.back(), "Press F1 for help");
    EXPECT_EQ(prompt.shapes.size(), 1u);
}

} // namespace
} // namespace tablegrid
