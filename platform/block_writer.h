#pragma once

#include "platform/file_system.h"
#include "platform/streamed_write.h"

#include <condition_variable>
#include <deque>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace platform {

// Collects output and writes it to a file a large block at a time, from a given offset on.
// Output is put straight into the block through Reserve and End, or appended whole.
//
// Full blocks are written by a thread of the writer's own while the caller fills the next
// ones, so making the output and handing it to the system overlap. A write that fails is seen
// at the next Reserve, Append or Flush, which then fail; nothing after it is written. The
// file is reached only from that thread while the writer lives: Flush waits for it, and the
// caller may use the file again (to sync it) once Flush has returned. Output that never fills
// a block is written by Flush itself, with no thread.
class BlockWriter
{
public:
    static constexpr std::size_t kBlockBytes = 2 * 1024 * 1024;
    // Blocks that may wait for the thread at once: a moment the disk makes the thread wait
    // does not stop the caller.
    static constexpr std::size_t kBlocksQueued = 6;

    explicit BlockWriter(File& file, std::uint64_t offset = 0);
    ~BlockWriter();
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Room for `bytes` more at the end of the block, handing the block over first when it
    // would not hold them; nullptr when a write has failed.
    char* Reserve(std::size_t bytes)
    {
        // Inline for the common case, as it is asked for every line.
        if (m_used + bytes <= m_filling.size())
            return m_filling.data() + m_used;
        return ReserveInNextBlock(bytes);
    }
    void End(const char* end) { m_used = static_cast<std::size_t>(end - m_filling.data()); }
    [[nodiscard]] bool Append(std::string_view text);

    // Writes what is collected and waits until every write is done; false when one failed.
    [[nodiscard]] bool Flush();
    // Where the next byte collected goes in the file.
    std::uint64_t Offset() const { return m_at + m_used; }

private:
    struct Block
    {
        std::vector<char> bytes;
        std::size_t size = 0;
        std::uint64_t at = 0;
    };

    // Hands the block being filled to the writing thread and takes a free one, waiting while
    // kBlocksQueued wait already; `last`: no more output follows, so a first block is
    // written here.
    bool HandOver(bool last);
    char* ReserveInNextBlock(std::size_t bytes);
    bool WriteBlock(std::uint64_t at, const char* bytes, std::size_t size);
    // Waits until every block handed over is written; false when a write failed.
    bool WaitForWrites();
    void WriteBlocks();

    File& m_file;
    StreamedWrite m_stream; // used by one thread at a time, as the file is
    std::vector<char> m_filling;
    std::size_t m_used = 0;
    std::uint64_t m_at = 0;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    // Under m_mutex: the blocks handed over and not yet written, the front one being
    // written; the buffers written and free again.
    std::deque<Block> m_queued;
    std::vector<std::vector<char>> m_free;
    bool m_failed = false;
    bool m_stop = false;
    std::thread m_thread; // started with the first block handed over
};

} // namespace platform
