#include "shell/main_frame.h"

#include "platform/prompt.h"
#include "resources/resource_ids.h"
#include "shell/about_dialog.h"
#include "shell/app_font.h"
#include "shell/child_frame.h"
#include "shell/command_menus.h"
#include "shell/font_bar.h"
#include "shell/main_status_bar.h"
#include "shell/table_bar.h"
#include "shell/tool_bar.h"
#include "table/table.h"
#include "tablegrid/table_wnd_grid.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/scripted_prompt.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

using shell::CChildFrame;
using shell_testing::ShellTest;
using testing_support::ScriptedPrompt;

QStringList MenuTitles(QMenuBar* bar)
{
    QStringList titles;
    for (QAction* action : bar->actions())
        titles << action->text();
    return titles;
}

QStringList TabTexts(const shell::TableTabBar* tabs)
{
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    return texts;
}

class MainFrameTest : public ShellTest
{ };

TEST_F(MainFrameTest, MenusAndCommandStatesFollowTheActiveTableWindow)
{
    ScriptedPrompt prompt;
    Start();
    EXPECT_EQ(MenuTitles(Main().menuBar()),
        (QStringList { QStringLiteral("&File"), QStringLiteral("&View"), QStringLiteral("&Help") }));
    EXPECT_FALSE(Main().Router().Query(ID_FILE_SAVE).enabled);
    EXPECT_TRUE(Main().Router().Query(ID_FILE_OPEN).enabled);

    app->OpenTableFile(WriteTable("goods.dbf"));
    EXPECT_EQ(Main().CurrentMenu(), IDR_TABLE_MENU);
    EXPECT_EQ(MenuTitles(Main().menuBar()).size(), 7);
    const shell::CommandRouter& router = Main().Router();
    EXPECT_TRUE(router.Query(ID_FILE_SAVE).enabled);
    EXPECT_TRUE(router.Query(ID_VIEW_FORM).checkable);
    EXPECT_FALSE(router.Query(ID_VIEW_FORM).checked);
    EXPECT_EQ(router.Query(ID_FILE_OPEN_IN_DIRECTORY).text, "Open &in " + tables.Path());
    // Commands the program does not have yet show disabled.
    EXPECT_FALSE(router.Query(ID_CLASSIFIERS_REGION).enabled);
    EXPECT_FALSE(Main().CommandBar()->Button(ID_CLASSIFIERS_REGION)->isEnabled());
    EXPECT_TRUE(Main().CommandBar()->Button(ID_FILE_SAVE)->isEnabled());

    // The File menu shows the recent list in place of its "Recent table" item.
    QMenu* file = Main().menuBar()->actions().first()->menu();
    Main().Menus().UpdateItems(file);
    QStringList texts;
    for (QAction* action : file->actions()) {
        if (action->isVisible())
            texts << action->text();
    }
    EXPECT_TRUE(texts.filter(QStringLiteral("goods.dbf")).size() == 1) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(texts.contains(QStringLiteral("Recent table")));

    Main().ActiveTableWindow()->close();
    QApplication::processEvents();
    EXPECT_EQ(Main().CurrentMenu(), IDR_MAIN_MENU);
    EXPECT_FALSE(Main().CommandBar()->Button(ID_FILE_SAVE)->isEnabled());
}

TEST_F(MainFrameTest, OldCommonControlsHaveNoFontBarNorTableBar)
{
    ScriptedPrompt prompt;
    Start({}, { 4, 70 });
    EXPECT_EQ(Main().FontBarWidget(), nullptr);
    EXPECT_EQ(Main().TableBar(), nullptr);
    EXPECT_FALSE(Main().Router().Query(ID_VIEW_FONT_BAR).enabled);
    shell::CAboutDlg old({ 4, 70 }, {}, &Main());
    const auto* note = old.findChild<QLabel*>(QStringLiteral("IDC_ABOUT_BARS_NOTE"));
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->text().contains(QStringLiteral("the installed version is 4.70.")));
    old.adjustSize();
    Screenshot("about_old_controls", &old);
    Screenshot("main_window_old_controls");

    shell::CAboutDlg current({ 4, 71 }, {}, &Main());
    EXPECT_EQ(current.findChild<QLabel*>(QStringLiteral("IDC_ABOUT_BARS_NOTE")), nullptr);
    EXPECT_EQ(current.findChild<QLabel*>(QStringLiteral("IDC_VERSION"))->text(),
        shell::CAboutDlg::ProgramVersion());
    EXPECT_FALSE(shell::CAboutDlg::ProgramVersion().isEmpty());
}

