// The record commands, saving, packing and the editing keys of a table window's grid, with
// the questions a user answers.

#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/qt/qt_prompt.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "table/table.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/scripted_prompt.h"
#include "tests/tablegrid/table_grid_fixture.h"

#include <QClipboard>
#include <QDir>
#include <QMessageBox>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace tablegrid {
namespace {

using testing_support::ReadAllBytes;
using testing_support::ScriptedPrompt;
using testing_support::TableBuilder;

class TableGridRecordsTest : public test::TableGridTest
{
protected:
    // NAME C8 and a file mark for every third of `records` records.
    std::string Names(int records, const char* file = "names.dbf")
    {
        TableBuilder b;
        b.Field("NAME", 'C', 8).Field("OK", 'L', 1);
        for (int i = 1; i <= records; ++i)
            b.Record("Name" + std::to_string(i) + std::string(8 - 4 - std::to_string(i).size(), ' ') + "F",
                i % 3 == 0);
        b.Write(dir.File(file));
        return dir.File(file);
    }

    bool Deleted(CTableWndGrid& grid, std::uint32_t record)
    {
        return grid.GetTable()->GoTo(record) && grid.GetTable()->IsDeleted();
    }
};

TEST_F(TableGridRecordsTest, RecordCommandsNeedATableAndACurrentRow)
{
    CTableWndGrid empty(&host);
    ASSERT_TRUE(empty.Create("DBGrid", &images, 0));
    EXPECT_FALSE(empty.DeleteRecord());
    EXPECT_FALSE(empty.AppendRecord(false));
    EXPECT_FALSE(empty.PackTable());
    EXPECT_FALSE(empty.UndoChange());
    empty.MarkAll(true); // nothing asked, nothing done

    auto grid = MakeGrid(Names(4));
    ASSERT_EQ(grid->GetCurrentRow(), -1);
    EXPECT_FALSE(grid->ToggleDelete());
    EXPECT_FALSE(grid->AppendRecord(true));
    EXPECT_FALSE(grid->CopyCurrentCell());
    EXPECT_FALSE(grid->HasPendingChanges());
}

// Toggle, delete and undelete on the current row show as red and black dots at once; the
// file is untouched until saved.
TEST_F(TableGridRecordsTest, MarksShowAtOnceAndReachTheFileOnSave)
{
    const std::string path = Names(4);
    const auto before = ReadAllBytes(path);
    auto grid = MakeGrid(path);
    grid->SetCurrentCell(0, 0);
    ASSERT_TRUE(grid->ToggleDelete());
    EXPECT_EQ(grid->FindCachedRow(0)->imageIndex, 1); // deletion pending
    grid->SetCurrentCell(2, 0);                       // deleted in the file
    ASSERT_TRUE(grid->ToggleDelete());
    EXPECT_EQ(grid->FindCachedRow(2)->imageIndex, -1);
    EXPECT_GE(host.titleUpdates, 2);
    EXPECT_EQ(ReadAllBytes(path), before);
    ASSERT_TRUE(grid->SaveChanges(true, nullptr));
    EXPECT_TRUE(Deleted(*grid, 1));
    EXPECT_FALSE(Deleted(*grid, 3));
    EXPECT_EQ(grid->FindCachedRow(0)->imageIndex, 0);
}

TEST_F(TableGridRecordsTest, DeleteAllAsksAndReportsProgressThinned)
{
    auto grid = MakeGrid(Names(600));
    host.mainHistory.clear();
    {
        ScriptedPrompt prompt { platform::IDNO, platform::IDYES };
        grid->MarkAll(true);
        EXPECT_FALSE(grid->HasPendingChanges());
        grid->MarkAll(true);
        EXPECT_EQ(prompt.Texts(), (std::vector<std::string> { "Delete all records?", "Delete all records?" }));
    }
    EXPECT_EQ(grid->PendingChanges().Size(), 400u);
    // 600 reports were made; the status bar showed far fewer, the last of them included,
    // and went back to the idle text.
    ASSERT_GE(host.mainHistory.size(), 3u);
    EXPECT_LT(host.mainHistory.size(), 60u);
    EXPECT_EQ(host.mainHistory.front(), "Deleting records: 0 of 600");
    EXPECT_EQ(host.mainHistory.back(), "Press F1 for help");
    {
        ScriptedPrompt prompt { platform::IDYES };
        grid->MarkAll(false);
        EXPECT_EQ(prompt.Asked(0).text, "Undelete all records?");
    }
    EXPECT_EQ(grid->PendingChanges().Size(), 200u); // the file's marks, unmarked
}

TEST_F(TableGridRecordsTest, AppendsMoveTheCursorToTheNewRow)
{
    auto grid = MakeGrid(Names(3));
    grid->SetCurrentCell(1, 1);
    ASSERT_TRUE(grid->AppendRecord(true));
    EXPECT_EQ(grid->GetRowCount(), 4);
    EXPECT_EQ(grid->GetCurrentRow(), 3);
    EXPECT_EQ(grid->GetCurrentColumn(), 1);
    EXPECT_EQ(RowTexts(*grid, 3), (std::vector<std::string> { "Name2", "false" }));
    EXPECT_EQ(grid->FindCachedRow(3)->textColors[0], grid::kRedColor);
    ASSERT_TRUE(grid->AppendRecord(false));
    EXPECT_EQ(grid->GetRowCount(), 5);
    EXPECT_EQ(RowTexts(*grid, 4), (std::vector<std::string> { "", "false" })); // blank fields
    // Undo takes the empty one back, then the whole copy.
    ASSERT_TRUE(grid->UndoChange());
    EXPECT_EQ(grid->GetRowCount(), 4);
    ASSERT_TRUE(grid->UndoChange());
    EXPECT_EQ(grid->GetRowCount(), 3);
    EXPECT_FALSE(grid->HasPendingChanges());
    EXPECT_FALSE(grid->UndoChange());
}

TEST_F(TableGridRecordsTest, CopyAndPasteGoThroughTheCellsCheck)
{
    auto grid = MakeGrid(Names(3));
    grid->SetCurrentCell(1, 0);
    ASSERT_TRUE(grid->CopyCurrentCell());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Name2"));
    grid->SetCurrentCell(0, 0);
    QGuiApplication::clipboard()->setText(QStringLiteral("Pasted\r\nsecond line"));
    ASSERT_TRUE(grid->PasteIntoCurrentCell());
    EXPECT_EQ(RowTexts(*grid, 0)[0], "Pasted");
    EXPECT_EQ(grid->PendingChanges().Size(), 1u);
    // A logical takes only its two texts.
    grid->SetCurrentCell(0, 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("maybe"));
    EXPECT_FALSE(grid->PasteIntoCurrentCell());
    QGuiApplication::clipboard()->setText(QStringLiteral("true"));
    EXPECT_TRUE(grid->PasteIntoCurrentCell());
    EXPECT_EQ(grid->PendingChanges().Size(), 2u);
    ASSERT_TRUE(grid->UndoChange());
    EXPECT_EQ(RowTexts(*grid, 0)[1], "false");
}

TEST_F(TableGridRecordsTest, ADateThatIsNoDateIsRefusedNotCleared)
{
    auto grid = MakeGrid(EveryType());
    RowTexts(*grid, 0);
    EXPECT_FALSE(grid->ValidateCell(0, 2, "garbage"));
    EXPECT_FALSE(grid->ValidateCell(0, 2, "31.13.2001"));
    EXPECT_TRUE(grid->ValidateCell(0, 2, ""));
    EXPECT_EQ(grid->PendingChanges().Item(grid->PendingChanges().ItemCount() - 1).newText, "");
}

TEST_F(TableGridRecordsTest, ClosingAsksYesNoCancelAndAFailedSaveStops)
{
    const std::string path = Names(3);
    testing_support::FaultyFileSystem faulty;
    table::TableDatabase failing(faulty);
    ASSERT_TRUE(failing.SetDatabaseDirectory(dir.Path()));
    CTableWndGrid grid(&host);
    ASSERT_TRUE(grid.OpenTable(path, &failing));
    ASSERT_TRUE(grid.Create("DBGrid", &images, 0));
    EXPECT_TRUE(grid.ConfirmPendingChanges()); // nothing pending: nothing asked
    grid.SetCurrentCell(0, 0);
    ASSERT_TRUE(grid.DeleteRecord());
    const auto before = ReadAllBytes(path);
    {
        ScriptedPrompt prompt { platform::IDCANCEL, platform::IDNO };
        EXPECT_FALSE(grid.ConfirmPendingChanges());
        EXPECT_EQ(prompt.Asked(0).text, "The table names has been changed. Save changes to the file?");
        EXPECT_TRUE(grid.ConfirmPendingChanges());
    }
    EXPECT_EQ(ReadAllBytes(path), before);
    EXPECT_TRUE(grid.HasPendingChanges());
    faulty.failWriteFrom = faulty.writes + 1;
    {
        ScriptedPrompt prompt { platform::IDYES, platform::IDOK };
        EXPECT_FALSE(grid.ConfirmPendingChanges());
        EXPECT_EQ(prompt.Asked(1).text, "Error occured while saving data.");
    }
    EXPECT_TRUE(grid.HasPendingChanges());
    EXPECT_EQ(ReadAllBytes(path), before);
    faulty.failWriteFrom = 0;
    {
        ScriptedPrompt prompt { platform::IDYES };
        EXPECT_TRUE(grid.ConfirmPendingChanges());
    }
    EXPECT_FALSE(grid.HasPendingChanges());
    EXPECT_TRUE(Deleted(grid, 1));
}

// Pack without saving first: the changes named records the pack moved, so they go.
TEST_F(TableGridRecordsTest, PackAsksTwiceAndDropsWhatWasNotSaved)
{
    const std::string path = Names(6);
    auto grid = MakeGrid(path);
    grid->SetCurrentCell(0, 0);
    ASSERT_TRUE(grid->DeleteRecord());
    ASSERT_TRUE(grid->ValidateCell(4, 0, "Edited"));
    {
        ScriptedPrompt prompt { platform::IDCANCEL, platform::IDNO };
        EXPECT_FALSE(grid->PackTable()); // not packed: the changes stay
        EXPECT_EQ(prompt.Asked(0).text.substr(0, 40), "It is recommended that all unsaved chang");
        EXPECT_TRUE(prompt.Asked(1).text.ends_with("\n\nPack the table names ?"));
    }
    EXPECT_TRUE(grid->HasPendingChanges());
    {
        ScriptedPrompt prompt { platform::IDCANCEL, platform::IDYES };
        EXPECT_TRUE(grid->PackTable());
    }
    EXPECT_FALSE(grid->HasPendingChanges());
    EXPECT_EQ(grid->GetTable()->RecordCount(), 4u); // records 3 and 6 were deleted in the file
    EXPECT_EQ(grid->GetRowCount(), 4);
    EXPECT_EQ(RowTexts(*grid, 0)[0], "Name1"); // its pending mark was dropped, not applied
    EXPECT_EQ(RowTexts(*grid, 3)[0], "Name5"); // not "Edited": that edit was on record 5 before
    EXPECT_NE(std::find(host.mainHistory.begin(), host.mainHistory.end(), "Packing table..."),
        host.mainHistory.end());
    EXPECT_EQ(host.main[0], "Press F1 for help");

    // Saving first (OK): the mark is written, then packed away.
    grid->SetCurrentCell(0, 0);
    ASSERT_TRUE(grid->DeleteRecord());
    {
        ScriptedPrompt prompt { platform::IDOK, platform::IDYES };
        EXPECT_TRUE(grid->PackTable());
    }
    EXPECT_EQ(grid->GetTable()->RecordCount(), 3u);
    EXPECT_EQ(RowTexts(*grid, 0)[0], "Name2");
}

TEST_F(TableGridRecordsTest, PackWithoutTheMemoFileSaysWhichFileIsMissing)
{
    const std::string path = EveryType();
    std::remove(dir.File("every.dbt").c_str());
    auto grid = MakeGrid(path);
    const auto before = ReadAllBytes(path);
    ScriptedPrompt prompt { platform::IDOK };
    EXPECT_FALSE(grid->PackTable());
    EXPECT_EQ(prompt.Asked(0).text, "The memo file " + dir.File("every.dbt")
            + " is missing or damaged. The table cannot be packed without it.");
    EXPECT_EQ(ReadAllBytes(path), before);
}

// After a save, another program's index beside the table is offered for deletion.
TEST_F(TableGridRecordsTest, ASaveOffersToDeleteTheStaleIndexFile)
{
    const std::string path = Names(3, "idx.dbf");
    testing_support::WriteAllBytes(dir.File("IDX.CDX"), { 1, 2, 3 });
    auto grid = MakeGrid(path);
    ASSERT_TRUE(grid->SaveChanges(true, nullptr)); // nothing pending: nothing offered
    EXPECT_TRUE(host.indexQuestions.empty());
    grid->SetCurrentCell(0, 0);
    ASSERT_TRUE(grid->DeleteRecord());
    host.deleteIndex = false;
    ASSERT_TRUE(grid->SaveChanges(true, nullptr));
    ASSERT_EQ(host.indexQuestions, std::vector<std::string> { path });
    EXPECT_TRUE(std::filesystem::exists(dir.File("IDX.CDX")));

    host.deleteIndex = true;
    ASSERT_TRUE(grid->UndeleteRecord());
    {
        ScriptedPrompt prompt { platform::IDOK };
        ASSERT_TRUE(grid->SaveChanges(true, nullptr));
        EXPECT_EQ(prompt.Asked(0).text, "The index file has been deleted.");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("IDX.CDX")));
}

