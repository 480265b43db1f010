#pragma once

#include "table/table_structure.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class File;
class FileSystem;
} // namespace platform

namespace table {

// Misuse of the header checker: asking for a repair of a file it never opened, could not
// open, or has already closed. Damaged files never raise it; they are check results.
class CDBFException : public std::exception
{
public:
    static constexpr int kNoFileOpened = 1; // never opened a file, or the open failed
    static constexpr int kFileClosed = 2; // the file was closed (by Close or a finished repair)

    explicit CDBFException(int code)
        : m_code(code)
    { }
    int Code() const { return m_code; }
    const char* what() const noexcept override;

private:
    int m_code;
};

// The header checker run before a table window opens a table: reads the header and the
// field descriptors and tells whether the stored record count, header length and record
// length agree with the descriptors and the file's size. One kind of damage, disagreeing
// counts and lengths, can be repaired into a corrected copy ("fixedHDR.tmp"); putting the
// copy in place of the table is ReplaceWithRepaired's job (table/header_repair.h).
//
// The table is opened for reading and writing. The system offers no mandatory exclusive
// access, so kCannotOpen means that the file could not be opened for reading and writing
// (missing, read-only, a directory, no permission) or that reading its header failed.
//
// What the check computes from the descriptors read (n of them):
//   H = 32n + 33, the header length the descriptors call for;
//   R = 1 + the sum of their storage widths, the record length they call for;
//   N = whole records of R bytes between the start of the records and the end of the file
//       (a final end-of-file byte is no record, even when R is 1 and it would make one).
// The records start at the stored header length when it matches (H, or H + 1 for a header
// with one pad byte after the terminator), otherwise at H. When the
// widths add up to more than a 16-bit record length can hold, no header can describe the
// records: the result is kDisagrees, N is 0, and Repair refuses.
//
// The notification hooks do nothing here; a subclass overrides them to show progress or to
// speak to the user. Their declaration order is part of the class's interface.
//
// Owns its file; not copyable. Single-threaded.
class CDBFFile
{
public:
    enum class CheckResult : int {
        kNotChecked = -2, // no file was given
        kAgrees = 0, // the header agrees with the file
        kCannotOpen = 1, // the file cannot be opened for reading and writing
        kNotDbase = 2, // unknown version byte, or shorter than the 32-byte header
        kNoTerminatorEven = 3, // no 0x0D before the end or 257 descriptors; header length even
        kNoTerminatorOdd = 4, // the same with an odd stored header length
        kDisagrees = 5, // record count, header length or record length disagree
    };

    // Why the last repair failed.
    enum class RepairFailure {
        kNone,
        kNotRecoverable, // the check result is not kDisagrees
        kRecordTooLong, // the fields need more than 65535 bytes per record
        kTooManyRecords, // the file holds more records than a 32-bit count can say
        kOutputIsTable, // the table itself is named like the repair's output
        kCreateFailed, // the output file could not be created
        kReadFailed, // reading the table failed or found fewer bytes than checked
        kWriteFailed, // writing or flushing the output failed
    };

    static constexpr const char* kRepairFileName = "fixedHDR.tmp";
    static constexpr std::size_t kCopyBufferSize = 9000;

    // A checker with no file: Result() is kNotChecked.
    explicit CDBFFile(platform::FileSystem& fs);
    // Opens `path` and checks it; the result is available at once.
    CDBFFile(platform::FileSystem& fs, const std::string& path);
    virtual ~CDBFFile();
    CDBFFile(const CDBFFile&) = delete;
    CDBFFile& operator=(const CDBFFile&) = delete;

    // Speaks to the user on behalf of a subclass (a code and two texts, answered with an
    // integer, as the table operations speak). The checker itself never calls it.
    virtual int OnMessage(int code, const std::string& text1, const std::string& text2);
    // A repair was asked for damage it cannot mend: 0 for kNotDbase, 1 for kNoTerminatorOdd,
    // 2 for kNoTerminatorEven. The answer is not used.
    virtual int OnUnrepairableDamage(int kind);
    // A repair has written the whole corrected copy and closed both files.
    virtual void OnFinished();
    // A repair has copied the record with 0-based index i; `fraction` is i / N.
    virtual void OnProgress(double fraction);
    // A repair has written the corrected header and starts on the records (always 0).
    virtual void OnStarted(int stage);

    CheckResult Result() const { return m_result; }
    static bool IsRecoverable(CheckResult result) { return result == CheckResult::kDisagrees; }

    // The header as read. Not read for kNotChecked and kCannotOpen, nor (apart from the
    // file length) for a file shorter than the 32-byte header.
    const TableStructure& Header() const { return m_header; }
    int DescriptorCount() const { return static_cast<int>(m_header.fields.size()); }
    std::uint32_t ComputedHeaderLength() const { return m_headerLength; }
    // R as a 16-bit value (it wraps when the widths need more; see RecordLengthFits()).
    std::uint16_t ComputedRecordLength() const
    {
        return static_cast<std::uint16_t>(m_recordLength);
    }
    bool RecordLengthFits() const { return m_recordLength <= 0xFFFFu; }
    std::uint64_t ComputedRecordCount() const { return m_recordCount; }

    // Writes the corrected copy `directory` + "fixedHDR.tmp" (created, or emptied when it
    // exists): today's date, N, H and R where the stored values disagree, the rest of the
    // header and N records copied unchanged, then the end-of-file byte. On success both
    // files are closed and `*repairedPath` names the copy. On failure the table is as it
    // was, no output file is left behind, and RepairFailureReason() says why.
    // A result other than kDisagrees fails without writing.
    // REQUIRES: a file was opened and checked (else CDBFException kNoFileOpened); for
    // kDisagrees it is still open (else CDBFException kFileClosed).
    [[nodiscard]] bool Repair(const std::string& directory, std::string* repairedPath);
    RepairFailure RepairFailureReason() const { return m_repairFailure; }
    int LastSystemError() const { return m_lastSystemError; }

    // Closes the table file when it is open; the result stays.
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

private:
    void Check(const std::string& path);
    bool FailRepair(RepairFailure reason, int systemError = 0);
    bool WriteCopy(platform::File& out);
    bool CopyBytes(platform::File& out, std::uint64_t offset, std::uint64_t size);

    platform::FileSystem& m_fs;
    CheckResult m_result = CheckResult::kNotChecked;
    TableStructure m_header;
    std::vector<std::uint8_t> m_buffer;
    std::unique_ptr<platform::File> m_file;
    std::string m_path;

    std::uint32_t m_headerLength = 0; // H
    std::uint32_t m_recordLength = 0; // R, not wrapped
    std::uint64_t m_recordCount = 0; // N
    std::uint32_t m_recordsStart = 0; // where the records begin in the table
    bool m_headerLengthMatches = false;

    RepairFailure m_repairFailure = RepairFailure::kNone;
    int m_lastSystemError = 0;
};

// A short English description of a result, for the command-line tool and test messages.
const char* CheckResultText(CDBFFile::CheckResult result);

} // namespace table
