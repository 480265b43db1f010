#include "tablegrid/operations/row_map.h"

#include <algorithm>

namespace tablegrid {

void RowMap::Reset(std::uint32_t records)
{
    m_checkpoints.clear();
    m_direct.clear();
    m_step = 1;
    if (records == 0)
        return;
    m_step = static_cast<std::uint32_t>((static_cast<std::uint64_t>(records) + kDirectRows - 1) / kDirectRows);
    m_checkpoints.assign(static_cast<std::size_t>((static_cast<std::uint64_t>(records) + m_step - 1) / m_step), 0);
    m_direct.assign(std::min(records, kDirectRows), 0);
}

void RowMap::Record(std::uint32_t row, std::uint32_t record)
{
    if (row == 0)
        return;
    if (row < m_direct.size())
        m_direct[row] = record;
    if ((row - 1) % m_step == 0) {
        const std::size_t k = (row - 1) / m_step;
        if (k < m_checkpoints.size())
            m_checkpoints[k] = record;
    }
}

std::optional<RowMap::RowPlace> RowMap::FindRow(std::uint32_t row) const
{
    if (Empty() || row == 0)
        return std::nullopt;
    if (row < m_direct.size())
        return RowPlace { m_direct[row], 0 };
    const std::uint64_t before = row - 1;
    const std::uint64_t lo = before / m_step;
    const std::uint64_t hi = (before + m_step - 1) / m_step;
    std::uint64_t k = hi;
    const std::uint64_t loRow = lo * m_step + 1;
    const std::uint64_t hiRow = hi * m_step + 1;
    if (hi >= m_checkpoints.size() || m_checkpoints[hi] == 0 || row - loRow < hiRow - row)
        k = lo;
    if (k >= m_checkpoints.size())
        return std::nullopt;
    return RowPlace { m_checkpoints[k],
        static_cast<std::int64_t>(before) - static_cast<std::int64_t>(k * m_step) };
}

// The filled checkpoints come first and rise with their rows, so the nearest one is found
// by halving.
std::optional<RowMap::Known> RowMap::NearestCheckpoint(std::uint32_t record) const
{
    const auto filledEnd = std::find(m_checkpoints.begin(), m_checkpoints.end(), 0u);
    if (filledEnd == m_checkpoints.begin())
        return std::nullopt;
    auto at = std::lower_bound(m_checkpoints.begin(), filledEnd, record);
    if (at == filledEnd
        || (at != m_checkpoints.begin() && record - *(at - 1) <= *at - record))
        --at;
    const auto k = static_cast<std::uint32_t>(at - m_checkpoints.begin());
    return Known { k * m_step + 1, *at };
}

} // namespace tablegrid
