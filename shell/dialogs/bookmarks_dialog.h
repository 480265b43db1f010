#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace shell {

// One bookmark as the Bookmarks dialog lists it (cp1251 texts).
struct BookmarkLine
{
    std::string name;
    long long record = 0;
    std::string field;
};

// The table windows the Bookmarks dialog offers, in the order it lists them (the active
// one first), and what it does to them. Implemented by the program over its table windows;
// tests supply their own.
class BookmarkWindows
{
public:
    virtual ~BookmarkWindows() = default;

    virtual int Count() const = 0;
    // The window's title as its caption shows it.
    virtual QString Title(int window) const = 0;
    virtual std::vector<BookmarkLine> Bookmarks(int window) const = 0;
    // Activates the window and goes to the bookmark: 0 when it went there, 1 for no such
    // bookmark, 2 for a record the table does not have, 3 for a field no column shows.
    virtual int GoTo(int window, const std::string& name) = 0;
    // Runs the Add a Bookmark dialog over `parent` for the window; true when one was set.
    virtual bool Add(int window, QWidget* parent) = 0;
    virtual void Delete(int window, const std::string& name) = 0;
};

// The Bookmarks dialog: the table windows in a list, the bookmarks of the chosen one sorted
// by name (name, record, field), and Go (or a double-click), Add..., Delete and Close. A
// bookmark that cannot be reached is explained on the message line and the dialog stays;
// one reached closes it with OK. Delete asks nothing.
//
// The windows are not owned and must outlive the dialog.
class CBookmarksDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CBookmarksDialog(BookmarkWindows& windows, QWidget* parent = nullptr);

    // The window chosen in the table list; -1 when there is none.
    int ChosenWindow() const;

private:
    void Refill();
    std::string SelectedName() const;
    void UpdateButtons();
    void OnGo();
    void OnAdd();
    void OnDelete();

    BookmarkWindows& m_windows;
    QComboBox* m_table = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_go = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
};

} // namespace shell
