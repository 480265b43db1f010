#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

class FileSystem;

// What became of reading a whole file.
enum class WholeFileRead {
    kRead, // the text is the file's
    kMissing, // there is no file of that name: a caller may start from nothing
    kFailed, // the file is there but could not be read, or is over the size limit
};

// Reads all of the file `path` into `*text` (emptied first). A file longer than `maxSize`
// is not read and gives kFailed, so a runaway file never takes the program's memory.
// REQUIRES: text != nullptr.
WholeFileRead ReadWholeFile(
    FileSystem& fs, const std::string& path, std::size_t maxSize, std::string* text);

// Puts `text` in the file `path`, creating it or replacing it. The text goes to a temporary
// file beside it ("<path>.new~"), is pushed to the disk and then takes the name with one
// rename, so a reader sees the old file or the new one, never a part. On failure (false) the
// old file is as it was and the temporary file is removed. A `path` that is a link is written
// through: the file it names is replaced, and the link stays.
[[nodiscard]] bool ReplaceWholeFile(FileSystem& fs, const std::string& path, std::string_view text);

} // namespace platform
