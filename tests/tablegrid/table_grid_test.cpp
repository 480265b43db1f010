#include "tablegrid/table_wnd_grid.h"

#include "grid/def_grid_impl.h"
#include "grid/form_grid_impl.h"
#include "grid/grid_edit.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/qt/ansi_string.h"
#include "platform/prompt.h"
#include "tablegrid/row_images.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"
#include "tests/tablegrid/table_grid_fixture.h"
#include "tools/samples/sample_tables.h"

#include <QDir>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace {

using tablegrid::CTableWndGrid;
using tablegrid::PendingChange;
using testing_support::ReadAllBytes;
using testing_support::ScriptedPrompt;
using testing_support::TableBuilder;
using tablegrid::test::FakeHost;
using tablegrid::test::TableGridTest;


TEST_F(TableGridTest, ColumnsFollowTheFieldsAndTheirTypes)
{
    auto grid = MakeGrid(EveryType());
    ASSERT_EQ(grid->GetColumnCount(), 7);
    EXPECT_EQ(grid->GetRowCount(), 3);
    const int expected[] = { grid::CFormatGrid::kCharacter, grid::CFormatGrid::kNumeric,
                             grid::CFormatGrid::kDate,      grid::CFormatGrid::kLogical,
                             grid::CFormatGrid::kMemo,      grid::CFormatGrid::kNumeric,
                             grid::CFormatGrid::kCharacter };
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(grid->GetColumn(c)->type, expected[c]) << c;
    EXPECT_EQ(grid->GetColumn(2)->width, 10); // a date shows in 10 characters
    EXPECT_FALSE(grid->GetCtrlColumn(0)->readOnly);
    EXPECT_TRUE(grid->GetCtrlColumn(5)->readOnly); // F fields are shown, not edited
    EXPECT_TRUE(grid->GetCtrlColumn(6)->readOnly);
}

TEST_F(TableGridTest, RowsShowEveryTypeInTheChosenDateForm)
{
    auto grid = MakeGrid(EveryType());
    EXPECT_EQ(RowTexts(*grid, 0),
              (std::vector<std::string> { "Ivan", "12.50", "03.02.2001", "true", "<Memo>", "2.5", "" }));
    EXPECT_EQ(RowTexts(*grid, 1),
              (std::vector<std::string> { "Petr", "0.00", "", "false", "", "0.0", "" }));
    grid->SetDateFormat(1);
    EXPECT_EQ(RowTexts(*grid, 0)[2], "02/03/01");
    grid->SetDateFormat(0);
    EXPECT_EQ(RowTexts(*grid, 2)[2], "19991231");

    // Row pictures: the deleted record shows the black dot, the others none.
    EXPECT_EQ(grid->FindCachedRow(1)->imageIndex, 0);
    EXPECT_EQ(grid->FindCachedRow(0)->imageIndex, -1);
    EXPECT_EQ(grid->RecordOfRow(2), 3);
}

TEST_F(TableGridTest, EditsStayPendingAndRedWithoutTouchingTheFile)
{
    const std::string path = EveryType();
    const auto before = ReadAllBytes(path);
    auto grid = MakeGrid(path);
    RowTexts(*grid, 0);
    EXPECT_TRUE(grid->ValidateCell(0, 0, "Ivan")); // the same text: no change
    EXPECT_FALSE(grid->HasPendingChanges());
    EXPECT_EQ(host.titleUpdates, 0);

    ASSERT_TRUE(grid->ValidateCell(0, 0, "Ivanov"));
    ASSERT_TRUE(grid->ValidateCell(0, 2, "04.05.2006"));
    ASSERT_EQ(grid->PendingChanges().Size(), 2u);
    const PendingChange& date = grid->PendingChanges().Item(1);
    EXPECT_EQ(date.fieldName, "DT");
    EXPECT_EQ(date.oldText, "03.02.2001");
    EXPECT_EQ(date.newText, "20060504"); // stored form
    EXPECT_EQ(date.recordNumber, 1);
    EXPECT_EQ(host.titleUpdates, 2);

    // Scrolled away and back: the row is filled again, from the pending change.
    grid->FlushRowCache();
    EXPECT_EQ(RowTexts(*grid, 0)[0], "Ivanov");
    EXPECT_EQ(RowTexts(*grid, 0)[2], "04.05.2006");
    EXPECT_EQ(grid->FindCachedRow(0)->textColors[0], grid::kRedColor);
    EXPECT_NE(grid->FindCachedRow(0)->textColors[1], grid::kRedColor);
    EXPECT_EQ(ReadAllBytes(path), before);
    grid->SetCurrentCell(0, 1);
    QTest::qWait(10);
    QDir().mkpath(QStringLiteral(LUMETTA_SCREENSHOT_DIR));
    EXPECT_TRUE(grid->grab().save(QStringLiteral(LUMETTA_SCREENSHOT_DIR "/table_grid.png")));

    ASSERT_TRUE(grid->SaveChanges(true, nullptr));
    EXPECT_FALSE(grid->HasPendingChanges());
    EXPECT_EQ(RowTexts(*grid, 0)[0], "Ivanov");
    EXPECT_EQ(RowTexts(*grid, 0)[2], "04.05.2006");
    EXPECT_NE(grid->FindCachedRow(0)->textColors[0], grid::kRedColor);
}

