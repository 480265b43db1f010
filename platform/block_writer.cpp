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

char* BlockWriter::ReserveInNextBlock(std::size_t bytes)
{
    if (!HandOver(false))
        return nullptr;
    if (bytes > m_filling.size())
        m_filling.resize(bytes);
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
    return HandOver(true) && WaitForWrites();
}

bool BlockWriter::HandOver(bool last)
{
    if (m_used == 0)
        return WaitForWrites();
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
            if (!WriteBlock(m_at, m_filling.data(), m_used))
                return false;
            m_at += m_used;
            m_used = 0;
            return true;
        }
    }
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_failed || m_queued.size() < kBlocksQueued; });
        if (m_failed)
            return false;
        m_queued.push_back({ std::move(m_filling), m_used, m_at });
        if (m_free.empty()) {
            m_filling = std::vector<char>();
        } else {
            m_filling = std::move(m_free.back());
            m_free.pop_back();
        }
    }
    m_changed.notify_all();
    m_at += m_used;
    m_used = 0;
    if (m_filling.size() < kBlockBytes)
        m_filling.resize(kBlockBytes);
    return true;
}

bool BlockWriter::WriteBlock(std::uint64_t at, const char* bytes, std::size_t size)
{
    // The file is synced when complete; the disk takes each block meanwhile.
    return m_file.WriteAt(at, bytes, size) && m_stream.Written(at, size);
}

bool BlockWriter::WaitForWrites()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_failed || m_queued.empty(); });
    return !m_failed;
}

void BlockWriter::WriteBlocks()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_queued.empty(); });
        if (m_stop)
            return; // the output is given up: what is left need not be written
        // The front block stays in the queue, untouched by others, while it is written.
        Block& block = m_queued.front();
        lock.unlock();
        const bool written = WriteBlock(block.at, block.bytes.data(), block.size);
        lock.lock();
        m_failed = m_failed || !written;
        m_free.push_back(std::move(block.bytes));
        m_queued.pop_front();
        m_changed.notify_all();
        if (m_failed)
            return; // nothing after a failed write is written
    }
}

} // namespace platform