TEST_F(MainFrameTest, TabsFollowTheWindowsAndBringMinimizedOnesBack)
{
    ScriptedPrompt prompt;
    Start({ WriteTable("a.dbf"), WriteTable("b.dbf") });
    ASSERT_NE(Main().FontBarWidget(), nullptr);
    // A file dropped on the main window opens like any other.
    QMimeData mime;
    mime.setUrls({ QUrl::fromLocalFile(QString::fromStdString(WriteTable("c.dbf"))) });
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Main(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Main(), &drop);

    const shell::TableTabBar* tabs = Main().Tabs();
    EXPECT_EQ(TabTexts(tabs), (QStringList { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c") }));
    EXPECT_EQ(tabs->toolTip(), QString());
    EXPECT_EQ(tabs->tabToolTip(0), QStringLiteral("Table %1").arg(QString::fromStdString(tables.File("a"))).left(79));
    Main().ActiveTableWindow()->Grid()->SetCurrentCell(1, 1);
    Screenshot("main_window_three_tables");

    std::vector<CChildFrame*> windows = Main().TableWindows();
    ASSERT_EQ(windows.size(), 3u);
    windows[1]->close();
    QApplication::processEvents();
    EXPECT_EQ(TabTexts(tabs), (QStringList { QStringLiteral("a"), QStringLiteral("c") }));

    CChildFrame* c = Main().TableWindows()[1];
    Main().ActivateTaskWindow(c);
    EXPECT_EQ(tabs->currentIndex(), 1);
    c->showMinimized();
    QApplication::processEvents();
    EXPECT_FALSE(c->isVisible());
    EXPECT_FALSE(tabs->HasSelection());
    EXPECT_EQ(Main().ActiveTableWindow(), nullptr);

    emit Main().Tabs()->WindowClicked(c);
    EXPECT_TRUE(c->isVisible());
    EXPECT_FALSE(c->isMinimized());
    EXPECT_TRUE(tabs->HasSelection());
    EXPECT_EQ(Main().ActiveTableWindow(), c);
}

TEST_F(MainFrameTest, FontBarGivesEveryGridTheChosenFaceAndSizeKeepingTheStyle)
{
    ScriptedPrompt prompt;
    WriteSettings("[Font]\r\nFaceName=Courier New\r\nHight=-13\r\nWeight=700\r\nItalic=1\r\n");
    Start({ WriteTable("a.dbf"), WriteTable("b.dbf") });
    shell::FontBar* bar = Main().FontBarWidget();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->SizeList()->currentText(), QStringLiteral("10"));
    ASSERT_GT(bar->FaceList()->count(), 0);
    const QString face = bar->FaceList()->itemText(0);
    bar->FaceList()->setCurrentIndex(0);
    bar->SizeList()->setCurrentIndex(bar->SizeList()->findText(QStringLiteral("14")));
    emit bar->SizeList()->activated(bar->SizeList()->currentIndex());

    const int pixels = -app->CurrentFontRecord()->height;
    EXPECT_EQ(pixels, (14 * shell::ScreenDpi() + 36) / 72);
    for (const CChildFrame* window : Main().TableWindows()) {
        const QFont& font = window->Grid()->GetGridFont();
        EXPECT_EQ(font.family(), face);
        EXPECT_EQ(font.pixelSize(), pixels);
        EXPECT_TRUE(font.bold());
        EXPECT_TRUE(font.italic());
    }
    EXPECT_EQ(app->CurrentFontRecord()->charSet, 204);
    EXPECT_EQ(bar->SizeList()->currentText(), QStringLiteral("14"));

    // A size the bar cannot apply changes nothing and shows the size in use.
    bar->SizeList()->setEditText(QStringLiteral("40"));
    emit bar->SizeList()->activated(-1);
    EXPECT_EQ(-app->CurrentFontRecord()->height, pixels);
    EXPECT_EQ(bar->SizeList()->currentText(), QStringLiteral("14"));
}

TEST_F(MainFrameTest, ASizeTypedInTheFontBarAppliesWhenTheTypingEnds)
{
    ScriptedPrompt prompt;
    Start({ WriteTable("a.dbf") });
    shell::FontBar* bar = Main().FontBarWidget();
    ASSERT_NE(bar, nullptr);
    QLineEdit* edit = bar->SizeList()->lineEdit();
    const auto pixels = [](int points) { return (points * shell::ScreenDpi() + 36) / 72; };
    const auto gridPixels
        = [this] { return Main().TableWindows()[0]->Grid()->GetGridFont().pixelSize(); };
    const auto type = [edit](const char* text) {
        edit->clear();
        QTest::keyClicks(edit, QString::fromLatin1(text));
    };

    type("15"); // not in the list
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(gridPixels(), pixels(15));
    EXPECT_EQ(-app->CurrentFontRecord()->height, pixels(15));
    EXPECT_EQ(bar->SizeList()->currentText(), QStringLiteral("15"));

    // Leaving the box ends the typing too.
    type("22");
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &leave);
    EXPECT_EQ(gridPixels(), pixels(22));

    // Anything but a size of 8 to 25 puts back the size in use.
    for (const char* text : { "7", "26", "big" }) {
        type(text);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(bar->SizeList()->currentText(), QStringLiteral("22")) << text;
        EXPECT_EQ(gridPixels(), pixels(22)) << text;
    }
}

// OK in the font dialog without a change must leave every window and the saved font alone,
// also for a face the display shows through a substitute and for a family whose first
// style is not its regular one.
TEST_F(MainFrameTest, FontDialogOpensOnTheFontInUseSoOkChangesNothing)
{
    for (const char* face : { "Courier New", "DejaVu Sans" }) {
        SCOPED_TRACE(face);
        if (std::string(face) == "DejaVu Sans"
            && !QFontDatabase::hasFamily(QString::fromLatin1(face)))
            continue;
        ScriptedPrompt prompt;
        WriteSettings(std::string("[Font]\r\nFaceName=") + face + "\r\nHight=-13\r\n");
        Start({ WriteTable("a.dbf") });
        const shell::FontRecord before = *app->CurrentFontRecord();
        const QFont gridFont = Main().TableWindows()[0]->Grid()->GetGridFont();
        QFont offered;
        QTimer::singleShot(0, [&offered] {
            if (auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget())) {
                offered = dialog->currentFont();
                dialog->accept();
            }
        });
        EXPECT_TRUE(Main().Router().Execute(ID_VIEW_FONT));

        const QFontInfo inUse(gridFont);
        EXPECT_EQ(offered.family().toStdString(), inUse.family().toStdString());
        EXPECT_EQ(offered.styleName().toStdString(), inUse.styleName().toStdString());
        EXPECT_FALSE(offered.italic());
        EXPECT_EQ(offered.pointSize(), 10);
        EXPECT_EQ(*app->CurrentFontRecord(), before);
        EXPECT_EQ(Main().TableWindows()[0]->Grid()->GetGridFont(), gridFont);
        app->ExitInstance();
        EXPECT_NE(SettingsText().find(std::string("FaceName=") + face + "\r\nHight=-13\r\n"),
            std::string::npos);
        app.reset();
    }
}