TEST_F(TableGridTest, RefusedEdits)
{
    auto grid = MakeGrid(EveryType());
    RowTexts(*grid, 0);
    EXPECT_FALSE(grid->ValidateCell(0, 1, "12x"));        // not a number
    EXPECT_FALSE(grid->ValidateCell(0, 1, "123456.5"));   // does not fit 7.2
    EXPECT_FALSE(grid->ValidateCell(0, 9, "x"));          // no such column
    EXPECT_FALSE(grid->HasPendingChanges());

    // At the limit the grid asks to save; Cancel refuses the new edit and keeps the others.
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(grid->ValidateCell(0, 0, "n" + std::to_string(i)));
    ScriptedPrompt prompt { platform::IDCANCEL };
    EXPECT_FALSE(grid->ValidateCell(0, 0, "one more"));
    EXPECT_EQ(grid->PendingChanges().Size(), 300u);
    EXPECT_EQ(prompt.Asked(0).text.substr(0, 32), "Too many changes have been made.");
    prompt.Answer({ platform::IDOK });
    EXPECT_TRUE(grid->ValidateCell(0, 0, "saved first"));
    EXPECT_EQ(grid->PendingChanges().Size(), 1u);
    ASSERT_TRUE(grid->GetTable()->GoTo(1));
    EXPECT_EQ(grid->GetTable()->GetValue(0, false).text, "n299    ");
}

TEST_F(TableGridTest, RowsTheFileDoesNotHoldShowAbsent)
{
    TableBuilder b;
    b.Field("A", 'C', 3).Record("one").Record("two").RecordCount(3);
    b.Write(dir.File("short.dbf"));
    auto grid = MakeGrid(dir.File("short.dbf"));
    EXPECT_EQ(RowTexts(*grid, 1), std::vector<std::string> { "two" });
    EXPECT_EQ(RowTexts(*grid, 2), std::vector<std::string> { "<absent>" });
}

// Another program changes the table while the window shows it: records appended, the file
// cut short, the header rewritten. The window keeps working on what it read; rows the file
// no longer holds show absent, and an edit of one is not written past the end of the file.
TEST_F(TableGridTest, ATableChangedByAnotherProgram)
{
    auto write = [&](int records, bool otherLayout = false) {
        TableBuilder b;
        if (otherLayout)
            b.Field("X", 'N', 9).Field("Y", 'D', 8);
        else
            b.Field("A", 'C', 3);
        for (int k = 0; k < records; ++k)
            b.Record(otherLayout ? "        1" + std::string("20010101") : "r" + std::to_string(k));
        b.Write(dir.File("shared.dbf"));
    };
    write(5);
    auto grid = MakeGrid(dir.File("shared.dbf"));
    ASSERT_EQ(grid->GetRowCount(), 5);

    write(9); // appended
    grid->RefreshRows(true);
    for (int row = 0; row < grid->GetRowCount(); ++row)
        EXPECT_EQ(RowTexts(*grid, row).size(), 1u);
    ASSERT_TRUE(grid->ValidateCell(1, 0, "new"));
    EXPECT_TRUE(grid->SaveChanges(true, nullptr));
    ASSERT_TRUE(grid->GetTable()->GoTo(2));
    EXPECT_EQ(grid->GetTable()->GetValue(0, false).text, "new");

    write(2); // cut short
    const auto cutSize = ReadAllBytes(dir.File("shared.dbf")).size();
    grid->RefreshRows(true);
    EXPECT_EQ(RowTexts(*grid, 1), std::vector<std::string> { "r1" });
    EXPECT_EQ(RowTexts(*grid, 3), std::vector<std::string> { "<absent>" });
    // The edit's record cannot be reached any more; saving drops it, as it drops an edit of
    // a record that is gone, and writes nothing.
    (void)grid->ValidateCell(3, 0, "far");
    (void)grid->SaveChanges(true, nullptr);
    EXPECT_EQ(ReadAllBytes(dir.File("shared.dbf")).size(), cutSize) << "written past the end";

    write(4, true); // another structure under the same name
    grid->RefreshRows(true);
    for (int row = 0; row < grid->GetRowCount(); ++row)
        (void)RowTexts(*grid, row);
    (void)grid->ValidateCell(0, 0, "abc");
    (void)grid->SaveChanges(true, nullptr);
    grid->RefreshRows(true);
}

