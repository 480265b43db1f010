#include "table/page_cache.h"

#include "platform/file_system.h"

#include <cassert>

namespace table {

PageCache::PageCache(std::size_t capacity)
    : m_slots(capacity)
    , m_pages(capacity)
{
    assert(capacity >= 1);
}

void PageCache::Reset(platform::File* file)
{
    m_file = file;
    for (Slot& slot : m_slots)
        slot = Slot();
    m_slotOfPage.clear();
    m_recent = 0;
    m_stats = Stats();
    m_lastSystemError = 0;
}

bool PageCache::Fetch(
    std::uint32_t page, std::uint32_t rank, const std::uint8_t** data, bool* loaded)
{
    // Navigation mostly stays on one leaf, so the last slot used is the likeliest hit.
    std::size_t found = m_slots.size();
    if (m_slots[m_recent].used && m_slots[m_recent].page == page) {
        found = m_recent;
    } else if (const auto it = m_slotOfPage.find(page); it != m_slotOfPage.end()) {
        found = it->second;
    }
    *loaded = found == m_slots.size();
    if (*loaded) {
        if (m_file == nullptr)
            return false;
        found = 0;
        for (std::size_t i = 0; i < m_slots.size(); ++i) {
            if (!m_slots[i].used) {
                found = i;
                break;
            }
            const Slot& candidate = m_slots[i];
            const Slot& chosen = m_slots[found];
            if (candidate.rank < chosen.rank
                || (candidate.rank == chosen.rank && candidate.lastUse < chosen.lastUse))
                found = i;
        }
        if (!m_pages[found])
            m_pages[found] = std::make_unique<std::uint8_t[]>(kPageSize);
        Slot& slot = m_slots[found];
        if (slot.used)
            m_slotOfPage.erase(slot.page);
        slot.used = false;
        std::size_t got = 0;
        if (!m_file->ReadAt(
                std::uint64_t { page } * kPageSize, m_pages[found].get(), kPageSize, &got)) {
            m_lastSystemError = m_file->LastError();
            return false;
        }
        if (got != kPageSize) {
            m_lastSystemError = 0;
            return false;
        }
        slot.page = page;
        slot.rank = rank;
        slot.used = true;
        m_slotOfPage.emplace(page, found);
        ++m_stats.reads;
    } else {
        ++m_stats.hits;
    }
    m_slots[found].lastUse = ++m_clock;
    m_recent = found;
    *data = m_pages[found].get();
    return true;
}

void PageCache::Drop(std::uint32_t page)
{
    if (const auto it = m_slotOfPage.find(page); it != m_slotOfPage.end()) {
        m_slots[it->second].used = false;
        m_slotOfPage.erase(it);
    }
}

} // namespace table
