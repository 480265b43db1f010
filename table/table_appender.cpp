#include "table/table_appender.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "table/dbf_format.h"

#include <algorithm>

namespace table {

TableAppender::TableAppender(platform::File& file, std::uint8_t version,
                             std::uint16_t headerLength, std::uint16_t recordLength,
                             std::uint32_t recordCount)
    : m_file(file)
    , m_writer(file, headerLength + std::uint64_t { recordCount } * recordLength)
    , m_version(version)
    , m_recordLength(recordLength)
    , m_count(recordCount)
{
}

bool TableAppender::Fail(DbfError error)
{
    m_lastError = error;
    m_lastSystemError = m_file.LastError();
    return false;
}

bool TableAppender::Add(const std::uint8_t* record)
{
    if (m_count == UINT32_MAX)
        return Fail(DbfError::kTooManyRecords);
    if (!m_writer.Append({ reinterpret_cast<const char*>(record), m_recordLength }))
        return Fail(DbfError::kWriteFailed);
    ++m_count;
    return true;
}

bool TableAppender::AddRun(const std::uint8_t* records, std::uint32_t count)
{
    while (count > 0) {
        if (m_count == UINT32_MAX)
            return Fail(DbfError::kTooManyRecords);
        // A block's worth at a time (at least one record).
        const std::uint32_t take = static_cast<std::uint32_t>(std::min<std::uint64_t>({ count,
            std::max<std::size_t>(platform::BlockWriter::kBlockBytes / m_recordLength, 1),
            UINT32_MAX - m_count }));
        const std::size_t bytes = std::size_t { take } * m_recordLength;
        if (!m_writer.Append({ reinterpret_cast<const char*>(records), bytes }))
            return Fail(DbfError::kWriteFailed);
        m_count += take;
        records += bytes;
        count -= take;
    }
    return true;
}

bool TableAppender::Finish()
{
    // A new table is synced before it replaces anything; the writer has put each block on
    // its way to the disk while the next was gathered.
    const char end = static_cast<char>(dbf::kEndOfFile);
    if (!m_writer.Append({ &end, 1 }) || !m_writer.Flush())
        return Fail(DbfError::kWriteFailed);
    // A file that was longer (a table being replaced in place) ends at the end byte.
    if (!m_file.Truncate(m_writer.Offset()))
        return Fail(DbfError::kWriteFailed);
    const platform::CalendarDate today = platform::Today();
    std::uint8_t prefix[dbf::kHeaderPrefixSize];
    prefix[0] = m_version;
    prefix[1] = static_cast<std::uint8_t>(today.year % 100);
    prefix[2] = static_cast<std::uint8_t>(today.month);
    prefix[3] = static_cast<std::uint8_t>(today.day);
    dbf::PutU32(prefix + 4, m_count);
    if (!m_file.WriteAt(0, prefix, sizeof prefix))
        return Fail(DbfError::kWriteFailed);
    return true;
}

} // namespace table
