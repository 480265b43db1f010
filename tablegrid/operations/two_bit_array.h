#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tablegrid {

// Values 0..3 kept two bits each, indexed from a base that the first value sets, so that a
// state per record of a table of ten million records takes 2.5 megabytes. Unset entries
// read 0. Growing up is amortised; setting below the base moves the values (rare: the
// record operations walk records upwards).
class TwoBitArray
{
public:
    unsigned Get(std::int64_t index) const;
    void Set(std::int64_t index, unsigned value);
    void Clear();
    bool IsEmpty() const { return m_bytes.empty(); }
    // The first index at or after `from` whose value is not 0; -1 when there is none.
    std::int64_t NextNonZero(std::int64_t from) const;
    std::size_t MemoryBytes() const { return m_bytes.capacity(); }

private:
    std::int64_t m_base = 0;
    std::vector<std::uint8_t> m_bytes; // four values a byte, the first in the low bits
};

} // namespace tablegrid
