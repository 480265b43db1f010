#include "grid/row_cache.h"

#include <algorithm>

namespace grid {

void RowCache::SetCacheSize(int capacity, int margin, int screenHeight)
{
    if (capacity <= 0)
        capacity = DefaultCapacity(screenHeight);
    if (margin <= 0)
        margin = DefaultMargin(screenHeight);
    if (capacity != m_capacity)
        Flush();
    m_capacity = capacity;
    m_margin = margin;
}

bool RowCache::IsCached(int row) const
{
    return m_first >= 0 && row >= m_first && row - m_first < CachedRowCount();
}

void RowCache::Flush()
{
    m_rows.clear();
    m_first = -1;
}

GridRow* RowCache::Find(int row) const
{
    return IsCached(row) ? m_rows[static_cast<size_t>(row - m_first)].get() : nullptr;
}

void RowCache::FetchFresh(int start, int end, const RowMaker& makeRow)
{
    Flush();
    for (int row = start; row <= end; ++row)
        m_rows.push_back(makeRow(row));
    m_first = m_rows.empty() ? -1 : start;
}

void RowCache::Ensure(int first, int last, int rowCount, const RowMaker& makeRow)
{
    if (rowCount <= 0 || m_capacity <= 0) {
        Flush();
        return;
    }
    first = std::clamp(first, 0, rowCount - 1);
    last = std::clamp(last, first, rowCount - 1);

    if (m_rows.empty() || first < m_first) {
        // Moving up: a window of `capacity` rows beginning `margin` rows above `first`.
        const int start = std::max(first - m_margin, 0);
        const int end = static_cast<int>(
            std::min<long long>(static_cast<long long>(start) + m_capacity, rowCount));
        if (m_rows.empty() || end <= m_first) {
            FetchFresh(start, end - 1, makeRow);
            return;
        }
        const int newCount = CachedRowCount() + (m_first - start);
        for (int excess = newCount - m_capacity; excess > 0; --excess)
            m_rows.pop_back();
        for (int row = m_first - 1; row >= start; --row)
            m_rows.push_front(makeRow(row));
        m_first = start;
        return;
    }

    const int lastCached = m_first + CachedRowCount() - 1;
    if (last <= lastCached)
        return;
    // Moving down: the window ends `margin` rows below `last`.
    const int end = static_cast<int>(
        std::min<long long>(static_cast<long long>(last) + m_margin, rowCount - 1));
    const int start = std::max(end - m_capacity + 1, 0);
    if (start > lastCached) {
        FetchFresh(start, end, makeRow);
        return;
    }
    const int newCount = end - m_first + 1;
    for (int excess = newCount - m_capacity; excess > 0; --excess) {
        m_rows.pop_front();
        ++m_first;
    }
    for (int row = lastCached + 1; row <= end; ++row)
        m_rows.push_back(makeRow(row));
}

} // namespace grid
