#include "platform/block_writer.h"

#include <cstring>
#include <system_error>

namespace platform {

BlockWriter::BlockWriter(File& file, std::uint64_t offset)
    : m_file(file)
    , m_stream(file)
    , m_filling(kBlockBytes)
    , m_at(offset)
{
}

BlockWriter::~BlockWriter()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

char* BlockWriter::Reserve(std::size_t bytes)
{
    if (m_used + bytes > m_filling.size()) {
        if (!HandOver(false))
            return nullptr;
        if (bytes > m_filling.size())
            m_filling.resize(bytes);
    }
    return m_filling.data() + m_used;
}

bool BlockWriter::Append(std::string_view text)
{
    char* at = Reserve(text.size());
    if (!at)
        return false;
    std::memcpy(at, text.data(), text.size());
    End(at + text.size());
    return true;
}

bool BlockWriter::Flush()
{
    return HandOver(true) && WaitForWrite();
}

bool BlockWriter::HandOver(bool last)
{
    if (!WaitForWrite())
        return false;
    if (m_used == 0)
        return true;
    if (!m_thread.joinable()) {
        bool started = !last;
        if (started) {
            try {
                m_thread = std::thread(&BlockWriter::WriteBlocks, this);
            } catch (const std::system_error&) {
                started = false;
            }
        }
        if (!started) {
            // The only block, or no thread to be had: the block is written here and now.
            if (!m_file.WriteAt(m_at, m_filling.data(), m_used) || !m_stream.Written(m_at, m_used))
                return false;
            m_at += m_used;
            m_used = 0;
            return true;
        }
    }
    {
        std::lock_guard lock(m_mutex);
        m_writing.swap(m_filling);
        m_writingSize = m_used;
        m_writingAt = m_at;
    }
    m_changed.notify_all();
    m_at += m_used;
    m_used = 0;
    if (m_filling.size() < kBlockBytes)
        m_filling.resize(kBlockBytes);
    return true;
}

bool BlockWriter::WaitForWrite()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_writingSize == 0; });
    return !m_failed;
}

void BlockWriter::WriteBlocks()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || m_writingSize > 0; });
        if (m_stop)
            return; // the output is given up: what is left need not be written
        const std::size_t size = m_writingSize;
        const std::uint64_t at = m_writingAt;
        lock.unlock();
        // The block stays this thread's until m_writingSize is cleared below.
        // The file is synced when complete; the disk takes each block meanwhile.
        const bool written = m_file.WriteAt(at, m_writing.data(), size) && m_stream.Written(at, size);
        lock.lock();
        m_failed = m_failed || !written;
        m_writingSize = 0;
        m_changed.notify_all();
    }
}

} // namespace platform
