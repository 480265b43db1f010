#pragma once

#include <string>

namespace platform {
class FileSystem;
}

namespace shell {

// What the header check before opening a table did.
enum class HeaderCheckOutcome {
    kSound, // the header agrees with the file, or the file could not be opened to check
    kRepairDeclined, // the header disagrees with the file; the user kept it as it is
    kRepaired, // repaired; the original is kept under the backup name
    kRepairFailed, // the repair or the renames failed; the table file is as it was
    kOriginalMoved, // the renames failed and the table could not be put back at its path;
                    // the user was told where it and the corrected copy are
    kNotATable, // the file does not look like a table; the user was warned
};

// Checks the header of the table at `path` before a table window opens it, and speaks to the
// user through the prompt:
//
// - a header whose record count, header length or record length disagree with the file is
//   offered for repair (Yes/No). On Yes a corrected copy is written beside the table and put
//   in its place, the original keeping the table's name with the extension "old", and the
//   user is told where the original went. A repair that cannot be finished says so, and the
//   table file is left as it was, or put back at its path by a copy should renaming it back
//   fail; the corrected copy is then removed. When not even that works, the message names
//   the backup path, where the table is, and the corrected copy is kept.
// - a file of unknown version, or whose field descriptors do not end, is warned about;
// - a sound header, and a file that cannot be opened for reading and writing, pass
//   silently (opening the table reports the latter).
//
// Nothing is written unless the user agrees to the repair. The checker's file is closed on
// return, whatever happened, so the table can be opened.
HeaderCheckOutcome CheckTableHeader(platform::FileSystem& fs, const std::string& path);

} // namespace shell
