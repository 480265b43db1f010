#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tablegrid {

// Where the rows of a filtered table window are: the record numbers of some rows, so that
// any row is reached from a nearby known one by stepping through the passing records.
//
// For N records: step = ceil(N / 2560); checkpoint k holds the record of row k * step + 1
// (ceil(N / step) checkpoints); the first 2560 rows are held directly (entry 0 unused). The
// map is filled as the filter's count visits rows 1, 2, ... and takes a few kilobytes for
// any N. Entries not filled read 0.
class RowMap
{
public:
    static constexpr std::uint32_t kDirectRows = 2560;

    // Sizes the map for a table of `records` records, every entry 0; an empty table has an
    // empty map.
    void Reset(std::uint32_t records);
    void Clear() { Reset(0); }
    // Row `row` (1-based) shows record `record`.
    void Record(std::uint32_t row, std::uint32_t record);

    bool Empty() const { return m_checkpoints.empty(); }
    std::uint32_t Step() const { return m_step; }
    std::size_t CheckpointCount() const { return m_checkpoints.size(); }
    std::size_t DirectCount() const { return m_direct.size(); }
    std::uint32_t Checkpoint(std::size_t k) const { return m_checkpoints[k]; }

    struct RowPlace
    {
        std::uint32_t record = 0;
        std::int64_t offset = 0; // passing records to step from it (back when negative)
    };
    // Where row `row` (1-based) is found: a direct entry, or the nearer of the checkpoints
    // around it with the steps from there. Nothing for an empty map.
    std::optional<RowPlace> FindRow(std::uint32_t row) const;

    struct Known
    {
        std::uint32_t row = 0;
        std::uint32_t record = 0;
    };
    // The checkpoint whose record number is nearest to `record` (the first of two as near),
    // with its row. Nothing when no checkpoint is filled.
    std::optional<Known> NearestCheckpoint(std::uint32_t record) const;

private:
    std::uint32_t m_step = 1;
    std::vector<std::uint32_t> m_checkpoints;
    std::vector<std::uint32_t> m_direct;
};

} // namespace tablegrid
