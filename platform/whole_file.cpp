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

bool ReplaceWholeFile(FileSystem& fs, const std::string& chosen, std::string_view text)
{
    const std::string path = FollowLinks(chosen);
    const std::string temporary = path + ".new~";
    {
        auto file = fs.Open(temporary, OpenMode::kCreate, nullptr);
        if (!file)
            return false;
        KeepAccessOf(path, temporary); // a private file stays private, even while written
        const bool written
            = (text.empty() || file->WriteAt(0, text.data(), text.size())) && file->Sync();
        if (!written) {
            file.reset();
            (void)fs.Remove(temporary);
            return false;
        }
    }
    if (!fs.Rename(temporary, path)) {
        (void)fs.Remove(temporary);
        return false;
    }
    return true;
}

} // namespace platform
