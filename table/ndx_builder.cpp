#include "table/ndx_builder.h"

#include "platform/file_system.h"
#include "table/dbf_format.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <limits>
#include <memory>

namespace table {
namespace {

// Pages gathered before one write: the file goes out in large sequential pieces.
constexpr std::size_t kWriteBatchPages = 128;

std::uint64_t PrefixOf(std::string_view key)
{
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i)
        prefix = (prefix << 8) | (i < key.size() ? static_cast<std::uint8_t>(key[i]) : ndx::kPad);
    return prefix;
}

// First unit of `part` when `units` are shared as evenly as possible among `parts`.
std::uint64_t ShareStart(std::uint64_t units, std::uint64_t parts, std::uint64_t part)
{
    return units * part / parts;
}

// Hands out zeroed pages in file order and writes them in batches; remembers the first
// failure and stops writing after it.
class PageWriter
{
public:
    explicit PageWriter(platform::File& file)
        : m_file(file)
        , m_buffer(kWriteBatchPages * ndx::kPageSize)
    { }

    std::uint8_t* NextPage()
    {
        if (m_pending == kWriteBatchPages)
            Flush();
        std::uint8_t* page = &m_buffer[m_pending * ndx::kPageSize];
        std::memset(page, 0, ndx::kPageSize);
        ++m_pending;
        return page;
    }

    bool Flush()
    {
        if (m_pending > 0 && m_ok) {
            m_ok = m_file.WriteAt(m_offset, m_buffer.data(), m_pending * ndx::kPageSize);
            if (!m_ok)
                m_error = m_file.LastError();
            m_offset += m_pending * ndx::kPageSize;
        }
        m_pending = 0;
        return m_ok;
    }

    int Error() const { return m_error; }

private:
    platform::File& m_file;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_pending = 0;
    std::uint64_t m_offset = 0;
    bool m_ok = true;
    int m_error = 0;
};

} // namespace

NdxBuilder::NdxBuilder(platform::FileSystem& fs, NdxKeyType type, std::string expression,
    bool unique, std::uint16_t keyLength)
    : m_fs(fs)
    , m_type(type)
    , m_expression(std::move(expression))
    , m_unique(unique)
    , m_keyLength(type == NdxKeyType::kNumeric ? ndx::kNumericKeyLength
                                               : std::min(keyLength, ndx::kMaxKeyLength))
{
    assert(keyLength <= ndx::kMaxKeyLength);
}

void NdxBuilder::Reserve(std::size_t keys)
{
    m_items.reserve(keys);
}

void NdxBuilder::Add(std::uint32_t record, std::string_view key)
{
    assert(m_type == NdxKeyType::kCharacter && record != 0);
    const std::size_t limit = m_keyLength != 0 ? m_keyLength : ndx::kMaxKeyLength;
    key = key.substr(0, limit);
    m_longestKey = std::max(m_longestKey, static_cast<std::uint16_t>(key.size()));
    // Trailing blanks are what padding restores; keeping them would only cost memory.
    while (!key.empty() && key.back() == ' ')
        key.remove_suffix(1);
    Item item;
    item.prefix = PrefixOf(key);
    item.record = record;
    item.length = static_cast<std::uint16_t>(key.size());
    if (key.size() > 8) {
        item.tail = m_tails.size();
        m_tails.insert(m_tails.end(), key.begin() + 8, key.end());
    }
    m_items.push_back(item);
}

void NdxBuilder::Add(std::uint32_t record, double key)
{
    assert(m_type == NdxKeyType::kNumeric && record != 0);
    Item item;
    item.prefix = ndx::NumberOrder(key);
    item.record = record;
    m_items.push_back(item);
}

