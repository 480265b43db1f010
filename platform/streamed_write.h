#pragma once

#include <cstdint>
#include <deque>
#include <utility>

namespace platform {

class File;

// Follows a long write of a new file from its start to its end, part by part: each part
// written is started on its way to the disk at once, and the part a few parts behind is
// waited for and let go from memory. The file is synced when complete, so its data is
// pushed out while the writer goes on rather than all at the end; and a file of gigabytes
// not read back passes through a few megabytes of memory instead of filling it, taking the
// memory of its own earlier parts rather than fresh memory.
class StreamedWrite
{
public:
    // Parts kept in memory behind the one just written.
    static constexpr std::size_t kPartsBehind = 16;

    explicit StreamedWrite(File& file);

    // The `size` bytes at `offset` have been written. False when the disk failed a part
    // waited for: the write has failed, whatever a later sync says.
    [[nodiscard]] bool Written(std::uint64_t offset, std::uint64_t size);

private:
    File& m_file;
    std::deque<std::pair<std::uint64_t, std::uint64_t>> m_behind;
};

} // namespace platform
