// Find and Replace of a table window, end to end: the commands open the window's one Search
// dialog from the keys, the menus, the context menu and the tool bar, and the dialog's
// buttons move the cursor of the grid behind it and leave pending edits there.

#include "shell/child_frame.h"

#include "grid/grid_impl.h"
#include "platform/prompt.h"
#include "resources/resource_ids.h"
#include "shell/command_menus.h"
#include "shell/dialogs/search_dialog.h"
#include "shell/main_frame.h"
#include "shell/main_status_bar.h"
#include "shell/tool_bar.h"
#include "tablegrid/table_wnd_grid.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/table_builder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

using shell::CChildFrame;
using shell::CSearchDialog;
using testing_support::ScriptedPrompt;

// What a Search dialog was like when it showed.
struct Opening
{
    CSearchDialog* dialog = nullptr; // null: it never showed
    bool replaceMode = false;
    std::string title;
};

class ChildFrameSearchTest : public shell_testing::ShellTest
{
protected:
    // Twelve records: NAME "Name0".."Name11", SUM 0.00, 1.50, ... 16.50.
    CChildFrame* StartWithGoods()
    {
        Start({ WriteTable("goods.dbf", 12) });
        CChildFrame* window = Main().TableWindows().at(0);
        Main().ActivateTaskWindow(window);
        Main().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Main()));
        window->Grid()->setFocus();
        return window;
    }

    // Runs `open`; once the Search dialog shows, modal, `drive` works it, and it is closed.
    static Opening WhenSearchShows(
        const std::function<void()>& open, const std::function<void(CSearchDialog&)>& drive = {})
    {
        Opening opening;
        QTimer::singleShot(0, [&opening, &drive] {
            auto* dialog = qobject_cast<CSearchDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            opening = { dialog, dialog->ReplaceMode(), dialog->windowTitle().toStdString() };
            if (drive)
                drive(*dialog);
            dialog->findChild<QPushButton*>(QStringLiteral("IDCANCEL"))->click();
        });
        open();
        return opening;
    }

    static void Type(CSearchDialog& dialog, const char* box, const char* text)
    {
        QLineEdit* edit = dialog.findChild<QComboBox*>(QString::fromLatin1(box))->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, QString::fromLatin1(text));
    }
    static void Press(CSearchDialog& dialog, const char* button)
    {
        dialog.findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    }

    static std::pair<int, int> Cell(const CChildFrame* window)
    {
        return { window->Grid()->GetCurrentRow(), window->Grid()->GetCurrentColumn() };
    }
    static std::string CellText(CChildFrame* window, int row, int column)
    {
        window->Grid()->EnsureRowsCached(row, row);
        const auto* cached = window->Grid()->FindCachedRow(row);
        return cached ? cached->texts.at(static_cast<std::size_t>(column)) : std::string();
    }
    static bool CellFramed(const CChildFrame* window)
    {
        return window->Grid()->GetCurrentImpl()->IsFocused();
    }

    // The main window with the dialog drawn where it shows over it, under a plain caption
    // bar (the offscreen windows have no frames), as a person sees them.
    void ScreenshotWithDialog(const char* name, QDialog& dialog) const
    {
        QPixmap shot = Main().grab();
        QPainter painter(&shot);
        const QPoint at = dialog.geometry().topLeft() - Main().geometry().topLeft();
        const int captionHeight = dialog.fontMetrics().height() + 8;
        const QRect caption(at.x(), at.y() - captionHeight, dialog.width(), captionHeight);
        painter.fillRect(caption, dialog.palette().color(QPalette::Highlight));
        painter.setPen(dialog.palette().color(QPalette::HighlightedText));
        painter.drawText(
            caption.adjusted(8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, dialog.windowTitle());
        painter.drawPixmap(at, dialog.grab());
        painter.setPen(Qt::darkGray);
        painter.drawRect(
            QRect(caption.topLeft(), QSize(dialog.width(), dialog.height() + captionHeight))
                .adjusted(-1, -1, 0, 0));
        painter.end();
        QDir().mkpath(QStringLiteral(LUMETTA_SCREENSHOT_DIR));
        EXPECT_TRUE(shot.save(
            QStringLiteral(LUMETTA_SCREENSHOT_DIR "/%1.png").arg(QString::fromLatin1(name))));
    }
};

