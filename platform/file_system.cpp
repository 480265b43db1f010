#include "platform/file_system.h"

#include "platform/streamed_write.h"

#include <cerrno>
#include <climits>
#include <filesystem>
#include <system_error>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

class PosixFile final : public File
{
public:
    explicit PosixFile(int fd)
        : m_fd(fd)
    {
    }
    ~PosixFile() override { ::close(m_fd); }
    int Descriptor() const { return m_fd; }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size, std::size_t* got) override
    {
        auto* out = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pread(m_fd, out + done, size - done,
                                      static_cast<off_t>(offset + done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                *got = done;
                return Fail(errno);
            }
            if (n == 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        *got = done;
        return true;
    }

    bool WriteAt(std::uint64_t offset, const void* buffer, std::size_t size) override
    {
        const auto* in = static_cast<const char*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(m_fd, in + done, size - done,
                                       static_cast<off_t>(offset + done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return Fail(errno);
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    bool Size(std::uint64_t* size) override
    {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0)
            return Fail(errno);
        *size = static_cast<std::uint64_t>(st.st_size);
        return true;
    }

    bool Truncate(std::uint64_t size) override
    {
        if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0)
            return Fail(errno);
        return true;
    }

    bool Sync() override
    {
        if (::fsync(m_fd) != 0)
            return Fail(errno);
        return true;
    }

    std::optional<Identity> Identify() override
    {
        struct stat status {};
        if (::fstat(m_fd, &status) != 0)
            return std::nullopt;
        return Identity { static_cast<std::uint64_t>(status.st_dev), status.st_ino };
    }

    void StartWriteback(std::uint64_t offset, std::uint64_t size) override
    {
#ifdef __linux__
        // Only starts the writing; errors surface in the Sync that follows.
        (void)::sync_file_range(m_fd, static_cast<off_t>(offset), static_cast<off_t>(size),
                                SYNC_FILE_RANGE_WRITE);
#else
        (void)offset;
        (void)size;
#endif
    }

    bool SettleWritten(std::uint64_t offset, std::uint64_t size) override
    {
#ifdef __linux__
        if (::sync_file_range(m_fd, static_cast<off_t>(offset), static_cast<off_t>(size),
                SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER)
            != 0) {
            // A file system without the call has nothing to wait for here; the final sync
            // still pushes the data out.
            if (errno == ENOSYS || errno == EINVAL || errno == ESPIPE)
                return true;
            return Fail(errno);
        }
#endif
        (void)::posix_fadvise(m_fd, static_cast<off_t>(offset), static_cast<off_t>(size),
            POSIX_FADV_DONTNEED);
        return true;
    }

private:
    int m_fd;
};

class PosixFileSystem final : public FileSystem
{
public:
    std::unique_ptr<File> Open(const std::string& path, OpenMode mode, int* error) override
    {
        int flags = O_CLOEXEC;
        switch (mode) {
        case OpenMode::kRead:
            flags |= O_RDONLY;
            break;
        case OpenMode::kReadWrite:
            flags |= O_RDWR;
            break;
        case OpenMode::kCreate:
            flags |= O_RDWR | O_CREAT | O_TRUNC;
            break;
        case OpenMode::kCreateNew:
            flags |= O_RDWR | O_CREAT | O_EXCL;
            break;
        }
        // As other programs make files: what the user's umask leaves of read and write for all.
        const int fd = ::open(path.c_str(), flags, 0666);
        if (fd < 0) {
            if (error)
                *error = errno;
            return nullptr;
        }
        // A directory opens for reading on this system; it is never a usable file here.
        struct stat st {};
        if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            ::close(fd);
            if (error)
                *error = EISDIR;
            return nullptr;
        }
        return std::make_unique<PosixFile>(fd);
    }

    bool Rename(const std::string& from, const std::string& to) override
    {
        return ::rename(from.c_str(), to.c_str()) == 0;
    }

    bool Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

    bool Link(const std::string& existing, const std::string& newPath) override
    {
        return ::link(existing.c_str(), newPath.c_str()) == 0;
    }

    bool Exists(const std::string& path) override
    {
        std::error_code ec;
        return std::filesystem::exists(path, ec);
    }

    bool IsDirectory(const std::string& path) override
    {
        std::error_code ec;
        return std::filesystem::is_directory(path, ec);
    }

    bool CreateDirectories(const std::string& path) override
    {
        std::error_code ec;
        std::filesystem::create_directories(path, ec);
        return std::filesystem::is_directory(path, ec);
    }

    bool RemoveAll(const std::string& path) override
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
        return !ec;
    }

    std::vector<std::string> List(const std::string& directory) override
    {
        std::vector<std::string> names;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end;
             it.increment(ec))
            names.push_back(it->path().filename().string());
        return names;
    }
};

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z')
            x = static_cast<unsigned char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<unsigned char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

FileSystem& FileSystem::Default()
{
    static PosixFileSystem fs;
    return fs;
}

