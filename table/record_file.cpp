#include "table/record_file.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "table/dbf_format.h"

#include <algorithm>
#include <cstring>

namespace table {
namespace {

// Later dBASE files also use version byte 4 but have 48-byte descriptors starting at
// offset 68 and a header length of 68 + 48n + 1. Read with 32-byte descriptors they would
// give nonsense fields, so they are refused when the 32-byte reading finds no terminator
// where the 48-byte reading does.
bool LooksLikeLevel7(platform::File& file, std::uint16_t headerLength)
{
    if (headerLength < 69 || (headerLength - 69) % 48 != 0)
        return false;
    const std::uint32_t n = dbf::FieldCountFromHeaderLength(headerLength);
    std::uint8_t at32 = 0;
    std::uint8_t at48 = 0;
    std::size_t got = 0;
    if (!file.ReadAt(dbf::kFileHeaderSize + dbf::kDescriptorSize * n, &at32, 1, &got) || got != 1)
        return false;
    if (!file.ReadAt(headerLength - 1u, &at48, 1, &got) || got != 1)
        return false;
    return at32 != dbf::kHeaderTerminator && at48 == dbf::kHeaderTerminator;
}

} // namespace

RecordFile::RecordFile(platform::FileSystem& fs)
    : m_fs(fs)
{
}

RecordFile::~RecordFile() = default;

bool RecordFile::Fail(DbfError error, int systemError)
{
    m_lastError = error;
    m_lastSystemError = systemError;
    return false;
}

bool RecordFile::Open(const std::string& path, Mode mode)
{
    Close();
    m_lastError = DbfError::kNone;
    m_lastSystemError = 0;
    int error = 0;
    auto file = m_fs.Open(path, mode == Mode::kReadWrite ? platform::OpenMode::kReadWrite
                                                         : platform::OpenMode::kRead,
                          &error);
    if (!file)
        return Fail(DbfError::kOpenFailed, error);
    m_file = std::move(file);
    m_path = path;
    m_writable = mode == Mode::kReadWrite;

    std::uint8_t header[dbf::kFileHeaderSize];
    std::size_t got = 0;
    if (!m_file->Size(&m_fileLength)) {
        const int systemError = m_file->LastError();
        Close();
        return Fail(DbfError::kReadFailed, systemError);
    }
    if (!m_file->ReadAt(0, header, sizeof header, &got)) {
        const int systemError = m_file->LastError();
        Close();
        return Fail(DbfError::kReadFailed, systemError);
    }
    if (got < sizeof header) {
        Close();
        return Fail(DbfError::kTooShort);
    }
    if (!CheckHeader(header) || !ReadDescriptors()) {
        const DbfError reason = m_lastError;
        const int systemError = m_lastSystemError;
        Close();
        return Fail(reason, systemError);
    }

    m_record.assign(m_recordLength, dbf::kActiveFlag);
    m_appendScratch.assign(std::size_t { m_recordLength } + 1, 0);
    const std::size_t perWindow = std::max<std::size_t>(1, kWindowBytes / m_recordLength);
    m_window.resize(perWindow * m_recordLength);
    return true;
}

bool RecordFile::CheckHeader(const std::uint8_t* header)
{
    m_version = header[0];
    m_recordCount = dbf::GetU32(header + 4);
    m_headerLength = dbf::GetU16(header + 8);
    m_recordLength = dbf::GetU16(header + 10);
    m_codePageByte = header[dbf::kCodePageOffset];

    if (!dbf::IsOpenableVersion(m_version))
        return Fail(DbfError::kUnknownVersion);
    if (m_headerLength < dbf::HeaderLengthFor(0))
        return Fail(DbfError::kHeaderTooShort);
    const std::uint32_t n = dbf::FieldCountFromHeaderLength(m_headerLength);
    if (dbf::kFileHeaderSize + std::uint64_t { dbf::kDescriptorSize } * n > m_fileLength)
        return Fail(DbfError::kDescriptorsCut);
    if (m_headerLength > m_fileLength)
        return Fail(DbfError::kHeaderPastEnd);
    if (m_version == dbf::kVersionDbase4 && LooksLikeLevel7(*m_file, m_headerLength))
        return Fail(DbfError::kUnsupportedLayout);
    if (m_recordLength == 0)
        return Fail(DbfError::kZeroRecordLength);
    return true;
}

bool RecordFile::ReadDescriptors()
{
    const std::uint32_t n = dbf::FieldCountFromHeaderLength(m_headerLength);
    std::vector<std::uint8_t> area(std::size_t { dbf::kDescriptorSize } * n);
    std::size_t got = 0;
    if (n > 0 && !m_file->ReadAt(dbf::kFileHeaderSize, area.data(), area.size(), &got))
        return Fail(DbfError::kReadFailed, m_file->LastError());
    if (got < area.size())
        return Fail(DbfError::kDescriptorsCut);

    m_fields.clear();
    m_fields.reserve(n);
    std::uint32_t offset = 1; // after the deletion flag
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint8_t* entry = area.data() + std::size_t { dbf::kDescriptorSize } * i;
        FieldLayout field;
        field.def.name.assign(reinterpret_cast<const char*>(entry),
                              strnlen(reinterpret_cast<const char*>(entry), 11));
        field.def.type = static_cast<char>(entry[11]);
        field.def.length = entry[16];
        field.def.decimals = entry[17];
        field.offset = offset;
        field.width = field.def.StorageWidth();
        offset += field.width;
        if (offset > m_recordLength)
            return Fail(DbfError::kFieldsExceedRecord);
        m_fields.push_back(std::move(field));
    }
    return true;
}