TEST_F(TableGridRecordsTest, APackOffersToDeleteTheStaleIndexFileToo)
{
    const std::string path = Names(6, "idx.dbf");
    testing_support::WriteAllBytes(dir.File("idx.cdx"), { 1 });
    auto grid = MakeGrid(path);
    host.deleteIndex = false;
    ScriptedPrompt prompt { platform::IDYES };
    ASSERT_TRUE(grid->PackTable());
    EXPECT_EQ(host.indexQuestions, std::vector<std::string> { path });
}

TEST_F(TableGridRecordsTest, AnIndexFileThatCannotBeDeletedSaysSo)
{
    const std::string path = Names(3, "idx.dbf");
    testing_support::WriteAllBytes(dir.File("idx.cdx"), { 1 });
    testing_support::FaultyFileSystem faulty;
    faulty.failRemoves = true;
    table::TableDatabase failing(faulty);
    ASSERT_TRUE(failing.SetDatabaseDirectory(dir.Path()));
    CTableWndGrid grid(&host);
    ASSERT_TRUE(grid.OpenTable(path, &failing));
    ASSERT_TRUE(grid.Create("DBGrid", &images, 0));
    grid.SetCurrentCell(0, 0);
    ASSERT_TRUE(grid.DeleteRecord());
    ScriptedPrompt prompt { platform::IDOK };
    ASSERT_TRUE(grid.SaveChanges(true, nullptr)); // the save itself stands
    EXPECT_EQ(prompt.Asked(0).text, "Error occured while deleting the index file.");
    EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kStop);
    EXPECT_TRUE(std::filesystem::exists(dir.File("idx.cdx")));
    EXPECT_FALSE(grid.HasPendingChanges());
    EXPECT_TRUE(Deleted(grid, 1));
}

