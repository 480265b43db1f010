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
    , m_stream(file)
    , m_version(version)
    , m_headerLength(headerLength)
    , m_recordLength(recordLength)
    , m_count(recordCount)
    , m_writeAt(headerLength + std::uint64_t { recordCount } * recordLength)
{
    m_buffer.reserve(kBufferBytes + recordLength);
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
    m_buffer.insert(m_buffer.end(), record, record + m_recordLength);
    ++m_count;
    return m_buffer.size() < kBufferBytes || Flush();
}

bool TableAppender::AddRun(const std::uint8_t* records, std::uint32_t count)
{
    while (count > 0) {
        if (m_count == UINT32_MAX)
            return Fail(DbfError::kTooManyRecords);
        // As many as the buffer holds (at least one), copied at once.
        const std::size_t room = m_buffer.size() < kBufferBytes ? kBufferBytes - m_buffer.size() : 0;
        std::uint32_t take = static_cast<std::uint32_t>(
            std::min<std::uint64_t>({ count, std::max<std::size_t>(room / m_recordLength, 1),
                                      UINT32_MAX - m_count }));
        const std::size_t bytes = std::size_t { take } * m_recordLength;
        m_buffer.insert(m_buffer.end(), records, records + bytes);
        m_count += take;
        records += bytes;
        count -= take;
        if (m_buffer.size() >= kBufferBytes && !Flush())
            return false;
    }
    return true;
}

bool TableAppender::Flush()
{
    if (m_buffer.empty())
        return true;
    // A new table is synced before it replaces anything; the disk takes each block while
    // the next is gathered.
    if (!m_file.WriteAt(m_writeAt, m_buffer.data(), m_buffer.size())
        || !m_stream.Written(m_writeAt, m_buffer.size()))
        return Fail(DbfError::kWriteFailed);
    m_writeAt += m_buffer.size();
    m_buffer.clear();
    return true;
}

bool TableAppender::Finish()
{
    m_buffer.push_back(dbf::kEndOfFile);
    if (!Flush())
        return false;
    // A file that was longer (a table being replaced in place) ends at the end byte.
    if (!m_file.Truncate(m_writeAt))
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
