#pragma once

#include "grid/grid_row.h"

#include <deque>
#include <functional>
#include <memory>

namespace grid {

// The sliding window of rows a grid keeps: a contiguous run first..first+count-1 of rows
// made on demand by the owner. Fetches only the rows missing from a requested range plus a
// margin, and trims from the far end so it never holds more than its capacity; a jump away
// from the window refetches one window around the target. Memory is therefore bounded by
// the capacity whatever the row count.
// Invariants: CachedRowCount() <= Capacity(); FirstCachedRow() == -1 exactly when the cache
// is empty. The cache owns its rows.
class RowCache
{
public:
    // Makes row `row`; called in the order the rows are fetched.
    using RowMaker = std::function<std::unique_ptr<GridRow>(int row)>;

    // Rows a default cache spans, from the screen height in pixels: the capacity is three
    // tenths of the screen (as rows of at least ten pixels would need), the margin a tenth.
    static int DefaultCapacity(int screenHeight) { return 3 * (screenHeight / 10); }
    static int DefaultMargin(int screenHeight) { return screenHeight / 10; }

    // A capacity or margin <= 0 takes the default for `screenHeight`. A change of capacity
    // flushes the cache first.
    void SetCacheSize(int capacity, int margin, int screenHeight);

    int Capacity() const { return m_capacity; }
    int Margin() const { return m_margin; }
    int FirstCachedRow() const { return m_first; }
    int CachedRowCount() const { return static_cast<int>(m_rows.size()); }
    bool IsCached(int row) const;

    // Makes rows first..last of a grid of `rowCount` rows available. Moving up (or into an
    // empty cache) the window starts `margin` rows above `first`; moving down it ends
    // `margin` rows below `last`. REQUIRES: 0 <= first <= last.
    void Ensure(int first, int last, int rowCount, const RowMaker& makeRow);

    void Flush();

    // The cached row, or null when `row` is outside the window.
    GridRow* Find(int row) const;

private:
    void FetchFresh(int start, int end, const RowMaker& makeRow); // end inclusive

    int m_capacity = 0;
    int m_margin = 0;
    int m_first = -1;
    std::deque<std::unique_ptr<GridRow>> m_rows;
};

} // namespace grid