TEST_F(TableGridTest, DosTablesShowAndTakeCyrillic)
{
    std::string ivan = "\x88\xa2\xa0\xad"; // "Иван" in code page 866
    TableBuilder b;
    b.CodePageByte(0x65).Field("NAME", 'C', 6).Record(ivan);
    b.Write(dir.File("dos.dbf"));
    auto grid = MakeGrid(dir.File("dos.dbf"));
    std::string ansi = ivan;
    platform::OemToAnsi(ansi);
    EXPECT_EQ(RowTexts(*grid, 0)[0], ansi);

    std::string petr = "\xcf\xe5\xf2\xf0"; // "Петр" in code page 1251
    ASSERT_TRUE(grid->ValidateCell(0, 0, petr));
    std::string oem = petr;
    platform::AnsiToOem(oem);
    EXPECT_EQ(grid->PendingChanges().Item(0).newText, oem);
    grid->FlushRowCache();
    EXPECT_EQ(RowTexts(*grid, 0)[0], petr);
    ASSERT_TRUE(grid->SaveChanges(true, nullptr));
    const auto bytes = ReadAllBytes(dir.File("dos.dbf"));
    EXPECT_EQ(std::string(bytes.begin() + 32 + 32 + 1 + 1, bytes.begin() + 32 + 32 + 1 + 5), oem);
}

TEST_F(TableGridTest, NotifyShowsTextsAndBoxes)
{
    auto grid = MakeGrid(EveryType());
    grid->Notify(2, "5", "100");
    EXPECT_EQ(host.main[0], "Setting filter: found 5 records of 100");
    grid->Notify(8, {}, {});
    EXPECT_EQ(host.main[0], "Refreshing view...");
    grid->Notify(9, {}, {});
    EXPECT_EQ(host.main[0], "Press F1 for help");

    ScriptedPrompt prompt { platform::IDOK, platform::IDCANCEL, platform::IDNO };
    EXPECT_EQ(grid->Notify(0, {}, {}), platform::IDOK);
    EXPECT_EQ(grid->Notify(11, {}, {}), platform::IDCANCEL);
    EXPECT_EQ(grid->Notify(12, "GOODS", {}), platform::IDNO);
    EXPECT_EQ(prompt.Asked(0).text, "Invalid filter expression. Filter has not been set.");
    EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kStop);
    EXPECT_EQ(prompt.Asked(1).buttons, platform::PromptButtons::kOkCancel);
    EXPECT_EQ(prompt.Asked(2).text, "The table GOODS has been changed. Save changes to the file?");
    EXPECT_EQ(prompt.Asked(2).buttons, platform::PromptButtons::kYesNoCancel);
    EXPECT_EQ(prompt.Asked(2).icon, platform::PromptIcon::kQuestion);
}

TEST_F(TableGridTest, FailedOpenSaysSoAndShowsNothing)
{
    ScriptedPrompt prompt { platform::IDOK };
    auto grid = MakeGrid(dir.File("missing.dbf"));
    EXPECT_EQ(prompt.Asked(0).text, "Error occured while opening table " + dir.File("missing.dbf"));
    EXPECT_FALSE(grid->HasOpenTable());
    EXPECT_EQ(grid->GetColumnCount(), 0);
    EXPECT_EQ(grid->GetRowCount(), 0);
}

TEST_F(TableGridTest, StatusTextsFollowTheCurrentCell)
{
    auto grid = MakeGrid(EveryType());
    grid->SetCurrentCell(2, 1); // the row is filled for its record number
    EXPECT_EQ(host.frame[0], "Row  3  of  3,   Column  2  of  7");
    EXPECT_EQ(host.frame[1], "Record  3  of  3");
}

TEST_F(TableGridTest, FormViewKeepsTheRecordAndField)
{
    auto grid = MakeGrid(EveryType());
    RowTexts(*grid, 1);
    grid->SetCurrentCell(1, 2);
    grid->SetViewMode(1);
    EXPECT_EQ(grid->GetCurrentImplIndex(), 1);
    EXPECT_EQ(grid->GetCurrentRow(), 1);
    EXPECT_EQ(grid->GetCurrentColumn(), 2);
    QTest::qWait(10);
    QDir().mkpath(QStringLiteral(LUMETTA_SCREENSHOT_DIR));
    EXPECT_TRUE(grid->grab().save(QStringLiteral(LUMETTA_SCREENSHOT_DIR "/table_grid_form.png")));
    grid->SetViewMode(0);
    EXPECT_EQ(grid->GetCurrentImplIndex(), 0);
    EXPECT_EQ(grid->GetCurrentRow(), 1);
}