TEST_F(ChildFrameSearchTest, FindAndReplaceWantAnOpenTable)
{
    ScriptedPrompt prompt;
    Start();
    EXPECT_FALSE(Main().Router().Query(ID_EDIT_FIND).enabled);
    EXPECT_FALSE(Main().Router().Query(ID_EDIT_REPLACE).enabled);

    app->OpenTableFile(WriteTable("goods.dbf"));
    EXPECT_TRUE(Main().Router().Query(ID_EDIT_FIND).enabled);
    EXPECT_TRUE(Main().Router().Query(ID_EDIT_REPLACE).enabled);
    EXPECT_TRUE(Main().CommandBar()->Button(ID_EDIT_FIND)->isEnabled());
    EXPECT_TRUE(prompt.Questions().empty());
}

TEST_F(ChildFrameSearchTest, CtrlFFindsCellAfterCellInTheWindowBehindTheDialog)
{
    ScriptedPrompt prompt;
    CChildFrame* window = StartWithGoods();
    std::vector<std::pair<int, int>> found;
    bool framed = true;
    QString tableName;
    const Opening opening = WhenSearchShows(
        [window] { QTest::keyClick(window->Grid(), Qt::Key_F, Qt::ControlModifier); },
        [&](CSearchDialog& dialog) {
            // The dialog has the focus, as on a desktop, and the grid behind it has not.
            QApplication::setActiveWindow(&dialog);
            EXPECT_FALSE(window->Grid()->hasFocus());
            tableName = dialog.findChild<QLabel*>(QStringLiteral("IDC_SEARCH_TABLE_NAME"))->text();
            Type(dialog, "IDC_FIND_TEXT", "1");
            for (int i = 0; i < 3; ++i) {
                Press(dialog, "IDOK");
                found.push_back(Cell(window));
                framed = framed && CellFramed(window);
            }
            ScreenshotWithDialog("search_dialog_find_over_window", dialog);
            QTest::mouseClick(
                dialog.findChild<QRadioButton*>(QStringLiteral("IDC_SEARCH_BACKWARD")),
                Qt::LeftButton);
            Press(dialog, "IDOK");
            found.push_back(Cell(window));
            // Nothing more: the box says so and the cursor stays.
            prompt.Answer({ platform::IDOK });
            Type(dialog, "IDC_FIND_TEXT", "zzz");
            Press(dialog, "IDOK");
            found.push_back(Cell(window));
        });
    ASSERT_NE(opening.dialog, nullptr);
    EXPECT_FALSE(opening.replaceMode);
    EXPECT_EQ(opening.title, "Search");
    EXPECT_EQ(tableName, QStringLiteral("goods"));
    // The first search over the entire scope starts at the top, the next ones go on from
    // the cell found: Name1, its 1.50, then 10.50 on row 8; backward again to 1.50.
    EXPECT_EQ(found,
        (std::vector<std::pair<int, int>> { { 1, 0 }, { 1, 1 }, { 7, 1 }, { 1, 1 }, { 1, 1 } }));
    EXPECT_TRUE(framed);
    EXPECT_EQ(prompt.Texts(), std::vector<std::string> { "Cannot find the string 'zzz'" });
    EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kStop);
    EXPECT_EQ(Main().StatusPanes()->PaneText(0), QStringLiteral("Press F1 for help"));
    EXPECT_TRUE(window->FrameStatusText(0).startsWith(QStringLiteral("Row  2  of  12,")))
        << window->FrameStatusText(0).toStdString();

    // Closed, the grid frames its cell only while it has the focus again.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(CellFramed(window));
}

