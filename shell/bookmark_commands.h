#pragma once

class QWidget;

namespace shell {

class CChildFrame;
class CMainFrame;

// The main window's bookmark commands over its table windows: Add a Bookmark on the active
// window's current cell, and the Bookmarks dialog over every window with an open table.

// Whether a bookmark can be set in `window`: it shows a table with records and fields.
bool CanAddBookmark(const CChildFrame& window);
// Runs the Add a Bookmark dialog over `parent` for `window`'s current cell and sets the
// bookmark on OK; true when one was set.
bool AddBookmark(CChildFrame& window, QWidget* parent);
// Whether the Bookmarks dialog has a window to show: one with an open table.
bool HasBookmarkWindows(const CMainFrame& main);
// The Bookmarks dialog over the windows of `main` with an open table, the active one first.
void ShowBookmarks(CMainFrame& main);

} // namespace shell
