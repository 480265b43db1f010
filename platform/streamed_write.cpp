#include "platform/streamed_write.h"

#include "platform/file_system.h"

namespace platform {

StreamedWrite::StreamedWrite(File& file)
    : m_file(file)
{
}

bool StreamedWrite::Written(std::uint64_t offset, std::uint64_t size)
{
    m_file.StartWriteback(offset, size);
    m_behind.emplace_back(offset, size);
    if (m_behind.size() <= kPartsBehind)
        return true;
    const auto [at, bytes] = m_behind.front();
    m_behind.pop_front();
    return m_file.SettleWritten(at, bytes);
}

} // namespace platform
