#include "table/dbf_file.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "table/dbf_format.h"

#include <algorithm>
#include <limits>

namespace table {
namespace {

using Result = CDBFFile::CheckResult;

// The versions the checker knows how to judge. A dBASE IV table without memo (0x04) opens,
// but its header is not one this program writes, so it only earns the warning.
bool IsCheckedVersion(std::uint8_t version)
{
    return version == dbf::kVersionDbase3 || version == dbf::kVersionDbase3Memo
        || version == dbf::kVersionDbase4Memo || version == dbf::kVersionFoxProMemo;
}

// Header bytes 0..11: version, date, record count, header length, record length.
constexpr std::uint32_t kHeaderValuesSize = 12;

} // namespace

const char* CDBFException::what() const noexcept
{
    return m_code == kFileClosed ? "the header checker's file is closed"
                                 : "the header checker has no open file";
}

CDBFFile::CDBFFile(platform::FileSystem& fs)
    : m_fs(fs)
{ }

CDBFFile::CDBFFile(platform::FileSystem& fs, const std::string& path)
    : m_fs(fs)
{
    Check(path);
}

CDBFFile::~CDBFFile() = default;

int CDBFFile::OnMessage(int, const std::string&, const std::string&)
{
    return 0;
}

int CDBFFile::OnUnrepairableDamage(int)
{
    return 0;
}

void CDBFFile::OnFinished() { }

void CDBFFile::OnProgress(double) { }

void CDBFFile::OnStarted(int) { }

void CDBFFile::Close()
{
    m_file.reset();
}

void CDBFFile::Check(const std::string& path)
{
    m_path = path;
    int error = 0;
    m_file = m_fs.Open(path, platform::OpenMode::kReadWrite, &error);
    std::uint64_t size = 0;
    if (m_file && !m_file->Size(&size)) {
        error = m_file->LastError();
        m_file.reset();
    }
    if (!m_file) {
        m_lastSystemError = error;
        m_result = Result::kCannotOpen;
        return;
    }

    // Too short to hold the fixed header: nothing in it can be judged.
    if (size < dbf::kFileHeaderSize) {
        m_header.fileLength = size;
        m_header.fileName = platform::FileNameOf(path);
        m_result = Result::kNotDbase;
        return;
    }
    const StructureReadResult read
        = ReadTableStructure(*m_file, platform::FileNameOf(path), &m_header);
    if (!read.ok) {
        // The file shrank or the system failed the read: it cannot be worked on.
        m_lastSystemError = m_file->LastError();
        m_file.reset();
        m_result = Result::kCannotOpen;
        return;
    }
    if (!IsCheckedVersion(m_header.version)) {
        m_result = Result::kNotDbase;
        return;
    }

    m_recordLength = 1;
    for (const FieldDef& field : m_header.fields)
        m_recordLength += field.StorageWidth();
    if (read.descriptorLimitHit || !read.terminatorFound) {
        m_result
            = m_header.headerLength % 2 == 0 ? Result::kNoTerminatorEven : Result::kNoTerminatorOdd;
        return;
    }

    // H is always odd, so H + 1 is the even length of a header with one pad byte.
    m_headerLength = dbf::HeaderLengthFor(static_cast<std::uint32_t>(m_header.fields.size()));
    const std::uint32_t stored = m_header.headerLength;
    m_headerLengthMatches = stored == m_headerLength || stored == m_headerLength + 1;
    // A padded header's records start after the pad byte. Counting from H instead would
    // take the pad into the records: with two-byte records the pad and the end-of-file
    // byte would make one record more than the table holds.
    m_recordsStart = m_headerLengthMatches ? stored : m_headerLength;

    if (!RecordLengthFits()) {
        // No stored record length can describe such records, so none are counted.
        m_recordCount = 0;
        m_result = Result::kDisagrees;
        return;
    }
    m_recordCount = m_header.fileLength >= m_recordsStart
        ? (m_header.fileLength - m_recordsStart) / m_recordLength
        : 0;
    // Records of one byte (no fields, only the flag) would count the end-of-file byte as a
    // record, and the repair, which writes one after the records, would make the next check
    // find one record more again. A flag is never 0x1A, so a final 0x1A ends the file.
    if (m_recordLength == 1 && m_recordCount > 0) {
        std::uint8_t last = 0;
        std::size_t got = 0;
        if (!m_file->ReadAt(m_header.fileLength - 1, &last, 1, &got) || got != 1) {
            m_lastSystemError = m_file->LastError();
            m_file.reset();
            m_result = Result::kCannotOpen;
            return;
        }
        if (last == dbf::kEndOfFile)
            --m_recordCount;
    }
    const bool agrees = m_header.recordCount == m_recordCount && m_headerLengthMatches
        && m_header.recordLength == m_recordLength;
    m_result = agrees ? Result::kAgrees : Result::kDisagrees;
}

bool CDBFFile::FailRepair(RepairFailure reason, int systemError)
{
    m_repairFailure = reason;
    m_lastSystemError = systemError;
    return false;
}

bool CDBFFile::Repair(const std::string& directory, std::string* repairedPath)
{
    if (m_result == Result::kNotChecked || m_result == Result::kCannotOpen)
        throw CDBFException(CDBFException::kNoFileOpened);
    m_repairFailure = RepairFailure::kNone;
    m_lastSystemError = 0;
    switch (m_result) {
    case Result::kDisagrees:
        break;
    case Result::kNotDbase:
        OnUnrepairableDamage(0);
        return FailRepair(RepairFailure::kNotRecoverable);
    case Result::kNoTerminatorOdd:
        OnUnrepairableDamage(1);
        return FailRepair(RepairFailure::kNotRecoverable);
    case Result::kNoTerminatorEven:
        OnUnrepairableDamage(2);
        return FailRepair(RepairFailure::kNotRecoverable);
    default:
        return FailRepair(RepairFailure::kNotRecoverable);
    }
    if (!m_file)
        throw CDBFException(CDBFException::kFileClosed);
    if (!RecordLengthFits())
        return FailRepair(RepairFailure::kRecordTooLong);
    if (m_recordCount > std::numeric_limits<std::uint32_t>::max())
        return FailRepair(RepairFailure::kTooManyRecords);
    // Creating the output empties a file of that name; it must never be the table itself.
    if (platform::FileNameOf(m_path) == kRepairFileName)
        return FailRepair(RepairFailure::kOutputIsTable);

    std::string outPath = directory;
    if (!outPath.empty() && outPath.back() != '/')
        outPath += '/';
    outPath += kRepairFileName;
    int error = 0;
    std::unique_ptr<platform::File> out = m_fs.Open(outPath, platform::OpenMode::kCreate, &error);
    if (!out)
        return FailRepair(RepairFailure::kCreateFailed, error);
    m_buffer.resize(kCopyBufferSize);
    bool written = WriteCopy(*out);
    // The copy is about to replace the table: it must be on the disk before that.
    if (written && !out->Sync())
        written = FailRepair(RepairFailure::kWriteFailed, out->LastError());
    out.reset();
    if (!written) {
        (void)m_fs.Remove(outPath);
        return false;
    }
    Close();
    OnFinished();
    *repairedPath = outPath;
    return true;
}

// The output is the table's own bytes up to the end of the last whole record, with the
// header values corrected, and an end-of-file byte. Records keep their offsets: they start
// at the stored header length when it matched (a pad byte is copied with the header) and at
// H otherwise, which is also the header length written then.
bool CDBFFile::WriteCopy(platform::File& out)
{
    std::uint8_t values[kHeaderValuesSize];
    std::size_t got = 0;
    if (!m_file->ReadAt(0, values, sizeof values, &got))
        return FailRepair(RepairFailure::kReadFailed, m_file->LastError());
    if (got != sizeof values)
        return FailRepair(RepairFailure::kReadFailed);

    const platform::CalendarDate today = platform::Today();
    values[1] = static_cast<std::uint8_t>(today.year % 100);
    values[2] = static_cast<std::uint8_t>(today.month);
    values[3] = static_cast<std::uint8_t>(today.day);
    const auto count = static_cast<std::uint32_t>(m_recordCount);
    if (m_header.recordCount != count)
        dbf::PutU32(values + 4, count);
    if (!m_headerLengthMatches)
        dbf::PutU16(values + 8, static_cast<std::uint16_t>(m_headerLength));
    if (m_header.recordLength != m_recordLength)
        dbf::PutU16(values + 10, static_cast<std::uint16_t>(m_recordLength));
    if (!out.WriteAt(0, values, sizeof values))
        return FailRepair(RepairFailure::kWriteFailed, out.LastError());

    // Reserved bytes with the code-page byte, the descriptors, the terminator, any pad byte.
    if (!CopyBytes(out, kHeaderValuesSize, m_recordsStart - kHeaderValuesSize))
        return false;
    OnStarted(0);

    // As many whole records per read as the buffer holds; a longer record goes in pieces.
    const std::uint64_t perRun = std::max<std::uint64_t>(1, kCopyBufferSize / m_recordLength);
    std::uint64_t offset = m_recordsStart;
    for (std::uint64_t first = 0; first < m_recordCount;) {
        const std::uint64_t run = std::min(perRun, m_recordCount - first);
        if (!CopyBytes(out, offset, run * m_recordLength))
            return false;
        for (std::uint64_t k = first; k < first + run; ++k)
            OnProgress(static_cast<double>(k) / static_cast<double>(m_recordCount));
        offset += run * m_recordLength;
        first += run;
    }

    const std::uint8_t eof = dbf::kEndOfFile;
    if (!out.WriteAt(offset, &eof, 1))
        return FailRepair(RepairFailure::kWriteFailed, out.LastError());
    return true;
}

bool CDBFFile::CopyBytes(platform::File& out, std::uint64_t offset, std::uint64_t size)
{
    while (size > 0) {
        const std::size_t chunk
            = static_cast<std::size_t>(std::min<std::uint64_t>(size, m_buffer.size()));
        std::size_t got = 0;
        if (!m_file->ReadAt(offset, m_buffer.data(), chunk, &got))
            return FailRepair(RepairFailure::kReadFailed, m_file->LastError());
        // The check counted these bytes; a file that shrank since cannot be copied whole.
        if (got != chunk)
            return FailRepair(RepairFailure::kReadFailed);
        if (!out.WriteAt(offset, m_buffer.data(), chunk))
            return FailRepair(RepairFailure::kWriteFailed, out.LastError());
        offset += chunk;
        size -= chunk;
    }
    return true;
}

const char* CheckResultText(CDBFFile::CheckResult result)
{
    switch (result) {
    case Result::kNotChecked:
        return "no file was checked";
    case Result::kAgrees:
        return "the header agrees with the file";
    case Result::kCannotOpen:
        return "the file cannot be opened for reading and writing";
    case Result::kNotDbase:
        return "not a dBase table: unknown version byte or too short";
    case Result::kNoTerminatorEven:
    case Result::kNoTerminatorOdd:
        return "the field descriptors have no terminator";
    case Result::kDisagrees:
        return "record count, header length or record length disagree with the file";
    }
    return "unknown result";
}

} // namespace table
