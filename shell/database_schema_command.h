#pragma once

#include <functional>
#include <string>

class QWidget;

namespace platform {
class FileSystem;
}

namespace shell {

// File > Database schema: the user picks a database directory (starting in the current
// one, which it then becomes), edits the schema of its tables in the Database dialog, and
// the schema is written back to the directory's "default.sch" when the dialog closes,
// whatever happened in it; a directory without one starts with an empty schema and gets
// the file. The command works on a database of its own, not the one the table windows of
// that directory share: they take the written file at their next open.
//
// A schema that cannot be written says so. `help` is what the dialogs' Help buttons do.
void RunDatabaseSchemaCommand(
    platform::FileSystem& fs, QWidget* parent, std::function<void()> help);

// The folder choice of the command: the chosen directory, with a trailing '/', or empty
// when cancelled.
std::string ChooseDatabaseDirectory(QWidget* parent);

} // namespace shell
