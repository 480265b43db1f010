#include "table/memo_file.h"

#include "platform/file_system.h"
#include "table/dbf_format.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace table {
namespace {

// Header bytes the program reads: next free block (0..3), the dBASE IV block size (20..21).
constexpr std::uint64_t kMinHeaderBytes = 22;
constexpr std::uint8_t kMemoEnd = 0x1A;
constexpr std::uint32_t kDbase4BlockHeader = 8;

} // namespace

std::string MemoCompanionPath(const std::string& tablePath, std::uint8_t version)
{
    if (version == dbf::kVersionFoxProMemo)
        return platform::DirectoryOf(tablePath) + platform::BaseNameOf(tablePath) + ".fpt";
    if (version != dbf::kVersionDbase3Memo && version != dbf::kVersionDbase4Memo)
        return {};
    if (tablePath.empty())
        return {};
    std::string path = tablePath;
    char& last = path.back();
    if (last == 'F')
        last = 'T';
    else if (last == 'f')
        last = 't';
    else
        return {};
    return path;
}

std::string FindMemoCompanion(platform::FileSystem& fs, const std::string& tablePath,
                              std::uint8_t version)
{
    const std::string path = MemoCompanionPath(tablePath, version);
    if (path.empty())
        return {};
    return platform::FindEntryNoCase(fs, platform::DirectoryOf(path), platform::FileNameOf(path))
        .value_or(std::string());
}

MemoForm MemoFormForVersion(std::uint8_t version)
{
    return version == dbf::kVersionDbase4Memo ? MemoForm::kDbase4 : MemoForm::kDbase3;
}

MemoFile::MemoFile(platform::FileSystem& fs)
    : m_fs(fs)
{
}

MemoFile::~MemoFile() = default;

bool MemoFile::Fail(DbfError error, int systemError)
{
    m_lastError = error;
    m_lastSystemError = systemError;
    return false;
}

bool MemoFile::FailFromFile(DbfError error)
{
    return Fail(error, m_file ? m_file->LastError() : 0);
}

bool MemoFile::Create(const std::string& path, MemoForm form, std::uint32_t blockSize,
                      const std::string& tableBaseName)
{
    Close();
    if (form == MemoForm::kDbase3)
        blockSize = kDbase3BlockSize;
    if (blockSize == 0 || blockSize % 512 != 0 || blockSize > 0xFFFF)
        return Fail(DbfError::kMemoBadBlockSize);
    int error = 0;
    m_file = m_fs.Open(path, platform::OpenMode::kCreate, &error);
    if (!m_file)
        return Fail(DbfError::kOpenFailed, error);

    std::vector<std::uint8_t> header(blockSize, 0);
    dbf::PutU32(header.data(), 1);
    if (form == MemoForm::kDbase3) {
        header[16] = 0x03;
    } else {
        const std::string name = tableBaseName.substr(0, tableBaseName.find('.')).substr(0, 8);
        std::memcpy(header.data() + 8, name.data(), name.size());
        dbf::PutU16(header.data() + 20, static_cast<std::uint16_t>(blockSize));
    }
    if (!m_file->WriteAt(0, header.data(), header.size())) {
        FailFromFile(DbfError::kWriteFailed);
        m_file.reset();
        return false;
    }
    m_path = path;
    m_form = form;
    m_blockSize = blockSize;
    m_nextFree = 1;
    m_fileLength = blockSize;
    return true;
}

bool MemoFile::Open(const std::string& path, MemoForm form)
{
    Close();
    int error = 0;
    m_file = m_fs.Open(path, platform::OpenMode::kReadWrite, &error);
    if (!m_file)
        return Fail(error == ENOENT ? DbfError::kNoMemoFile : DbfError::kOpenFailed, error);

    std::uint8_t header[kMinHeaderBytes];
    std::size_t got = 0;
    if (!m_file->Size(&m_fileLength) || !m_file->ReadAt(0, header, sizeof header, &got)) {
        FailFromFile(DbfError::kReadFailed);
        Close();
        return false;
    }
    if (got < sizeof header) {
        Close();
        return Fail(DbfError::kMemoTooShort);
    }
    std::uint32_t blockSize = kDbase3BlockSize;
    if (form == MemoForm::kDbase4) {
        blockSize = dbf::GetU16(header + 20);
        if (blockSize == 0 || blockSize % 512 != 0) {
            Close();
            return Fail(DbfError::kMemoBadBlockSize);
        }
    }
    m_path = path;
    m_form = form;
    m_blockSize = blockSize;
    m_nextFree = dbf::GetU32(header);
    return true;
}

void MemoFile::Close()
{
    m_file.reset();
    m_path.clear();
    m_fileLength = 0;
    m_nextFree = 1;
}

