#pragma once

#include <string>
#include <vector>

namespace shell {

// The number a new table window takes among the windows already open, and whether one of
// them must give up its bare title. Windows are numbered only among those showing a table
// of the same file name (without directory and extension, compared exactly): a table open
// once has number 0 and no suffix; a second window on a table of that name gives the first
// " : 1" and itself " : 2"; every later one takes one more than the highest number open.
struct WindowNumbering
{
    int number = 0; // the new window's number
    int renumberIndex = -1; // the window (index into the list given) whose 0 becomes...
    int renumberTo = 0; // ...this number; -1 index when none changes
};

struct NumberedWindow
{
    std::string name; // the file name without directory and extension
    int number = -1; // -1 while not yet numbered (the window being built)
};

// `windows` in window order, the new window among them or not.
WindowNumbering NumberNewWindow(const std::vector<NumberedWindow>& windows, const std::string& name);

// The file name of a table path without directory and extension: the name windows are
// numbered by and the table bar shows.
std::string TableNameOf(const std::string& tablePath);

// A table path as titles show it: a final ".dbf" (in any letter case) removed.
std::string TitlePathOf(const std::string& tablePath);

// " *" while changes are unsaved, then " : n" for a number above 0: what follows the name in
// a table window's title and in its tab.
std::string TitleSuffix(bool modified, int number);

// A table window's title: "Table %s" (from the resource set) with the title path, then the
// suffix. Texts are cp1251; `tablePath` is a file-system path.
std::string TableWindowTitle(const std::string& tablePath, bool modified, int number);

// The tab of a table window: the table's name and the suffix (cp1251).
std::string TableTabLabel(const std::string& tablePath, bool modified, int number);

} // namespace shell