TEST_F(ChildFrameSearchTest, CtrlHReplacesCellByCellAndAllAtOnceAsOneUndoStep)
{
    ScriptedPrompt prompt;
    CChildFrame* window = StartWithGoods();
    const std::vector<std::uint8_t> file = testing_support::ReadAllBytes(tables.File("goods.dbf"));
    std::vector<std::pair<int, int>> found;
    const Opening opening = WhenSearchShows(
        [window] { QTest::keyClick(window->Grid(), Qt::Key_H, Qt::ControlModifier); },
        [&](CSearchDialog& dialog) {
            Type(dialog, "IDC_FIND_TEXT", "name");
            Type(dialog, "IDC_REPLACE_TEXT", "Item");
            dialog.findChild<QComboBox*>(QStringLiteral("IDC_SEARCH_COLUMN"))->setCurrentIndex(1);
            // No cell is current yet: nothing to replace, the first one is found.
            Press(dialog, "IDC_REPLACE");
            found.push_back(Cell(window));
            Press(dialog, "IDC_REPLACE");
            found.push_back(Cell(window));
            ScreenshotWithDialog("search_dialog_replace_over_window", dialog);
            prompt.Answer({ platform::IDOK });
            Press(dialog, "IDC_REPLACE_ALL");
        });
    ASSERT_NE(opening.dialog, nullptr);
    EXPECT_TRUE(opening.replaceMode);
    EXPECT_EQ(opening.title, "Replace");
    EXPECT_EQ(found, (std::vector<std::pair<int, int>> { { 0, 0 }, { 1, 0 } }));
    EXPECT_EQ(prompt.Texts(),
        std::vector<std::string> { "Search complete.\n\n11 replaces have been done." });
    EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kInformation);
    for (int row = 0; row < 12; ++row)
        EXPECT_EQ(CellText(window, row, 0), "Item" + std::to_string(row)) << row;
    EXPECT_EQ(window->Grid()->PendingChanges().Size(), 12u);
    EXPECT_EQ(window->Grid()->FindCachedRow(5)->textColors[0], grid::kRedColor);
    EXPECT_NE(window->windowTitle().indexOf(QLatin1String(" *")), -1);
    // Nothing was written: the replacements wait for a save.
    EXPECT_EQ(testing_support::ReadAllBytes(tables.File("goods.dbf")), file);

    // The window keeps its dialog: Find opens it again with the texts of last time.
    QString findText;
    std::vector<std::string> replaced;
    const Opening find = WhenSearchShows(
        [this] { EXPECT_TRUE(Main().Router().Execute(ID_EDIT_FIND)); },
        [&](CSearchDialog& dialog) {
            findText = dialog.findChild<QComboBox*>(QStringLiteral("IDC_FIND_TEXT"))->currentText();
            replaced = dialog.ReplaceHistory();
        });
    EXPECT_EQ(find.dialog, opening.dialog);
    EXPECT_FALSE(find.replaceMode);
    EXPECT_EQ(findText, QStringLiteral("name"));
    EXPECT_EQ(replaced, std::vector<std::string> { "Item" });
}

TEST_F(ChildFrameSearchTest, TheMenusTheContextMenuAndTheToolBarOpenIt)
{
    ScriptedPrompt prompt;
    CChildFrame* window = StartWithGoods();
    QMenu* edit = nullptr;
    for (QAction* action : Main().menuBar()->actions()) {
        if (action->text() == QStringLiteral("&Edit"))
            edit = action->menu();
    }
    ASSERT_NE(edit, nullptr);
    Main().Menus().UpdateItems(edit);
    auto item = [](QMenu* menu, const char* text) {
        for (QAction* action : menu->actions()) {
            if (action->text() == QString::fromLatin1(text))
                return action;
        }
        ADD_FAILURE() << text;
        return static_cast<QAction*>(nullptr);
    };
    const Opening fromMenu = WhenSearchShows([&] { item(edit, "&Find...\tCtrl+F")->trigger(); });
    EXPECT_NE(fromMenu.dialog, nullptr);
    EXPECT_FALSE(fromMenu.replaceMode);
    const Opening replaceFromMenu
        = WhenSearchShows([&] { item(edit, "R&eplace...\tCtrl+H")->trigger(); });
    EXPECT_TRUE(replaceFromMenu.replaceMode);
    const Opening fromToolBar
        = WhenSearchShows([this] { Main().CommandBar()->Button(ID_EDIT_FIND)->trigger(); });
    EXPECT_FALSE(fromToolBar.replaceMode);

    Opening fromContextMenu;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        QAction* replace = item(menu, "R&eplace...\tCtrl+H");
        menu->close();
        if (replace)
            fromContextMenu = WhenSearchShows([replace] { replace->trigger(); });
    });
    QWidget* viewport = window->Grid()->viewport();
    QContextMenuEvent click(
        QContextMenuEvent::Mouse, QPoint(20, 40), viewport->mapToGlobal(QPoint(20, 40)));
    QApplication::sendEvent(viewport, &click);
    EXPECT_TRUE(fromContextMenu.replaceMode);

    // Always the window's one dialog.
    EXPECT_EQ(replaceFromMenu.dialog, fromMenu.dialog);
    EXPECT_EQ(fromToolBar.dialog, fromMenu.dialog);
    EXPECT_EQ(fromContextMenu.dialog, fromMenu.dialog);
    EXPECT_TRUE(prompt.Questions().empty());
}

} // namespace
