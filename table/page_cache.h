#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace platform {
class File;
} // namespace platform

namespace table {

// A fixed number of 512-byte pages of one file kept in memory. Its memory is the capacity
// times the page size, whatever the file's length. Each page comes with a rank: a new page
// takes the place of the least recently used page of the lowest rank, so pages that many
// reads pass through (the upper levels of a tree, ranked higher) stay while a scan streams
// through the lowest rank. The file is not owned and must outlive its use here; Reset() forgets
// every page, as when the file changes. Pages are given back as they are in the file: checking them
// is the reader's business (Fetch says when a page was just read, Drop forgets one that failed its
// check).
class PageCache
{
public:
    static constexpr std::size_t kPageSize = 512;

    struct Stats
    {
        std::uint64_t hits = 0;
        std::uint64_t reads = 0; // pages read from the file
    };

    // REQUIRES: capacity >= 1.
    explicit PageCache(std::size_t capacity);

    void Reset(platform::File* file);

    // Gives the bytes of page `page` (valid until the next Fetch or Reset) and whether they
    // were read from the file just now; `rank` is the page's, as above. Fails when the read
    // fails or the file ends inside the page (LastSystemError() is then 0).
    [[nodiscard]] bool Fetch(
        std::uint32_t page, std::uint32_t rank, const std::uint8_t** data, bool* loaded);
    void Drop(std::uint32_t page);

    std::size_t Capacity() const { return m_slots.size(); }
    std::size_t Size() const { return m_slotOfPage.size(); }
    const Stats& GetStats() const { return m_stats; }
    int LastSystemError() const { return m_lastSystemError; }

private:
    struct Slot
    {
        std::uint32_t page = 0;
        std::uint32_t rank = 0;
        bool used = false;
        std::uint64_t lastUse = 0;
    };

    platform::File* m_file = nullptr;
    std::vector<Slot> m_slots;
    // One allocation per page, taken on the slot's first use, so an index opened and never
    // read costs nothing and a reader that strays past a page's end is caught by the
    // sanitizers rather than reading a neighbour.
    std::vector<std::unique_ptr<std::uint8_t[]>> m_pages;
    std::unordered_map<std::uint32_t, std::size_t> m_slotOfPage;
    std::size_t m_recent = 0; // slot of the last Fetch, tried first
    std::uint64_t m_clock = 0;
    Stats m_stats;
    int m_lastSystemError = 0;
};

} // namespace table