bool MemoFile::ReadText(std::uint32_t block, std::string* text)
{
    text->clear();
    if (!IsOpen())
        return Fail(DbfError::kNotOpen);
    if (block == 0)
        return Fail(DbfError::kMemoBadBlock);
    const std::uint64_t start = std::uint64_t { block } * m_blockSize;
    if (start >= m_fileLength)
        return Fail(DbfError::kMemoBlockPastEnd);
    std::size_t got = 0;

    if (m_form == MemoForm::kDbase4) {
        std::uint8_t head[kDbase4BlockHeader];
        if (!m_file->ReadAt(start, head, sizeof head, &got))
            return FailFromFile(DbfError::kReadFailed);
        if (got < sizeof head || dbf::GetU16(head) != 0xFFFF
            || dbf::GetU16(head + 2) != kDbase4BlockHeader)
            return Fail(DbfError::kMemoBadBlock);
        const std::uint32_t total = dbf::GetU32(head + 4);
        if (total < kDbase4BlockHeader)
            return Fail(DbfError::kMemoBadBlock);
        const std::uint32_t length = total - kDbase4BlockHeader;
        if (length > kMaxTextLength)
            return Fail(DbfError::kMemoTooLong);
        if (start + total > m_fileLength)
            return Fail(DbfError::kMemoBlockPastEnd);
        text->resize(length);
        if (!m_file->ReadAt(start + kDbase4BlockHeader, text->data(), length, &got))
            return FailFromFile(DbfError::kReadFailed);
        if (got < length)
            return Fail(DbfError::kMemoBlockPastEnd);
        return true;
    }

    // dBASE III: the text runs until two end bytes in a row, or the end of the file.
    char chunk[4096];
    std::uint64_t at = start;
    bool pendingEnd = false; // the previous chunk ended with one end byte
    while (at < m_fileLength) {
        if (!m_file->ReadAt(at, chunk, sizeof chunk, &got))
            return FailFromFile(DbfError::kReadFailed);
        if (got == 0)
            break;
        for (std::size_t i = 0; i < got; ++i) {
            const bool isEnd = static_cast<std::uint8_t>(chunk[i]) == kMemoEnd;
            if (pendingEnd) {
                if (isEnd)
                    return true;
                text->push_back(static_cast<char>(kMemoEnd));
                pendingEnd = false;
            }
            if (isEnd) {
                pendingEnd = true;
                continue;
            }
            if (text->size() >= kMaxTextLength) {
                text->clear();
                return Fail(DbfError::kMemoTooLong);
            }
            text->push_back(chunk[i]);
        }
        at += got;
    }
    if (pendingEnd)
        text->push_back(static_cast<char>(kMemoEnd));
    return true;
}

bool MemoFile::AppendText(std::string_view text, std::uint32_t* block)
{
    if (!IsOpen())
        return Fail(DbfError::kNotOpen);
    if (text.size() > kMaxTextLength)
        return Fail(DbfError::kMemoTooLong);
    const std::uint32_t n = static_cast<std::uint32_t>(text.size());
    const std::uint32_t extra = m_form == MemoForm::kDbase3 ? 2 : kDbase4BlockHeader;
    const std::uint32_t blocks = (n + extra) / m_blockSize + 1;
    if (m_nextFree == 0 || std::uint64_t { m_nextFree } + blocks > UINT32_MAX)
        return Fail(DbfError::kMemoTooLong);

    std::vector<std::uint8_t> bytes(std::size_t { blocks } * m_blockSize, 0);
    if (m_form == MemoForm::kDbase3) {
        std::memcpy(bytes.data(), text.data(), n);
        bytes[n] = kMemoEnd;
        bytes[n + 1] = kMemoEnd;
    } else {
        dbf::PutU16(bytes.data(), 0xFFFF);
        dbf::PutU16(bytes.data() + 2, static_cast<std::uint16_t>(kDbase4BlockHeader));
        dbf::PutU32(bytes.data() + 4, n + kDbase4BlockHeader);
        std::memcpy(bytes.data() + kDbase4BlockHeader, text.data(), n);
    }
    const std::uint64_t start = std::uint64_t { m_nextFree } * m_blockSize;
    if (!m_file->WriteAt(start, bytes.data(), bytes.size()))
        return FailFromFile(DbfError::kWriteFailed);
    std::uint8_t next[4];
    dbf::PutU32(next, m_nextFree + blocks);
    if (!m_file->WriteAt(0, next, sizeof next))
        return FailFromFile(DbfError::kWriteFailed);
    *block = m_nextFree;
    m_nextFree += blocks;
    m_fileLength = std::max(m_fileLength, start + bytes.size());
    return true;
}

} // namespace table
