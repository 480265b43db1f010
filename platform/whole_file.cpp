#include "platform/whole_file.h"

#include "platform/file_system.h"

#include <cerrno>

namespace platform {

WholeFileRead ReadWholeFile(
    FileSystem& fs, const std::string& path, std::size_t maxSize, std::string* text)
{
    text->clear();
    int error = 0;
    auto file = fs.Open(path, OpenMode::kRead, &error);
    if (!file) {
        // A missing directory on the way means the file is missing too.
        return error == ENOENT || error == ENOTDIR ? WholeFileRead::kMissing
                                                   : WholeFileRead::kFailed;
    }
    std::uint64_t size = 0;
    if (!file->Size(&size) || size > maxSize)
        return WholeFileRead::kFailed;
    text->resize(static_cast<std::size_t>(size));
    std::size_t got = 0;
    if (size > 0 && !file->ReadAt(0, text->data(), text->size(), &got)) {
        text->clear();
        return WholeFileRead::kFailed;
    }
    // A file that shrank while being read gives what was there.
    text->resize(got);
    return WholeFileRead::kRead;
}

bool ReplaceWholeFile(FileSystem& fs, const std::string& path, std::string_view text)
{
    Replacement replacement = OpenReplacement(fs, path, ".new~");
    if (!replacement.file)
        return false;
    const bool written = (text.empty() || replacement.file->WriteAt(0, text.data(), text.size()))
        && replacement.file->Sync();
    replacement.file.reset();
    if (!written || !fs.Rename(replacement.temporary, replacement.placed)) {
        (void)fs.Remove(replacement.temporary);
        return false;
    }
    return true;
}

} // namespace platform
