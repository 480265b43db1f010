#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// How a file is opened. kCreate makes the file, emptying one that exists. kCreateNew makes
// a file only where none exists (the error is EEXIST when one does), for the program's own
// temporary files, which must never be a user's file of the same name.
enum class OpenMode { kRead, kReadWrite, kCreate, kCreateNew };

// One open file. Every call reports failure as false and keeps the operating system's
// error number for the caller (0 when the failure was not the system's, e.g. a short read).
// Offsets are 64-bit, so files over 4 GB are addressed directly.
class File
{
public:
    virtual ~File() = default;

    // Reads up to `size` bytes at `offset` into `buffer`; `*got` receives how many were read,
    // which is less than `size` only at the end of the file. REQUIRES: got != nullptr.
    [[nodiscard]] virtual bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size,
                                      std::size_t* got)
        = 0;
    // Writes all `size` bytes at `offset`, extending the file when needed.
    [[nodiscard]] virtual bool WriteAt(std::uint64_t offset, const void* buffer, std::size_t size)
        = 0;
    [[nodiscard]] virtual bool Size(std::uint64_t* size) = 0;
    [[nodiscard]] virtual bool Truncate(std::uint64_t size) = 0;
    // Pushes written data to the disk; used before a new file replaces an old one.
    [[nodiscard]] virtual bool Sync() = 0;
    // A hint that the `size` bytes written at `offset` will be synced: the system may start
    // putting them on the disk now, while the writer goes on, so that the final Sync has
    // little left to wait for. Changes nothing a reader sees; does nothing by default.
    virtual void StartWriteback(std::uint64_t offset, std::uint64_t size)
    {
        (void)offset;
        (void)size;
    }

    // Waits until the `size` bytes written at `offset` are on the disk and lets the system
    // drop them from memory (they stay in the file). False, with the error kept, when the
    // disk failed them: a later Sync need not report that failure again. Does nothing by
    // default. See StreamedWrite.
    [[nodiscard]] virtual bool SettleWritten(std::uint64_t offset, std::uint64_t size)
    {
        (void)offset;
        (void)size;
        return true;
    }

    // Which file of the system this is (its device and number), to tell whether a path
    // still names it; nothing where that is not known, as by default.
    struct Identity
    {
        std::uint64_t device = 0;
        std::uint64_t number = 0;
        bool operator==(const Identity&) const = default;
    };
    virtual std::optional<Identity> Identify() { return std::nullopt; }

    int LastError() const { return m_lastError; }

protected:
    bool Fail(int error)
    {
        m_lastError = error;
        return false;
    }

private:
    int m_lastError = 0;
};

// The seam between the program and the files and directories of the system. The program
// reaches files only through a FileSystem, so tests can put one in that fails on purpose.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // The real file system of the machine.
    static FileSystem& Default();

    // Opens a file; on failure gives nullptr and stores the system's error in `*error`
    // when `error` is not null.
    virtual std::unique_ptr<File> Open(const std::string& path, OpenMode mode, int* error) = 0;
    [[nodiscard]] virtual bool Rename(const std::string& from, const std::string& to) = 0;
    // Gives the existing file `existing` the second name `newPath` (which must be free), so
    // that a rename can then replace the file at its first name while the old content stays
    // reachable. False where the file system cannot do it (FAT, some network shares): the
    // callers then fall back to moving the file aside.
    [[nodiscard]] virtual bool Link(const std::string& existing, const std::string& newPath)
    {
        (void)existing;
        (void)newPath;
        return false;
    }
    [[nodiscard]] virtual bool Remove(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool IsDirectory(const std::string& path) = 0;
    // Creates a directory with any missing parents; true when it exists afterwards.
    [[nodiscard]] virtual bool CreateDirectories(const std::string& path) = 0;
    // Removes a directory and everything below it; true when nothing is left.
    [[nodiscard]] virtual bool RemoveAll(const std::string& path) = 0;
    // Names (not paths) of the entries of a directory, in no particular order.
    virtual std::vector<std::string> List(const std::string& directory) = 0;
};

// Finds an existing entry of `directory` named `name` without regard to ASCII letter case,
// as the program's file names are compared on the system it was first written for. An exact
// match wins over other spellings. Gives the full path of the entry, or nothing.
std::optional<std::string> FindEntryNoCase(FileSystem& fs, const std::string& directory,
                                           const std::string& name);

// Path helpers with '/' as the separator.
std::string DirectoryOf(const std::string& path); // "" or the directory with its trailing '/'
std::string FileNameOf(const std::string& path);  // the part after the last '/'
std::string BaseNameOf(const std::string& path);  // file name without its last extension
bool IsAbsolutePath(const std::string& path);

// Copies the whole of `from` into `to` from their first bytes (`to` is empty or no longer
// than `from`). Two files of the real file system are copied inside the system; others
// by blocks through memory, so a file system seam that fails reads or writes is honoured.
[[nodiscard]] bool CopyFileData(File& from, File& to);

// Whether two paths name one and the same existing file (the same device and inode), however
// they are spelled: through links, "..", or another letter case on a system that ignores it.
// False when either does not exist.
bool IsSameFile(const std::string& a, const std::string& b);

// Whether `path` names something that is neither a regular file nor a directory: a device,
// a pipe, a socket (through links). A save never puts a file of its own in such a place.
bool IsSpecialFile(const std::string& path);

// The file `path` names once symbolic links are followed, link by link (a relative link
// read from the link's own directory); `path` itself when it is no link, and when the links
// loop. A file that replaces another through a rename goes there, so that the user's link
// keeps naming it rather than being replaced by it. The target need not exist.
std::string FollowLinks(const std::string& path);

// Whether `path` still names the file `file` is open on; false when another file has taken
// the name (a rename over it) or none has. A file that cannot Identify itself is taken to be
// there.
bool IsFileAt(File& file, const std::string& path);

// Gives `replacement` the permission bits of `existing`, and its group where the system
// lets this user, so that a file put in another's place by a rename keeps who may read and
// write it (a table shared by a group, a private file). Nothing happens when `existing` is
// not there.
void KeepAccessOf(const std::string& existing, const std::string& replacement);

// The new file that is to replace the file at `path` by a rename, made empty (OpenMode::
// kCreate) at the path its links lead to with `suffix` appended, with the permissions of the
// file it replaces (see FollowLinks and KeepAccessOf). `file` is null when it could not be
// made, the system's error then in `*error` when `error` is not null.
struct Replacement
{
    std::string placed;    // where the replacement goes: `path` with its links followed
    std::string temporary; // where it is written first
    std::unique_ptr<File> file;
};
Replacement OpenReplacement(FileSystem& fs, const std::string& path, const char* suffix,
                            int* error = nullptr);

// The system's message for an error number a file operation kept, as its own tools word it
// ("No such file or directory"); an error of 0 (a failure that was not the system's) reads
// as an input/output error.
std::string SystemErrorText(int error);

} // namespace platform
