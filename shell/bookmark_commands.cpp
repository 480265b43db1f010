#include "shell/bookmark_commands.h"

#include "platform/qt/ansi_string.h"
#include "shell/child_frame.h"
#include "shell/dialogs/add_bookmark_dialog.h"
#include "shell/dialogs/bookmarks_dialog.h"
#include "shell/main_frame.h"
#include "table/table.h"
#include "tablegrid/table_wnd_grid.h"

#include <QMdiArea>
#include <QPointer>

#include <algorithm>

namespace shell {
namespace {

// The table windows the Bookmarks dialog lists: those with an open table, in the order of
// the window area's stack, top (the active one) first.
std::vector<CChildFrame*> WindowsWithTables(const CMainFrame& main)
{
    std::vector<CChildFrame*> windows;
    const QList<QMdiSubWindow*> stack = main.MdiArea()->subWindowList(QMdiArea::StackingOrder);
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        auto* window = qobject_cast<CChildFrame*>(*it);
        if (window && window->Grid()->HasOpenTable())
            windows.push_back(window);
    }
    CChildFrame* active = main.ActiveTableWindow();
    const auto found = std::find(windows.begin(), windows.end(), active);
    if (found != windows.end())
        std::rotate(windows.begin(), found, found + 1);
    return windows;
}

// The table windows as the Bookmarks dialog sees them.
class TableWindowBookmarks final : public BookmarkWindows
{
public:
    explicit TableWindowBookmarks(CMainFrame& main)
        : m_main(main)
    {
        for (CChildFrame* window : WindowsWithTables(main))
            m_windows.emplace_back(window);
    }

    int Count() const override { return static_cast<int>(m_windows.size()); }

    QString Title(int window) const override
    {
        const CChildFrame* frame = Frame(window);
        return frame ? frame->windowTitle() : QString();
    }

    std::vector<BookmarkLine> Bookmarks(int window) const override
    {
        std::vector<BookmarkLine> lines;
        if (const CChildFrame* frame = Frame(window)) {
            for (const auto& [name, bookmark] : frame->Grid()->Bookmarks().All())
                lines.push_back({ name, bookmark.recordNumber, bookmark.fieldName });
        }
        return lines;
    }

    int GoTo(int window, const std::string& name) override
    {
        CChildFrame* frame = Frame(window);
        if (!frame)
            return 1;
        m_main.ActivateTaskWindow(frame);
        const int result = frame->Grid()->GoToBookmark(name);
        frame->UpdateFilterPane();
        return result;
    }

    bool Add(int window, QWidget* parent) override
    {
        CChildFrame* frame = Frame(window);
        return frame && AddBookmark(*frame, parent);
    }

    void Delete(int window, const std::string& name) override
    {
        if (CChildFrame* frame = Frame(window))
            (void)frame->Grid()->DeleteBookmark(name);
    }

private:
    CChildFrame* Frame(int window) const
    {
        if (window < 0 || window >= Count())
            return nullptr;
        CChildFrame* frame = m_windows[static_cast<std::size_t>(window)];
        return frame && frame->Grid()->HasOpenTable() ? frame : nullptr;
    }

    CMainFrame& m_main;
    std::vector<QPointer<CChildFrame>> m_windows;
};

} // namespace

bool CanAddBookmark(const CChildFrame& window)
{
    const tablegrid::CTableWndGrid* grid = window.Grid();
    return grid->HasOpenTable() && grid->GetTable()->RecordCount() > 0
        && grid->GetTable()->FieldCount() > 0;
}

bool AddBookmark(CChildFrame& window, QWidget* parent)
{
    if (!CanAddBookmark(window))
        return false;
    tablegrid::CTableWndGrid* grid = window.Grid();
    const table::CTable& table = *grid->GetTable();
    AddBookmarkSetup setup;
    for (int i = 0; i < table.FieldCount(); ++i)
        setup.fieldNames.push_back(table.FieldName(i));
    setup.recordCount = table.RecordCount();
    const int row = grid->GetCurrentRow();
    if (row >= 0) {
        grid->EnsureRowsCached(row, row);
        setup.record = grid->RecordOfRow(row);
    }
    const int layoutIndex = tablegrid::LayoutIndexOfGridColumn(grid->Columns(), grid->GetCurrentColumn());
    if (layoutIndex >= 0)
        setup.field = table.FieldIndex(grid->Columns()[static_cast<std::size_t>(layoutIndex)].name);
    setup.exists = [grid](const std::string& name) { return grid->Bookmarks().Find(name) != nullptr; };
    CAddBookmarkDialog dialog(std::move(setup), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    grid->SetBookmark(dialog.Name(), static_cast<int>(dialog.Record()), dialog.Field());
    return true;
}

bool HasBookmarkWindows(const CMainFrame& main)
{
    return !WindowsWithTables(main).empty();
}

void ShowBookmarks(CMainFrame& main)
{
    TableWindowBookmarks windows(main);
    CBookmarksDialog dialog(windows, &main);
    dialog.exec();
}

} // namespace shell