// The screenshots a person looks at for cut numbers: the million-record sample at its end,
// a narrowed amount, and the form view of every field type. What each numeric or date cell
// shows is its whole text, a '#' fill or a text with the cut mark, never a shorter number.
class CutTextTest : public TableGridTest
{
protected:
    static void Save(CTableWndGrid& grid, const char* name)
    {
        QTest::qWait(10);
        QDir().mkpath(QStringLiteral(LUMETTA_SCREENSHOT_DIR));
        EXPECT_TRUE(grid.grab().save(
            QStringLiteral(LUMETTA_SCREENSHOT_DIR "/") + QString::fromLatin1(name)
            + QStringLiteral(".png")));
    }

    static void ExpectNoShorterNumbers(CTableWndGrid& grid, const char* when)
    {
        auto* view = static_cast<grid::CDefGridImpl*>(grid.GetImpl(0));
        (void)grid.grab();
        const int top = view->GetTopRow();
        for (int row = top; row < std::min(top + view->PageRows(), grid.GetRowCount()); ++row) {
            const std::vector<std::string> texts = RowTexts(grid, row);
            for (int c = 0; c < grid.GetColumnCount(); ++c) {
                const int type = grid.GetColumn(c)->type;
                if (type != grid::CFormatGrid::kNumeric && type != grid::CFormatGrid::kDate)
                    continue;
                const QString full = platform::qt::FromAnsi(texts[static_cast<size_t>(c)]);
                const QString shown = view->ShownCellText(row, c).trimmed();
                if (full.isEmpty() || shown == full)
                    continue;
                const bool filled = !shown.isEmpty() && shown.count(QLatin1Char('#')) == shown.size();
                EXPECT_TRUE(filled || shown.contains(grid::kCutMark))
                    << when << ": row " << row << ", column " << c << " shows "
                    << shown.toStdString() << " of " << full.toStdString();
            }
        }
    }
};

TEST_F(CutTextTest, TheMillionRecordSampleAtItsEndAndANarrowedAmount)
{
    std::string error;
    ASSERT_TRUE(samples::WriteSampleTables(
        platform::FileSystem::Default(), dir.Path(), samples::SampleOptions {}, &error))
        << error;
    auto grid = MakeGrid(dir.File(samples::kLarge));
    grid->AutofitColumns(); // on the first page, as a new window does
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    ASSERT_EQ(grid->GetCurrentRow(), grid->GetRowCount() - 1);
    ExpectNoShorterNumbers(*grid, "at the end");
    Save(*grid, "million_ctrl_end");
    for (int c = 0; c < grid->GetColumnCount(); ++c) {
        if (grid->GetColumn(c)->type == grid::CFormatGrid::kNumeric) {
            auto* view = static_cast<grid::CDefGridImpl*>(grid->GetImpl(0));
            ASSERT_TRUE(view->TrackColumnWidth(c, 40));
        }
    }
    ExpectNoShorterNumbers(*grid, "narrowed");
    Save(*grid, "million_narrowed_numbers");
    grid->AutofitColumns();
    grid->resize(420, 300);
    QTest::qWait(10);
    // The ID column partly off the left, with a few digits left in sight.
    const int step = static_cast<grid::CDefGridImpl*>(grid->GetImpl(0))->Column(0).width - 35;
    ASSERT_GT(grid->horizontalScrollBar()->maximum(), step);
    grid->horizontalScrollBar()->setValue(step);
    ExpectNoShorterNumbers(*grid, "one step sideways");
    Save(*grid, "million_scrolled_sideways");
}

TEST_F(CutTextTest, TheFormViewShowsEveryTypeWhole)
{
    auto grid = MakeGrid(EveryType());
    grid->SetCurrentCell(0, 0);
    grid->SetViewMode(1);
    (void)grid->grab();
    auto* form = static_cast<grid::CFormGridImpl*>(grid->GetImpl(1));
    const std::vector<std::string> texts = RowTexts(*grid, 0);
    for (int c = 0; c < grid->GetColumnCount(); ++c)
        EXPECT_EQ(form->ShownValueText(c).trimmed().toStdString(), texts[static_cast<size_t>(c)])
            << c;
    Save(*grid, "form_every_type");
    grid->SetCurrentCell(1, 3); // the logical of the second record: "false" in full
    EXPECT_EQ(form->ShownValueText(3).trimmed(), QStringLiteral("false"));
    QTest::keyClick(grid.get(), Qt::Key_Return);
    Save(*grid, "form_check_box_editor");
}

} // namespace