// Windows that were only ever maximized have a small normal size; arranged, they must still
// fill the window area usefully. The caption names the active table's document while its
// window is not maximized.
TEST_F(MainFrameTest, ArrangedWindowsTakeMostOfTheAreaAndTheCaptionNamesTheActiveTable)
{
    ScriptedPrompt prompt;
    Start({ WriteTable("a.dbf"), WriteTable("b.dbf"), WriteTable("c.dbf") });
    Main().setWindowState(Qt::WindowNoState);
    Main().resize(1600, 1000);
    QApplication::processEvents();
    const QSize area = Main().MdiArea()->viewport()->size();
    const std::vector<CChildFrame*> windows = Main().TableWindows();
    EXPECT_EQ(Main().windowTitle(),
        QStringLiteral("Lumetta - [Table %1]").arg(QString::fromStdString(tables.File("c"))));

    EXPECT_TRUE(Main().Router().Execute(ID_WINDOW_CASCADE));
    QApplication::processEvents();
    for (const CChildFrame* window : windows) {
        EXPECT_FALSE(window->isMaximized());
        EXPECT_GE(window->width(), area.width() * 2 / 3);
        EXPECT_GE(window->height(), area.height() / 2);
        EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(window->geometry()));
    }
    EXPECT_LT(windows[0]->y(), windows[1]->y());
    EXPECT_LT(windows[1]->y(), windows[2]->y());
    EXPECT_EQ(Main().ActiveTableWindow(), windows[2]);
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Lumetta - c.dbf"));
    Screenshot("main_window_cascaded");

    Main().ActivateTaskWindow(windows[0]);
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Lumetta - a.dbf"));
    windows[0]->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(Main().windowTitle(),
        QStringLiteral("Lumetta - [Table %1]").arg(QString::fromStdString(tables.File("a"))));
    windows[0]->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Lumetta - a.dbf"));

    windows[0]->showMaximized();
    EXPECT_TRUE(Main().Router().Execute(ID_WINDOW_TILE_HORZ));
    QApplication::processEvents();
    int covered = 0;
    for (const CChildFrame* window : windows) {
        EXPECT_FALSE(window->isMaximized());
        covered += window->width() * window->height();
    }
    EXPECT_GE(covered, area.width() * area.height() * 9 / 10);

    for (CChildFrame* window : windows)
        window->close();
    QApplication::processEvents();
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Lumetta"));
}