int NdxBuilder::CompareTails(const Item& a, const Item& b) const
{
    const std::size_t lengthA = a.length > 8 ? a.length - 8u : 0;
    const std::size_t lengthB = b.length > 8 ? b.length - 8u : 0;
    const std::uint8_t* tailA = m_tails.data() + a.tail;
    const std::uint8_t* tailB = m_tails.data() + b.tail;
    const std::size_t common = std::min(lengthA, lengthB);
    if (common > 0) {
        if (const int c = std::memcmp(tailA, tailB, common))
            return c;
    }
    // Where one key ends, the other's further bytes meet the blanks the shorter is padded with.
    for (std::size_t i = common; i < lengthA; ++i) {
        if (tailA[i] != ndx::kPad)
            return tailA[i] < ndx::kPad ? -1 : 1;
    }
    for (std::size_t i = common; i < lengthB; ++i) {
        if (tailB[i] != ndx::kPad)
            return tailB[i] < ndx::kPad ? 1 : -1;
    }
    return 0;
}

bool NdxBuilder::Less(const Item& a, const Item& b) const
{
    if (a.prefix != b.prefix)
        return a.prefix < b.prefix;
    if (m_type == NdxKeyType::kCharacter) {
        if (const int c = CompareTails(a, b))
            return c < 0;
    }
    return a.record < b.record;
}

bool NdxBuilder::SameKey(const Item& a, const Item& b) const
{
    return a.prefix == b.prefix && (m_type == NdxKeyType::kNumeric || CompareTails(a, b) == 0);
}

void NdxBuilder::PutKey(const Item& item, std::uint8_t* out) const
{
    if (m_type == NdxKeyType::kNumeric) {
        ndx::StoreDouble(out, ndx::NumberFromOrder(item.prefix));
        return;
    }
    const std::size_t keyLength = m_header.keyLength;
    for (std::size_t i = 0; i < 8 && i < keyLength; ++i)
        out[i] = static_cast<std::uint8_t>(item.prefix >> (56 - 8 * i));
    if (item.length > 8)
        std::memcpy(out + 8, m_tails.data() + item.tail, item.length - 8u);
    if (keyLength > 8 && item.length < keyLength) {
        const std::size_t from = std::max<std::size_t>(item.length, 8);
        std::memset(out + from, ndx::kPad, keyLength - from);
    }
}

bool NdxBuilder::Fail(NdxError error, int systemError)
{
    m_lastError = error;
    m_lastSystemError = systemError;
    return false;
}

bool NdxBuilder::Finish(const std::string& path)
{
    m_lastError = NdxError::kNone;
    m_lastSystemError = 0;
    bool ok = true;
    if (m_expression.size() > ndx::kMaxExpressionLength
        || m_expression.find('\0') != std::string::npos) {
        ok = Fail(NdxError::kBadExpression);
    }
    if (ok) {
        std::sort(m_items.begin(), m_items.end(),
            [this](const Item& a, const Item& b) { return Less(a, b); });
        if (m_unique) {
            const auto twin = std::adjacent_find(m_items.begin(), m_items.end(),
                [this](const Item& a, const Item& b) { return SameKey(a, b); });
            if (twin != m_items.end())
                ok = Fail(NdxError::kDuplicateKey);
        }
    }
    if (ok)
        ok = WriteFile(path);
    std::vector<Item>().swap(m_items);
    std::vector<std::uint8_t>().swap(m_tails);
    return ok;
}

