#include "tablegrid/operations/row_map.h"

#include <gtest/gtest.h>

namespace tablegrid {
namespace {

// Every row r shows record 2r: a filter passing the even records.
RowMap EvenRecords(std::uint32_t records)
{
    RowMap map;
    map.Reset(records);
    for (std::uint32_t row = 1; row <= records / 2; ++row)
        map.Record(row, 2 * row);
    return map;
}

TEST(RowMapTest, SizesFollowTheRecordCount)
{
    RowMap map;
    map.Reset(10000);
    EXPECT_EQ(map.Step(), 4u);
    EXPECT_EQ(map.CheckpointCount(), 2500u);
    EXPECT_EQ(map.DirectCount(), 2560u);
    map.Reset(2560);
    EXPECT_EQ(map.Step(), 1u);
    EXPECT_EQ(map.CheckpointCount(), 2560u);
    map.Reset(2561);
    EXPECT_EQ(map.Step(), 2u);
    EXPECT_EQ(map.CheckpointCount(), 1281u);
    map.Reset(10);
    EXPECT_EQ(map.DirectCount(), 10u);
    map.Reset(10'000'000);
    EXPECT_EQ(map.Step(), 3907u);
    EXPECT_LE(map.CheckpointCount(), 2560u);
    map.Reset(0);
    EXPECT_TRUE(map.Empty());
    EXPECT_FALSE(map.FindRow(1));
}

TEST(RowMapTest, RowsFromDirectEntriesOrTheNearerCheckpoint)
{
    RowMap map;
    map.Reset(10000);
    for (std::uint32_t row = 1; row <= 10000; ++row)
        map.Record(row, row + 100);
    const auto direct = map.FindRow(2559);
    ASSERT_TRUE(direct);
    EXPECT_EQ(direct->record, 2659u);
    EXPECT_EQ(direct->offset, 0);
    // Row 5000: checkpoint 1250 (row 5001) is nearer than 1249 (row 4997).
    const auto place = map.FindRow(5000);
    ASSERT_TRUE(place);
    EXPECT_EQ(place->record, map.Checkpoint(1250));
    EXPECT_EQ(place->record, 5101u);
    EXPECT_EQ(place->offset, -1);
    // Row 4998: one after checkpoint 1249.
    EXPECT_EQ(map.FindRow(4998)->record, 5097u);
    EXPECT_EQ(map.FindRow(4998)->offset, 1);
    // Row 10000: past the last checkpoint (2499, row 9997), it steps on from there.
    EXPECT_EQ(map.FindRow(10000)->record, 10097u);
    EXPECT_EQ(map.FindRow(10000)->offset, 3);
}

TEST(RowMapTest, AFilterFillsOnlyTheRowsItShows)
{
    const RowMap map = EvenRecords(20000); // 10000 rows, step 8
    EXPECT_EQ(map.Step(), 8u);
    // Row 9000 lies between checkpoint 1124 (row 8993) and 1125 (row 9001); 1125 is nearer.
    EXPECT_EQ(map.FindRow(9000)->record, 18002u);
    EXPECT_EQ(map.FindRow(9000)->offset, -1);
    // The last row: the checkpoint above is beyond the rows shown and empty, so the lower
    // one is used and stepped on from.
    EXPECT_EQ(map.FindRow(10000)->record, 19986u);
    EXPECT_EQ(map.FindRow(10000)->offset, 7);
}

TEST(RowMapTest, TheNearestCheckpointOfARecord)
{
    const RowMap map = EvenRecords(20000); // checkpoint k: row 8k + 1, record 16k + 2
    auto nearest = map.NearestCheckpoint(35);
    ASSERT_TRUE(nearest);
    EXPECT_EQ(nearest->record, 34u);
    EXPECT_EQ(nearest->row, 17u);
    EXPECT_EQ(map.NearestCheckpoint(1)->record, 2u);
    EXPECT_EQ(map.NearestCheckpoint(26)->record, 18u); // 18 and 34 as near: the first
    EXPECT_EQ(map.NearestCheckpoint(19999)->record, 16u * 1249 + 2);
    EXPECT_FALSE(RowMap().NearestCheckpoint(5));
}

} // namespace
} // namespace tablegrid