void RecordFile::Close()
{
    m_file.reset();
    m_path.clear();
    m_fields.clear();
    m_record.clear();
    m_appendScratch.clear();
    m_window.clear();
    m_windowFirst = m_windowCount = m_lastMiss = 0;
    m_current = 0;
    m_version = m_codePageByte = 0;
    m_recordCount = 0;
    m_headerLength = m_recordLength = 0;
    m_fileLength = 0;
}

std::uint64_t RecordFile::RecordsInFile() const
{
    if (!IsOpen() || m_fileLength < m_headerLength)
        return 0;
    return (m_fileLength - m_headerLength) / m_recordLength;
}

std::uint32_t RecordFile::RecordsHeld() const
{
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(m_recordCount, RecordsInFile()));
}

bool RecordFile::HasMemoFields() const
{
    return std::any_of(m_fields.begin(), m_fields.end(),
                       [](const FieldLayout& f) { return f.def.IsMemoType(); });
}

void RecordFile::ClearRecord()
{
    std::fill(m_record.begin(), m_record.end(), dbf::kActiveFlag);
    m_current = 0;
}

std::uint64_t RecordFile::RecordOffset(std::uint32_t k) const
{
    return m_headerLength + std::uint64_t { k - 1 } * m_recordLength;
}

bool RecordFile::FillWindow(std::uint32_t k)
{
    const std::uint32_t perWindow = static_cast<std::uint32_t>(m_window.size() / m_recordLength);
    // A read just before the window means a backward scan: end the new window at k.
    std::uint32_t first = k;
    if (m_windowFirst != 0 && k + 1 == m_windowFirst)
        first = k >= perWindow ? k - perWindow + 1 : 1;
    const std::uint32_t count = std::min<std::uint64_t>(perWindow, std::uint64_t { m_recordCount } - first + 1);

    m_windowFirst = m_windowCount = 0;
    std::size_t got = 0;
    if (!m_file->ReadAt(RecordOffset(first), m_window.data(), std::size_t { count } * m_recordLength,
                        &got))
        return Fail(DbfError::kReadFailed, m_file->LastError());
    const auto whole = static_cast<std::uint32_t>(got / m_recordLength);
    if (k - first >= whole)
        return Fail(DbfError::kRecordBeyondFile);
    m_windowFirst = first;
    m_windowCount = whole;
    return true;
}

bool RecordFile::ReadRecord(std::uint32_t k)
{
    if (!IsOpen())
        return Fail(DbfError::kNotOpen);
    const std::uint8_t* records = nullptr;
    std::uint32_t count = 0;
    if (!ReadRun(k, &records, &count)) {
        ClearRecord();
        return false;
    }
    std::memcpy(m_record.data(), records, m_recordLength);
    m_current = k;
    return true;
}

bool RecordFile::ReadRun(std::uint32_t first, const std::uint8_t** records, std::uint32_t* count)
{
    if (!IsOpen())
        return Fail(DbfError::kNotOpen);
    if (first == 0 || first > m_recordCount)
        return Fail(DbfError::kNoSuchRecord);
    const bool inWindow = m_windowFirst != 0 && first >= m_windowFirst
        && first - m_windowFirst < m_windowCount;
    if (!inWindow && !FillWindow(first))
        return false;
    const std::uint32_t index = first - m_windowFirst;
    *records = m_window.data() + std::size_t { index } * m_recordLength;
    *count = std::min(m_windowCount - index, m_recordCount - first + 1);
    return true;
}