TEST_F(MainFrameTest, ExitAsksTheWindowsInOrderAndStopsAtTheFirstRefusal)
{
    const std::string a = WriteTable("a.dbf");
    const std::string c = WriteTable("c.dbf");
    const auto cBefore = testing_support::ReadAllBytes(c);
    Start({ a, WriteTable("b.dbf"), c });
    for (CChildFrame* window : Main().TableWindows()) {
        tablegrid::PendingChange change;
        change.kind = tablegrid::PendingChange::Kind::kMarkDeleted;
        change.recordNumber = 2;
        ASSERT_TRUE(window->Grid()->AddPendingChange(change, false));
        window->UpdateTitle();
    }
    Screenshot("main_window_changed_tables");
    const auto question = [](const char* name) {
        return "The table " + std::string(name) + " has been changed. Save changes to the file?";
    };
    {
        // a is saved, b refuses: c is not asked.
        ScriptedPrompt prompt { platform::IDYES, platform::IDCANCEL };
        EXPECT_TRUE(Main().Router().Execute(ID_APP_EXIT));
        EXPECT_EQ(prompt.Texts(), (std::vector<std::string> { question("a"), question("b") }));
    }
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(Main().TableWindows()[0]->Grid()->HasPendingChanges());
    table::CTable* saved = Main().TableWindows()[0]->Grid()->GetTable();
    ASSERT_TRUE(saved->GoTo(2));
    EXPECT_TRUE(saved->IsDeleted());
    {
        // A save that fails on Yes refuses too; a, saved, is not asked again.
        ScriptedPrompt prompt { platform::IDNO, platform::IDYES, platform::IDOK };
        files.failWriteFrom = files.writes + 1;
        EXPECT_FALSE(Main().close());
        files.failWriteFrom = 0;
        EXPECT_EQ(prompt.Texts(),
            (std::vector<std::string> { question("b"), question("c"), "Error occured while saving data." }));
    }
    EXPECT_EQ(testing_support::ReadAllBytes(c), cBefore);
    EXPECT_TRUE(Main().TableWindows()[2]->Grid()->HasPendingChanges());
    ScriptedPrompt prompt { platform::IDNO, platform::IDNO };
    EXPECT_TRUE(Main().close());
}

} // namespace
