#include "tablegrid/operations/two_bit_array.h"

#include <algorithm>

namespace tablegrid {

unsigned TwoBitArray::Get(std::int64_t index) const
{
    const std::int64_t at = index - m_base;
    if (m_bytes.empty() || at < 0 || at >= static_cast<std::int64_t>(m_bytes.size()) * 4)
        return 0;
    const std::uint8_t byte = m_bytes[static_cast<std::size_t>(at / 4)];
    return (byte >> ((at % 4) * 2)) & 3u;
}

void TwoBitArray::Set(std::int64_t index, unsigned value)
{
    value &= 3u;
    if (m_bytes.empty()) {
        if (value == 0)
            return;
        m_base = index - index % 4;
    } else if (index < m_base) {
        if (value == 0)
            return;
        // Move the values up by whole bytes so the new index fits.
        const std::int64_t newBase = index - index % 4;
        const auto shift = static_cast<std::size_t>((m_base - newBase) / 4);
        m_bytes.insert(m_bytes.begin(), shift, 0);
        m_base = newBase;
    }
    const auto byteIndex = static_cast<std::size_t>((index - m_base) / 4);
    if (byteIndex >= m_bytes.size()) {
        if (value == 0)
            return;
        m_bytes.resize(byteIndex + 1, 0);
    }
    const unsigned shift = static_cast<unsigned>((index - m_base) % 4) * 2;
    std::uint8_t& byte = m_bytes[byteIndex];
    byte = static_cast<std::uint8_t>((byte & ~(3u << shift)) | (value << shift));
}

void TwoBitArray::Clear()
{
    m_bytes.clear();
    m_bytes.shrink_to_fit();
    m_base = 0;
}

std::int64_t TwoBitArray::NextNonZero(std::int64_t from) const
{
    if (m_bytes.empty())
        return -1;
    std::int64_t at = std::max<std::int64_t>(from - m_base, 0);
    const auto count = static_cast<std::int64_t>(m_bytes.size()) * 4;
    while (at < count) {
        const auto byteIndex = static_cast<std::size_t>(at / 4);
        const std::uint8_t byte = m_bytes[byteIndex];
        if (byte == 0 || (byte >> ((at % 4) * 2)) == 0) {
            // Nothing more in this byte: skip whole zero bytes at once.
            std::size_t next = byteIndex + 1;
            while (next < m_bytes.size() && m_bytes[next] == 0)
                ++next;
            at = static_cast<std::int64_t>(next) * 4;
            continue;
        }
        if (((byte >> ((at % 4) * 2)) & 3u) != 0)
            return at + m_base;
        ++at;
    }
    return -1;
}

} // namespace tablegrid
