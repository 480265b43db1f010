#include "grid/row_cache.h"

#include <gtest/gtest.h>

#include <vector>

namespace grid {
namespace {

// Records the order in which the cache asks for rows, and tags each row with its index.
class RowCacheTest : public ::testing::Test
{
protected:
    void Ensure(int first, int last, int rowCount)
    {
        fetched.clear();
        cache.Ensure(first, last, rowCount, [this](int row) {
            fetched.push_back(row);
            auto made = std::make_unique<GridRow>(1, kWhiteColor);
            made->texts[0] = std::to_string(row);
            return made;
        });
    }

    // Every cached row holds its own index, in order.
    void ExpectWindow(int first, int count)
    {
        ASSERT_EQ(cache.FirstCachedRow(), first);
        ASSERT_EQ(cache.CachedRowCount(), count);
        for (int row = first; row < first + count; ++row)
            ASSERT_EQ(cache.Find(row)->texts[0], std::to_string(row));
        EXPECT_EQ(cache.Find(first - 1), nullptr);
        EXPECT_EQ(cache.Find(first + count), nullptr);
    }

    static std::vector<int> Range(int from, int to) // inclusive, either direction
    {
        std::vector<int> rows;
        for (int row = from; from <= to ? row <= to : row >= to; row += from <= to ? 1 : -1)
            rows.push_back(row);
        return rows;
    }

    RowCache cache;
    std::vector<int> fetched;
};

TEST_F(RowCacheTest, DefaultsComeFromTheScreenHeight)
{
    cache.SetCacheSize(0, 0, 768);
    EXPECT_EQ(cache.Capacity(), 228);
    EXPECT_EQ(cache.Margin(), 76);
    cache.SetCacheSize(50, -1, 768);
    EXPECT_EQ(cache.Capacity(), 50);
    EXPECT_EQ(cache.Margin(), 76);
}

TEST_F(RowCacheTest, ChangingTheCapacityFlushesButTheMarginAloneDoesNot)
{
    cache.SetCacheSize(10, 2, 768);
    Ensure(0, 2, 100);
    cache.SetCacheSize(10, 5, 768);
    EXPECT_EQ(cache.CachedRowCount(), 10);
    cache.SetCacheSize(12, 5, 768);
    EXPECT_EQ(cache.CachedRowCount(), 0);
    EXPECT_EQ(cache.FirstCachedRow(), -1);
}

TEST_F(RowCacheTest, FirstFillTakesAWindowFromTheMarginAboveTheRequest)
{
    cache.SetCacheSize(10, 3, 768);
    Ensure(5, 7, 100);
    EXPECT_EQ(fetched, Range(2, 11));
    ExpectWindow(2, 10);

    // Rows already cached cost nothing.
    Ensure(3, 11, 100);
    EXPECT_TRUE(fetched.empty());
}

TEST_F(RowCacheTest, ScrollingOneRowPastTheWindowFetchesTheMissingRowsAndTheMargin)
{
    cache.SetCacheSize(10, 3, 768);
    Ensure(0, 0, 100); // rows 0..9
    Ensure(1, 10, 100);
    // The window ends margin rows below row 10, dropping as many rows from the head.
    EXPECT_EQ(fetched, Range(10, 13));
    ExpectWindow(4, 10);
}

TEST_F(RowCacheTest, MovingDownTrimsTheHeadOnlyByWhatExceedsTheCapacity)
{
    cache.SetCacheSize(20, 2, 768);
    Ensure(0, 2, 100); // 0..19
    Ensure(18, 21, 100);
    EXPECT_EQ(fetched, Range(20, 23));
    ExpectWindow(4, 20);
}

TEST_F(RowCacheTest, MovingUpWithOverlapInsertsAtTheHeadInDescendingOrder)
{
    cache.SetCacheSize(10, 3, 768);
    Ensure(50, 52, 100); // 47..56
    Ensure(45, 47, 100);
    // Start 42; rows 46 down to 42 are made at the head, the tail is trimmed to capacity.
    EXPECT_EQ(fetched, Range(46, 42));
    ExpectWindow(42, 10);
}

TEST_F(RowCacheTest, FarJumpsRefetchAWholeWindowAroundTheTarget)
{
    cache.SetCacheSize(10, 3, 768);
    Ensure(0, 2, 100); // 0..9
    Ensure(80, 82, 100);
    // Down without overlap: the window ends margin rows below the last requested row.
    EXPECT_EQ(fetched, Range(76, 85));
    ExpectWindow(76, 10);

    Ensure(10, 12, 100);
    // Up without overlap: the window begins margin rows above the first requested row.
    EXPECT_EQ(fetched, Range(7, 16));
    ExpectWindow(7, 10);
}

TEST_F(RowCacheTest, WindowsStopAtBothEndsOfTheGrid)
{
    cache.SetCacheSize(10, 3, 768);
    Ensure(98, 99, 100);
    EXPECT_EQ(fetched, Range(95, 99)); // moving into an empty cache: start 95, end of grid
    ExpectWindow(95, 5);
    Ensure(99, 99, 100);
    EXPECT_TRUE(fetched.empty());
    Ensure(1, 1, 100);
    EXPECT_EQ(fetched, Range(0, 9));
}

TEST_F(RowCacheTest, HugeGridsCostOneWindowWhateverTheJump)
{
    const int rows = 2'000'000'000;
    cache.SetCacheSize(0, 0, 768);
    Ensure(rows - 1, rows - 1, rows);
    EXPECT_EQ(fetched.size(), 77u); // the margin above, and the row itself
    EXPECT_EQ(fetched.back(), rows - 1);
    Ensure(rows / 2, rows / 2 + 30, rows);
    EXPECT_EQ(fetched.size(), 228u);
    EXPECT_EQ(cache.CachedRowCount(), 228);
}

TEST_F(RowCacheTest, RequestsAreClampedToTheGridAndEmptyGridsFetchNothing)
{
    cache.SetCacheSize(10, 3, 768);
    Ensure(0, 5, 0);
    EXPECT_TRUE(fetched.empty());
    EXPECT_EQ(cache.FirstCachedRow(), -1);
    Ensure(500, 600, 20);
    EXPECT_EQ(fetched, Range(16, 19));
}

TEST_F(RowCacheTest, WithoutCapacityNothingIsCached)
{
    Ensure(0, 3, 100);
    EXPECT_TRUE(fetched.empty());
    EXPECT_EQ(cache.Find(0), nullptr);
}

} // namespace
} // namespace grid
