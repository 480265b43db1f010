#pragma once

#include "platform/block_writer.h"
#include "table/dbf_error.h"

#include <cstdint>

namespace platform {
class File;
}

namespace table {

// Appends many records to a table file in large sequential writes, for packing and saving
// a table under a new name; the blocks are written while the next ones are gathered (see
// platform::BlockWriter), so the file is reached from another thread until Finish. The
// header's record count, date and the end-of-file byte are written once, by Finish; until
// then the file's header still describes only the records it had. Not copyable; the file
// must outlive the appender.
class TableAppender
{
public:
    // REQUIRES: `recordCount` records of `recordLength` bytes already follow the header.
    TableAppender(platform::File& file, std::uint8_t version, std::uint16_t headerLength,
                  std::uint16_t recordLength, std::uint32_t recordCount);

    // REQUIRES: `record` points at recordLength bytes.
    [[nodiscard]] bool Add(const std::uint8_t* record);
    // Adds `count` consecutive records at once. REQUIRES: records points at count records.
    [[nodiscard]] bool AddRun(const std::uint8_t* records, std::uint32_t count);
    // Writes what is buffered, the end-of-file byte, and the header's version, today's date
    // and the new record count.
    [[nodiscard]] bool Finish();

    std::uint32_t RecordCount() const { return m_count; }
    DbfError LastError() const { return m_lastError; }
    int LastSystemError() const { return m_lastSystemError; }

private:
    bool Fail(DbfError error);

    platform::File& m_file;
    platform::BlockWriter m_writer;
    std::uint8_t m_version;
    std::uint16_t m_recordLength;
    std::uint32_t m_count;
    DbfError m_lastError = DbfError::kNone;
    int m_lastSystemError = 0;
};

} // namespace table