bool RecordFile::WriteRecord(std::uint32_t k)
{
    if (!IsOpen())
        return Fail(DbfError::kNotOpen);
    if (!m_writable)
        return Fail(DbfError::kReadOnly);
    if (k == 0 || k > m_recordCount)
        return Fail(DbfError::kNoSuchRecord);
    std::uint64_t size = 0;
    if (!m_file->Size(&size))
        return Fail(DbfError::kReadFailed, m_file->LastError());
    if (RecordOffset(k) + m_recordLength > size)
        return Fail(DbfError::kRecordBeyondFile);
    if (!m_file->WriteAt(RecordOffset(k), m_record.data(), m_recordLength))
        return Fail(DbfError::kWriteFailed, m_file->LastError());
    if (m_windowFirst != 0 && k >= m_windowFirst && k - m_windowFirst < m_windowCount)
        std::memcpy(m_window.data() + std::size_t { k - m_windowFirst } * m_recordLength,
                    m_record.data(), m_recordLength);
    m_fileLength = std::max(m_fileLength, RecordOffset(k) + m_recordLength);
    m_current = k;
    return true;
}

void RecordFile::ForgetReadAhead()
{
    m_windowFirst = m_windowCount = 0;
    std::uint64_t size = 0;
    if (IsOpen() && m_file->Size(&size))
        m_fileLength = size;
}

bool RecordFile::WriteDeletionFlags(std::uint32_t first, const std::uint8_t* flags,
                                    std::uint32_t count)
{
    if (!IsOpen())
        return Fail(DbfError::kNotOpen);
    if (!m_writable)
        return Fail(DbfError::kReadOnly);
    if (first == 0 || count > m_recordCount || first - 1 > m_recordCount - count)
        return Fail(DbfError::kNoSuchRecord);
    std::uint32_t done = 0;
    while (done < count) {
        if (flags[done] == 0) {
            ++done;
            continue;
        }
        // Read afresh, not from an older window, so that the records written back unchanged
        // are what the file holds now. The flags go into the window, which is then the run's
        // new bytes.
        const std::uint32_t k = first + done;
        m_windowFirst = m_windowCount = 0;
        if (!FillWindow(k))
            return false;
        std::uint32_t length = std::min(m_windowCount, count - done);
        while (flags[done + length - 1] == 0)
            --length;
        std::uint8_t* bytes = m_window.data();
        for (std::uint32_t i = 0; i < length; ++i) {
            if (flags[done + i] != 0)
                bytes[std::size_t { i } * m_recordLength] = flags[done + i];
        }
        if (!m_file->WriteAt(RecordOffset(k), bytes, std::size_t { length } * m_recordLength)) {
            // The window no longer says what the file holds.
            m_windowFirst = m_windowCount = 0;
            return Fail(DbfError::kWriteFailed, m_file->LastError());
        }
        if (m_current >= k && m_current - k < length && flags[done + (m_current - k)] != 0)
            m_record[0] = flags[done + (m_current - k)];
        done += length;
    }
    return true;
}

bool RecordFile::AppendRecord()
{
    if (!IsOpen())
        return Fail(DbfError::kNotOpen);
    if (!m_writable)
        return Fail(DbfError::kReadOnly);
    if (m_recordCount == UINT32_MAX)
        return Fail(DbfError::kTooManyRecords);
    const std::uint32_t k = m_recordCount + 1;
    const std::uint64_t at = RecordOffset(k);
    // Record and end-of-file byte in one write; the header follows, so a failure leaves the
    // old record count, which still describes the file's records.
    std::copy(m_record.begin(), m_record.end(), m_appendScratch.begin());
    m_appendScratch.back() = dbf::kEndOfFile;
    if (!m_file->WriteAt(at, m_appendScratch.data(), m_appendScratch.size()))
        return Fail(DbfError::kWriteFailed, m_file->LastError());

    const platform::CalendarDate today = platform::Today();
    std::uint8_t prefix[dbf::kHeaderPrefixSize];
    prefix[0] = m_version;
    prefix[1] = static_cast<std::uint8_t>(today.year % 100);
    prefix[2] = static_cast<std::uint8_t>(today.month);
    prefix[3] = static_cast<std::uint8_t>(today.day);
    dbf::PutU32(prefix + 4, k);
    if (!m_file->WriteAt(0, prefix, sizeof prefix))
        return Fail(DbfError::kWriteFailed, m_file->LastError());

    m_recordCount = k;
    m_fileLength = std::max(m_fileLength, at + m_appendScratch.size());
    // The window may end where the new record now lies; let the next read refill it.
    m_windowFirst = m_windowCount = 0;
    m_current = k;
    return true;
}

bool RecordFile::WriteHeaderByte(std::uint32_t offset, std::uint8_t value)
{
    if (!IsOpen())
        return Fail(DbfError::kNotOpen);
    if (!m_writable)
        return Fail(DbfError::kReadOnly);
    if (!m_file->WriteAt(offset, &value, 1))
        return Fail(DbfError::kWriteFailed, m_file->LastError());
    if (offset == dbf::kCodePageOffset)
        m_codePageByte = value;
    return true;
}

} // namespace table
