// The Bookmarks dialog over a set of windows the test makes up: the table list, the sorted
// bookmark list, Go with its failures on the message line, Add and Delete.

#include "shell/dialogs/bookmarks_dialog.h"

#include "tests/shell/dialogs/dialog_test_support.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <map>

namespace {

using dialog_testing::Control;
using shell::BookmarkLine;
using shell::CBookmarksDialog;

// Windows with their bookmarks; GoTo answers what the test sets for a name.
class FakeWindows final : public shell::BookmarkWindows
{
public:
    struct Window
    {
        QString title;
        std::vector<BookmarkLine> bookmarks;
    };

    int Count() const override { return static_cast<int>(windows.size()); }
    QString Title(int window) const override { return windows.at(static_cast<std::size_t>(window)).title; }
    std::vector<BookmarkLine> Bookmarks(int window) const override
    {
        return windows.at(static_cast<std::size_t>(window)).bookmarks;
    }
    int GoTo(int window, const std::string& name) override
    {
        wentTo.emplace_back(window, name);
        const auto found = results.find(name);
        return found == results.end() ? 0 : found->second;
    }
    bool Add(int window, QWidget* parent) override
    {
        addedOver = parent;
        windows.at(static_cast<std::size_t>(window)).bookmarks.push_back({ "added", 1, "NAME" });
        return true;
    }
    void Delete(int window, const std::string& name) override
    {
        auto& list = windows.at(static_cast<std::size_t>(window)).bookmarks;
        std::erase_if(list, [&name](const BookmarkLine& line) { return line.name == name; });
    }

    std::vector<Window> windows;
    std::map<std::string, int> results;
    std::vector<std::pair<int, std::string>> wentTo;
    QWidget* addedOver = nullptr;
};

class BookmarksDialogTest : public ::testing::Test
{
protected:
    BookmarksDialogTest()
    {
        windows.windows = {
            { QStringLiteral("Table /data/orders"),
                { { "beta", 12, "SUM" }, { "Alpha", 3, "NAME" }, { "alpha", 7, "NAME" },
                    { "\xC6\xE5\xED\xFF", 120000, "BORN" } } }, // cp1251 for a Cyrillic name
            { QStringLiteral("Table /data/people : 2"), { { "one", 1, "ID" } } },
        };
    }

    void Open()
    {
        dialog = std::make_unique<CBookmarksDialog>(windows);
        dialog_testing::Show(*dialog);
        table = Control<QComboBox>(*dialog, "IDC_BOOKMARK_TABLE");
        list = Control<QTreeWidget>(*dialog, "IDC_BOOKMARK_LIST");
        message = Control<QLabel>(*dialog, "IDC_BOOKMARK_MESSAGE");
        go = Control<QPushButton>(*dialog, "IDC_BOOKMARK_GO");
        del = Control<QPushButton>(*dialog, "IDC_BOOKMARK_DELETE");
    }

    std::vector<std::string> Column(int column) const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts.push_back(list->topLevelItem(i)->text(column).toStdString());
        return texts;
    }

    void Select(int row) { list->setCurrentItem(list->topLevelItem(row)); }

    FakeWindows windows;
    std::unique_ptr<CBookmarksDialog> dialog;
    QComboBox* table = nullptr;
    QTreeWidget* list = nullptr;
    QLabel* message = nullptr;
    QPushButton* go = nullptr;
    QPushButton* del = nullptr;
};

TEST_F(BookmarksDialogTest, ListsTheFirstWindowsBookmarksSortedByName)
{
    Open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Bookmarks"));
    ASSERT_EQ(table->count(), 2);
    EXPECT_EQ(table->currentText(), QStringLiteral("Table /data/orders"));
    EXPECT_EQ(table->itemText(1), QStringLiteral("Table /data/people : 2"));

    const QTreeWidgetItem* header = list->headerItem();
    EXPECT_EQ(header->text(0), QStringLiteral("Name"));
    EXPECT_EQ(header->text(1), QStringLiteral("Record"));
    EXPECT_EQ(header->text(2), QStringLiteral("Field"));
    EXPECT_EQ(list->columnWidth(0), 160);
    EXPECT_EQ(list->columnWidth(1), 60);
    EXPECT_EQ(list->columnWidth(2), 90);
    // Letter case aside, Cyrillic after Latin as in code page 1251.
    EXPECT_EQ(Column(0), (std::vector<std::string> { "Alpha", "alpha", "beta", "Женя" }));
    EXPECT_EQ(Column(1), (std::vector<std::string> { "3", "7", "12", "120000" }));
    EXPECT_EQ(Column(2), (std::vector<std::string> { "NAME", "NAME", "SUM", "BORN" }));
    EXPECT_EQ(list->topLevelItem(0)->textAlignment(1) & Qt::AlignRight, Qt::AlignRight);
    EXPECT_FALSE(go->isEnabled());
    EXPECT_FALSE(del->isEnabled());
    dialog_testing::Screenshot(*dialog, "bookmarks_dialog");
}

TEST_F(BookmarksDialogTest, GoSaysWhyABookmarkCannotBeReached)
{
    windows.results = { { "Alpha", 1 }, { "alpha", 2 }, { "beta", 3 } };
    Open();
    const char* messages[] = { "No such bookmark", "No record with such number", "No field with such name" };
    for (int row = 0; row < 3; ++row) {
        Select(row);
        EXPECT_TRUE(go->isEnabled());
        go->click();
        EXPECT_EQ(message->text().toStdString(), messages[row]);
        EXPECT_TRUE(dialog->isVisible());
    }
    // A double-click goes as Go does; the Cyrillic name reaches the window as its bytes.
    emit list->itemDoubleClicked(list->topLevelItem(3), 0);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_EQ(windows.wentTo.size(), 4u);
    EXPECT_EQ(windows.wentTo.back(), std::make_pair(0, std::string("\xC6\xE5\xED\xFF")));
}

TEST_F(BookmarksDialogTest, AnotherTableRefillsTheList)
{
    windows.results = { { "Alpha", 1 } };
    Open();
    Select(0);
    go->click();
    table->setCurrentIndex(1);
    EXPECT_EQ(Column(0), std::vector<std::string> { "one" });
    EXPECT_FALSE(go->isEnabled());
    EXPECT_TRUE(message->text().isEmpty());
    Select(0);
    go->click();
    EXPECT_EQ(windows.wentTo.back(), std::make_pair(1, std::string("one")));
}

TEST_F(BookmarksDialogTest, AddAndDeleteRefillTheList)
{
    Open();
    Select(2);
    del->click();
    EXPECT_EQ(Column(0), (std::vector<std::string> { "Alpha", "alpha", "Женя" }));
    EXPECT_FALSE(del->isEnabled());
    Control<QPushButton>(*dialog, "IDC_BOOKMARK_ADD")->click();
    EXPECT_EQ(windows.addedOver, dialog.get());
    EXPECT_EQ(Column(0), (std::vector<std::string> { "added", "Alpha", "alpha", "Женя" }));
    Control<QPushButton>(*dialog, "IDCANCEL")->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(windows.wentTo.empty());
}

} // namespace