// The boxes the record commands show, as a person sees them.
TEST(RecordQuestionsScreenshotTest, EveryBoxOfTheRecordCommands)
{
    using platform::PromptButtons;
    using platform::PromptIcon;
    struct Box
    {
        const char* name;
        std::string text;
        PromptButtons buttons;
        PromptIcon icon;
    };
    const std::string path = "/home/user/data/orders.dbf";
    const Box boxes[] = {
        { "question_delete_all", platform::LoadString(IDS_DELETE_ALL_QUESTION), PromptButtons::kYesNo, PromptIcon::kQuestion },
        { "question_undelete_filtered", platform::LoadString(IDS_UNDELETE_FILTERED_QUESTION), PromptButtons::kYesNo, PromptIcon::kQuestion },
        { "question_save_before_pack", platform::LoadString(IDS_SAVE_BEFORE_PACK), PromptButtons::kOkCancel, PromptIcon::kQuestion },
        { "question_pack", platform::FormatText(platform::LoadString(IDS_PACK_QUESTION), { std::string("orders") }), PromptButtons::kYesNo, PromptIcon::kQuestion },
        { "question_save_changes", platform::FormatText(platform::LoadString(IDS_SAVE_CHANGES_QUESTION), { std::string("orders") }), PromptButtons::kYesNoCancel, PromptIcon::kQuestion },
        { "question_too_many_changes", platform::LoadString(IDS_TOO_MANY_CHANGES), PromptButtons::kOkCancel, PromptIcon::kQuestion },
        { "message_memo_missing", platform::FormatText(platform::LoadString(IDS_MEMO_FILE_MISSING), { std::string("/home/user/data/orders.dbt") }), PromptButtons::kOk, PromptIcon::kStop },
        { "message_pack_failed", platform::FormatText(platform::LoadString(IDS_PACK_FAILED), { std::string("orders") }), PromptButtons::kOk, PromptIcon::kStop },
        { "message_index_deleted", platform::LoadString(IDS_INDEX_DELETED), PromptButtons::kOk, PromptIcon::kInformation },
        { "message_save_error", platform::LoadString(IDS_SAVE_DATA_ERROR), PromptButtons::kOk, PromptIcon::kStop },
    };
    QDir().mkpath(QStringLiteral(LUMETTA_SCREENSHOT_DIR));
    for (const Box& box : boxes) {
        ASSERT_FALSE(box.text.empty()) << box.name;
        auto shown = platform::qt::MakePromptBox("Lumetta", box.text, box.buttons, box.icon, nullptr);
        shown->show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(shown->grab().save(QStringLiteral(LUMETTA_SCREENSHOT_DIR "/")
            + QString::fromLatin1(box.name) + QStringLiteral(".png")));
        shown->hide();
    }
}

} // namespace
} // namespace tablegrid