std::optional<std::string> FindEntryNoCase(FileSystem& fs, const std::string& directory,
                                           const std::string& name)
{
    std::string dir = directory.empty() ? std::string("./") : directory;
    if (dir.back() != '/')
        dir += '/';
    if (fs.Exists(dir + name))
        return dir + name;
    for (const std::string& entry : fs.List(dir)) {
        if (EqualNoCase(entry, name))
            return dir + entry;
    }
    return std::nullopt;
}

std::string DirectoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string BaseNameOf(const std::string& path)
{
    std::string name = FileNameOf(path);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

bool IsAbsolutePath(const std::string& path)
{
    return !path.empty() && path.front() == '/';
}

bool CopyFileData(File& from, File& to)
{
    // A copy is synced before it is used; its parts go to the disk while the next are made.
    constexpr std::size_t kPart = std::size_t { 4 } << 20;
    StreamedWrite stream(to);
    std::uint64_t at = 0;
    auto* source = dynamic_cast<PosixFile*>(&from);
    auto* target = dynamic_cast<PosixFile*>(&to);
    if (source && target) {
#ifdef __linux__
        // The whole space at once, so the disk takes the copy as one stretch; the file's
        // size still grows only as it is written. Where the file system cannot, it does not.
        struct stat status {};
        if (::fstat(source->Descriptor(), &status) == 0 && status.st_size > 0)
            (void)::fallocate(target->Descriptor(), FALLOC_FL_KEEP_SIZE, 0, status.st_size);
#endif
        // In the kernel, without a pass through the program's memory; a system or file
        // pair that cannot do that falls back to the copy by blocks, from where it got to.
        for (;;) {
            off_t in = static_cast<off_t>(at);
            off_t out = static_cast<off_t>(at);
            const ssize_t n = ::copy_file_range(source->Descriptor(), &in, target->Descriptor(),
                &out, kPart, 0);
            if (n == 0)
                return true;
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                break;
            }
            if (!stream.Written(at, static_cast<std::uint64_t>(n)))
                return false;
            at += static_cast<std::uint64_t>(n);
        }
    }
    std::vector<char> block(kPart);
    for (;;) {
        std::size_t got = 0;
        if (!from.ReadAt(at, block.data(), block.size(), &got))
            return false;
        if (got == 0)
            return true;
        if (!to.WriteAt(at, block.data(), got) || !stream.Written(at, got))
            return false;
        at += got;
    }
}

bool IsSameFile(const std::string& a, const std::string& b)
{
    struct stat first {};
    struct stat second {};
    return !a.empty() && !b.empty() && ::stat(a.c_str(), &first) == 0
        && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

bool IsSpecialFile(const std::string& path)
{
    struct stat status {};
    return !path.empty() && ::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)
        && !S_ISDIR(status.st_mode);
}

std::string FollowLinks(const std::string& path)
{
    // As many links as the system itself follows in one path.
    constexpr int kMostLinks = 40;
    std::string at = path;
    for (int links = 0; links < kMostLinks; ++links) {
        struct stat status {};
        if (at.empty() || ::lstat(at.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return at;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(at.c_str(), target, sizeof target);
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof target)
            return path;
        const std::string text(target, static_cast<std::size_t>(n));
        at = IsAbsolutePath(text) ? text : DirectoryOf(at) + text;
    }
    return path;
}

bool IsFileAt(File& file, const std::string& path)
{
    const std::optional<File::Identity> open = file.Identify();
    if (!open)
        return true; // nothing known against it
    struct stat named {};
    return ::stat(path.c_str(), &named) == 0
        && *open == File::Identity { static_cast<std::uint64_t>(named.st_dev), named.st_ino };
}

void KeepAccessOf(const std::string& existing, const std::string& replacement)
{
    struct stat status {};
    if (::stat(existing.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return;
    // The group first: a change of group may clear bits the mode then sets again. Only the
    // read, write and execute bits are carried, never set-user-id and the like.
    struct stat now {};
    if (::stat(replacement.c_str(), &now) == 0 && now.st_gid != status.st_gid)
        (void)::chown(replacement.c_str(), static_cast<uid_t>(-1), status.st_gid);
    (void)::chmod(replacement.c_str(), status.st_mode & 0777);
}

Replacement OpenReplacement(FileSystem& fs, const std::string& path, const char* suffix,
                            int* error)
{
    Replacement replacement;
    replacement.placed = FollowLinks(path);
    replacement.temporary = replacement.placed + suffix;
    replacement.file = fs.Open(replacement.temporary, OpenMode::kCreate, error);
    // Shared as the file it replaces is, from before anything is written to it.
    if (replacement.file)
        KeepAccessOf(replacement.placed, replacement.temporary);
    return replacement;
}

std::string SystemErrorText(int error)
{
    return std::generic_category().message(error == 0 ? EIO : error);
}

} // namespace platform
