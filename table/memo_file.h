#pragma once

#include "table/dbf_error.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {
class File;
class FileSystem;
} // namespace platform

namespace table {

// The two memo file forms the program reads and writes. dBASE III memo files have 512-byte
// blocks and end a text with two 0x1A bytes; dBASE IV memo files keep their block size in
// the header and give each text an 8-byte block header with its length.
enum class MemoForm { kDbase3, kDbase4 };

// The memo companion of a table: for versions 0x83 and 0x8B the table path with its last
// character F/f replaced by T/t, for 0xF5 the base name with ".fpt"; empty when the table
// has no usable companion. The name is the one the program creates; FindMemoCompanion
// finds an existing one whatever its letter case.
std::string MemoCompanionPath(const std::string& tablePath, std::uint8_t version);
std::string FindMemoCompanion(platform::FileSystem& fs, const std::string& tablePath,
                              std::uint8_t version);
// The memo form a table version implies: 0x8B uses dBASE IV memos, the others dBASE III.
MemoForm MemoFormForVersion(std::uint8_t version);

// An open memo file. Block numbers and lengths from the file are checked against the file's
// size before anything is read or allocated. Not copyable; owns its file.
class MemoFile
{
public:
    // The longest memo text the program reads; longer ones are refused as damaged.
    static constexpr std::uint32_t kMaxTextLength = 64u * 1024 * 1024;
    static constexpr std::uint32_t kDbase3BlockSize = 512;

    explicit MemoFile(platform::FileSystem& fs);
    ~MemoFile();
    MemoFile(const MemoFile&) = delete;
    MemoFile& operator=(const MemoFile&) = delete;

    // Creates an empty memo file (replacing one that exists): header block only, next free
    // block 1. `tableBaseName` fills the name slot of a dBASE IV header (at most 8
    // characters, up to the first '.'). REQUIRES: blockSize a non-zero multiple of 512 for
    // kDbase4.
    [[nodiscard]] bool Create(const std::string& path, MemoForm form, std::uint32_t blockSize,
                              const std::string& tableBaseName);
    // Opens an existing memo file for reading and appending. Opening writes nothing: a file
    // whose length is not a whole number of blocks is read as it is, and the next text
    // appended starts at its block boundary all the same (the system fills the gap with
    // zero bytes).
    [[nodiscard]] bool Open(const std::string& path, MemoForm form);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    [[nodiscard]] bool ReadText(std::uint32_t block, std::string* text);
    // Appends a text at the next free block and advances the header; gives its first block.
    [[nodiscard]] bool AppendText(std::string_view text, std::uint32_t* block);

    const std::string& Path() const { return m_path; }
    MemoForm Form() const { return m_form; }
    std::uint32_t BlockSize() const { return m_blockSize; }
    std::uint32_t NextFreeBlock() const { return m_nextFree; }
    DbfError LastError() const { return m_lastError; }
    int LastSystemError() const { return m_lastSystemError; }

private:
    bool Fail(DbfError error, int systemError = 0);
    bool FailFromFile(DbfError error);

    platform::FileSystem& m_fs;
    std::unique_ptr<platform::File> m_file;
    std::string m_path;
    MemoForm m_form = MemoForm::kDbase3;
    std::uint32_t m_blockSize = kDbase3BlockSize;
    std::uint32_t m_nextFree = 1;
    std::uint64_t m_fileLength = 0;
    DbfError m_lastError = DbfError::kNone;
    int m_lastSystemError = 0;
};

} // namespace table