bool NdxBuilder::WriteFile(const std::string& path)
{
    ndx::Header& h = m_header;
    h.keyType = m_type;
    h.keyLength = m_keyLength != 0 ? m_keyLength : std::max<std::uint16_t>(m_longestKey, 1);
    h.entrySize = ndx::EntrySizeFor(h.keyLength);
    h.keysPerPage = ndx::KeysPerPageFor(h.entrySize);
    h.unique = m_unique;
    h.expressionLength = static_cast<std::uint32_t>(m_expression.size());

    // Pages per level, leaves first; the root is the one page of the last level.
    const std::uint64_t entries = m_items.size();
    const std::uint64_t perPage = h.keysPerPage;
    std::vector<std::uint64_t> levels { std::max<std::uint64_t>(
        1, (entries + perPage - 1) / perPage) };
    while (levels.back() > 1)
        levels.push_back((levels.back() + perPage) / (perPage + 1));
    std::uint64_t total = h.FirstTreePage();
    for (std::uint64_t pages : levels)
        total += pages;
    if (total > std::numeric_limits<std::uint32_t>::max())
        return Fail(NdxError::kWriteFailed);
    h.pageCount = static_cast<std::uint32_t>(total);
    h.root = h.pageCount - 1;

    // An index named by a link is written where the link leads; the link stays.
    int error = 0;
    platform::Replacement replacement = platform::OpenReplacement(m_fs, path, ".tmp", &error);
    const std::string& placed = replacement.placed;
    const std::string& temporary = replacement.temporary;
    std::unique_ptr<platform::File> file = std::move(replacement.file);
    if (!file)
        return Fail(NdxError::kOpenFailed, error);
    PageWriter writer(*file);

    ndx::EncodeHeader(h, m_expression, writer.NextPage());
    for (std::uint32_t i = 0; i < ndx::ExpressionPagesFor(h.expressionLength); ++i) {
        const std::size_t from = std::size_t { i } * ndx::kPageSize;
        const std::size_t size = std::min<std::size_t>(ndx::kPageSize, m_expression.size() - from);
        std::memcpy(writer.NextPage(), m_expression.data() + from, size);
    }

    // Each page of a level passes up its greatest entry, which becomes the parent's entry.
    const std::size_t entrySize = h.entrySize;
    std::vector<std::uint64_t> greatest(levels[0]);
    std::uint32_t levelStart = h.FirstTreePage();
    for (std::uint64_t j = 0; j < levels[0]; ++j) {
        std::uint8_t* page = writer.NextPage();
        const std::uint64_t begin = ShareStart(entries, levels[0], j);
        const std::uint64_t end = ShareStart(entries, levels[0], j + 1);
        dbf::PutU32(page, static_cast<std::uint32_t>(end - begin));
        std::uint8_t* entry = page + ndx::kEntriesOffset;
        for (std::uint64_t i = begin; i < end; ++i, entry += entrySize) {
            dbf::PutU32(entry + 4, m_items[i].record);
            PutKey(m_items[i], entry + 8);
        }
        greatest[j] = end - 1;
    }
    for (std::size_t level = 1; level < levels.size(); ++level) {
        const std::uint64_t children = levels[level - 1];
        std::vector<std::uint64_t> above(levels[level]);
        for (std::uint64_t j = 0; j < levels[level]; ++j) {
            std::uint8_t* page = writer.NextPage();
            const std::uint64_t begin = ShareStart(children, levels[level], j);
            const std::uint64_t end = ShareStart(children, levels[level], j + 1);
            dbf::PutU32(page, static_cast<std::uint32_t>(end - begin - 1));
            std::uint8_t* entry = page + ndx::kEntriesOffset;
            for (std::uint64_t i = begin; i + 1 < end; ++i, entry += entrySize) {
                const Item& item = m_items[greatest[i]];
                dbf::PutU32(entry, static_cast<std::uint32_t>(levelStart + i));
                dbf::PutU32(entry + 4, item.record);
                PutKey(item, entry + 8);
            }
            dbf::PutU32(entry, static_cast<std::uint32_t>(levelStart + end - 1));
            above[j] = greatest[end - 1];
        }
        levelStart += static_cast<std::uint32_t>(children);
        greatest.swap(above);
    }

    const bool written = writer.Flush();
    file.reset();
    if (!written) {
        (void)m_fs.Remove(temporary);
        return Fail(NdxError::kWriteFailed, writer.Error());
    }
    if (!m_fs.Rename(temporary, placed)) {
        (void)m_fs.Remove(temporary);
        return Fail(NdxError::kRenameFailed);
    }
    return true;
}

} // namespace table
