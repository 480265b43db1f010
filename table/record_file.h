#pragma once

#include "table/dbf_error.h"
#include "table/field_def.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class File;
class FileSystem;
} // namespace platform

namespace table {

// An open table file at the byte level: its header values, the field layout and one record
// buffer. Records are read through a window of consecutive records, so a scan makes one
// system call per window rather than one per record, and a record read at random costs one
// read. Writes go to the file at once (the window is kept in step).
//
// Opening checks every header value it depends on against the file's real length before
// using it: the field count comes from the stored header length ((length - 33) / 32), the
// descriptors must lie inside the file, the record length must hold the fields. A record
// count larger than the file holds is accepted (the header check offers to repair it);
// reading such a record fails with kRecordBeyondFile.
//
// Not copyable; owns its file. Record numbers are 1-based; 0 means none.
class RecordFile
{
public:
    enum class Mode { kRead, kReadWrite };

    explicit RecordFile(platform::FileSystem& fs);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    [[nodiscard]] bool Open(const std::string& path, Mode mode);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    const std::string& Path() const { return m_path; }
    std::uint8_t Version() const { return m_version; }
    std::uint8_t CodePageByte() const { return m_codePageByte; }
    std::uint32_t RecordCount() const { return m_recordCount; }
    std::uint16_t HeaderLength() const { return m_headerLength; }
    std::uint16_t RecordLength() const { return m_recordLength; }
    std::uint64_t FileLength() const { return m_fileLength; }
    // Whole records the file holds after the header (may differ from RecordCount()).
    std::uint64_t RecordsInFile() const;
    // Records the header counts and the file holds: what anything sized by the number of
    // records (an index, a list of rows) may take, as the header's count is unchecked.
    std::uint32_t RecordsHeld() const;
    const std::vector<FieldLayout>& Fields() const { return m_fields; }
    bool HasMemoFields() const;

    // The record buffer: RecordLength() bytes, the deletion flag first.
    const std::uint8_t* Record() const { return m_record.data(); }
    std::uint8_t* MutableRecord() { return m_record.data(); }
    std::uint32_t CurrentRecord() const { return m_current; }
    // Fills the buffer with spaces (an active, blank record) and forgets the current record.
    void ClearRecord();

    // Reads record k into the buffer. On failure the buffer is blank and there is no
    // current record.
    [[nodiscard]] bool ReadRecord(std::uint32_t k);
    // Writes the buffer as record k (1 <= k <= RecordCount()); the header is not touched.
    // A record the file no longer holds (another program cut it short) is not written, as
    // that would fill the file up to it with bytes no one wrote (kRecordBeyondFile).
    [[nodiscard]] bool WriteRecord(std::uint32_t k);
    // Forgets the records read ahead, so the next reads see the file as it is now (another
    // program may have changed it).
    void ForgetReadAhead();
    // Sets the deletion flags of records first..first+count-1: flags[i] is the new flag byte
    // of record first + i, or 0 to leave that record as it is. Each run of records the read
    // window holds is read afresh and written back with one write (records between two
    // flagged ones as they were read), so flagging every record of a large table takes a
    // write per window rather than one per record. The current record's buffer gets its new
    // flag; nothing else of the buffer changes. On failure, the runs before the failing one
    // are written.
    // REQUIRES: flags points at count bytes.
    [[nodiscard]] bool WriteDeletionFlags(std::uint32_t first, const std::uint8_t* flags,
                                          std::uint32_t count);
    // Writes the buffer as a new last record, then the end-of-file byte, then the header's
    // version, today's date and the new count. The new record becomes current.
    [[nodiscard]] bool AppendRecord();

    // For scans: makes records first.. available in place and gives a pointer to record
    // `first` and how many consecutive records follow it in memory (at least 1 on
    // success). Does not change the record buffer.
    [[nodiscard]] bool ReadRun(std::uint32_t first, const std::uint8_t** records,
                               std::uint32_t* count);

    // Writes one header byte (the code-page byte) without touching the update date.
    [[nodiscard]] bool WriteHeaderByte(std::uint32_t offset, std::uint8_t value);

    // The open file itself, for readers that scan it in their own way (code-page guessing).
    platform::File* RawFile() const { return m_file.get(); }

    DbfError LastError() const { return m_lastError; }
    int LastSystemError() const { return m_lastSystemError; }

    // Bytes of the read window; whole records, at least one.
    static constexpr std::size_t kWindowBytes = 128 * 1024;

private:
    bool Fail(DbfError error, int systemError = 0);
    bool CheckHeader(const std::uint8_t* header);
    bool ReadDescriptors();
    bool FillWindow(std::uint32_t first);
    std::uint64_t RecordOffset(std::uint32_t k) const;

    platform::FileSystem& m_fs;
    std::unique_ptr<platform::File> m_file;
    std::string m_path;
    bool m_writable = false;

    std::uint8_t m_version = 0;
    std::uint8_t m_codePageByte = 0;
    std::uint32_t m_recordCount = 0;
    std::uint16_t m_headerLength = 0;
    std::uint16_t m_recordLength = 0;
    std::uint64_t m_fileLength = 0;
    std::vector<FieldLayout> m_fields;

    std::vector<std::uint8_t> m_record;
    std::uint32_t m_current = 0;
    std::vector<std::uint8_t> m_appendScratch; // a record and the end-of-file byte

    std::vector<std::uint8_t> m_window;
    std::uint32_t m_windowFirst = 0; // first record in the window; 0 = empty
    std::uint32_t m_windowCount = 0;
    std::uint32_t m_lastMiss = 0;    // record of the last window fill, to spot backward scans

    DbfError m_lastError = DbfError::kNone;
    int m_lastSystemError = 0;
};

} // namespace table
