#include "table/ndx_index.h"

#include "platform/file_system.h"
#include "table/dbf_format.h"

#include <cstring>

namespace table {
namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

template <typename T> int Order(T a, T b)
{
    return (a > b) - (a < b);
}

} // namespace

NdxIndex::NdxIndex(platform::FileSystem& fs, std::size_t cachePages)
    : m_fs(fs)
    , m_cache(cachePages)
{ }

NdxIndex::~NdxIndex() = default;

bool NdxIndex::Fail(NdxError error, int systemError)
{
    m_lastError = error;
    m_lastSystemError = systemError;
    Unposition();
    return false;
}

bool NdxIndex::Open(const std::string& path)
{
    Close();
    m_lastError = NdxError::kNone;
    m_lastSystemError = 0;
    int error = 0;
    m_file = m_fs.Open(path, platform::OpenMode::kRead, &error);
    if (!m_file)
        return Fail(NdxError::kOpenFailed, error);
    if (!ReadHeader() || !FindHeight()) {
        Close();
        return false;
    }
    m_key.assign(m_header.keyLength, ndx::kPad);
    return true;
}

bool NdxIndex::ReadHeader()
{
    std::uint64_t size = 0;
    if (!m_file->Size(&size))
        return Fail(NdxError::kReadFailed, m_file->LastError());
    if (size < ndx::kPageSize)
        return Fail(NdxError::kBadHeader);
    std::uint8_t header[ndx::kPageSize];
    std::size_t got = 0;
    if (!m_file->ReadAt(0, header, sizeof header, &got))
        return Fail(NdxError::kReadFailed, m_file->LastError());
    std::string start;
    if (got != sizeof header || !ndx::DecodeHeader(header, size, &m_header, &start))
        return Fail(NdxError::kBadHeader);
    if (m_header.expressionLength == start.size()) {
        m_expression = std::move(start);
        return true;
    }
    // The whole expression follows the header; its start there must agree with it.
    m_expression.resize(m_header.expressionLength);
    if (!m_file->ReadAt(ndx::kPageSize, m_expression.data(), m_expression.size(), &got))
        return Fail(NdxError::kReadFailed, m_file->LastError());
    if (got != m_expression.size() || m_expression.compare(0, start.size(), start) != 0
        || m_expression.find('\0') != std::string::npos)
        return Fail(NdxError::kBadHeader);
    return true;
}

bool NdxIndex::FindHeight()
{
    // Down the leftmost path to a leaf; every later descent expects the leaves at this depth.
    m_cache.Reset(m_file.get());
    std::uint32_t page = m_header.root;
    for (std::size_t depth = 0; depth < ndx::kMaxHeight; ++depth) {
        const std::uint8_t* data = nullptr;
        if (!FetchPage(page, depth, &data))
            return false;
        page = dbf::GetU32(data + ndx::kEntriesOffset);
        if (page == 0) {
            m_path.assign(depth + 1, Step());
            return true;
        }
    }
    return Fail(NdxError::kBadPage);
}

void NdxIndex::Close()
{
    m_cache.Reset(nullptr);
    m_file.reset();
    m_header = ndx::Header();
    m_expression.clear();
    m_path.clear();
    m_key.clear();
    Unposition();
}

bool NdxIndex::CheckPage(std::uint32_t page, const std::uint8_t* data) const
{
    const std::uint32_t count = dbf::GetU32(data);
    if (count > m_header.keysPerPage)
        return false;
    const std::size_t entrySize = m_header.entrySize;
    const std::uint8_t* entry = data + ndx::kEntriesOffset;
    if (dbf::GetU32(entry) != 0) {
        for (std::uint32_t i = 0; i <= count; ++i, entry += entrySize) {
            const std::uint32_t child = dbf::GetU32(entry);
            if (child < m_header.FirstTreePage() || child >= m_header.pageCount || child == page)
                return false;
        }
        return true;
    }
    for (std::uint32_t i = 0; i < count; ++i, entry += entrySize) {
        if (dbf::GetU32(entry) != 0 || dbf::GetU32(entry + 4) == 0)
            return false;
    }
    return true;
}

bool NdxIndex::FetchPage(std::uint32_t page, std::size_t depth, const std::uint8_t** data)
{
    // Pages nearer the root are passed by more descents, so they rank higher in the cache.
    const auto rank = static_cast<std::uint32_t>(ndx::kMaxHeight - depth);
    bool loaded = false;
    if (!m_cache.Fetch(page, rank, data, &loaded))
        return Fail(NdxError::kReadFailed, m_cache.LastSystemError());
    if (loaded && !CheckPage(page, *data)) {
        m_cache.Drop(page);
        return Fail(NdxError::kBadPage);
    }
    return true;
}

bool NdxIndex::LoadPage(std::uint32_t page, std::size_t depth, const std::uint8_t** data)
{
    if (!FetchPage(page, depth, data))
        return false;
    const bool interior = dbf::GetU32(*data + ndx::kEntriesOffset) != 0;
    const bool leafLevel = depth + 1 == m_path.size();
    // Only the root of an empty index is an empty leaf.
    if (interior == leafLevel || (leafLevel && depth > 0 && dbf::GetU32(*data) == 0))
        return Fail(NdxError::kBadPage);
    return true;
}

std::uint32_t NdxIndex::ChildAt(const std::uint8_t* data, std::uint32_t index) const
{
    return dbf::GetU32(data + ndx::kEntriesOffset + std::size_t { index } * m_header.entrySize);
}

bool NdxIndex::TakeCurrent(const std::uint8_t* leaf)
{
    const std::uint8_t* entry
        = leaf + ndx::kEntriesOffset + std::size_t { m_path.back().index } * m_header.entrySize;
    m_record = dbf::GetU32(entry + 4);
    std::memcpy(m_key.data(), entry + 8, m_key.size());
    return true;
}

bool NdxIndex::DescendEdge(std::size_t depth, std::uint32_t page, Edge edge)
{
    for (;; ++depth) {
        const std::uint8_t* data = nullptr;
        if (!LoadPage(page, depth, &data))
            return false;
        Step& step = m_path[depth];
        step.page = page;
        step.count = dbf::GetU32(data);
        if (depth + 1 < m_path.size()) {
            step.index = edge == Edge::kFirst ? 0 : step.count;
            page = ChildAt(data, step.index);
            continue;
        }
        if (step.count == 0) {
            Unposition();
            return true;
        }
        step.index = edge == Edge::kFirst ? 0 : step.count - 1;
        return TakeCurrent(data);
    }
}

bool NdxIndex::StepForward()
{
    const std::uint8_t* data = nullptr;
    Step& leaf = m_path.back();
    if (leaf.index + 1 < leaf.count) {
        ++leaf.index;
        return LoadPage(leaf.page, m_path.size() - 1, &data) && TakeCurrent(data);
    }
    for (std::size_t depth = m_path.size() - 1; depth-- > 0;) {
        Step& step = m_path[depth];
        if (step.index < step.count) {
            ++step.index;
            return LoadPage(step.page, depth, &data)
                && DescendEdge(depth + 1, ChildAt(data, step.index), Edge::kFirst);
        }
    }
    Unposition();
    return true;
}

bool NdxIndex::StepBackward()
{
    const std::uint8_t* data = nullptr;
    Step& leaf = m_path.back();
    if (leaf.index > 0) {
        --leaf.index;
        return LoadPage(leaf.page, m_path.size() - 1, &data) && TakeCurrent(data);
    }
    for (std::size_t depth = m_path.size() - 1; depth-- > 0;) {
        Step& step = m_path[depth];
        if (step.index > 0) {
            --step.index;
            return LoadPage(step.page, depth, &data)
                && DescendEdge(depth + 1, ChildAt(data, step.index), Edge::kLast);
        }
    }
    Unposition();
    return true;
}

bool NdxIndex::First()
{
    if (!IsOpen())
        return Fail(NdxError::kNotOpen);
    return DescendEdge(0, m_header.root, Edge::kFirst);
}

bool NdxIndex::Last()
{
    if (!IsOpen())
        return Fail(NdxError::kNotOpen);
    return DescendEdge(0, m_header.root, Edge::kLast);
}

bool NdxIndex::Next()
{
    if (!IsOpen())
        return Fail(NdxError::kNotOpen);
    return !Valid() || StepForward();
}

bool NdxIndex::Prev()
{
    if (!IsOpen())
        return Fail(NdxError::kNotOpen);
    return !Valid() || StepBackward();
}

int NdxIndex::CompareKey(const std::uint8_t* key, const Target& target) const
{
    if (m_header.keyType == NdxKeyType::kNumeric) {
        return Order(
            ndx::NumberOrder(ndx::LoadDouble(key)), ndx::NumberOrder(ndx::LoadDouble(target.key)));
    }
    if (target.keySize > 0) {
        if (const int c = std::memcmp(key, target.key, target.keySize))
            return Sign(c);
    }
    for (std::size_t i = target.keySize; i < m_header.keyLength; ++i) {
        if (key[i] != target.pad)
            return key[i] < target.pad ? -1 : 1;
    }
    return 0;
}

int NdxIndex::CompareEntry(const std::uint8_t* entry, const Target& target) const
{
    const int c = CompareKey(entry + 8, target);
    if (c != 0 || target.record == 0)
        return c;
    return Order(dbf::GetU32(entry + 4), target.record);
}

bool NdxIndex::DescendTo(const Target& target)
{
    // Interior entries carry their child's greatest entry, so the first entry not below the
    // target leads to the child that holds the first such entry in the leaves.
    std::uint32_t page = m_header.root;
    const std::size_t entrySize = m_header.entrySize;
    for (std::size_t depth = 0;; ++depth) {
        const std::uint8_t* data = nullptr;
        if (!LoadPage(page, depth, &data))
            return false;
        Step& step = m_path[depth];
        step.page = page;
        step.count = dbf::GetU32(data);
        std::uint32_t low = 0;
        std::uint32_t high = step.count;
        while (low < high) {
            const std::uint32_t middle = low + (high - low) / 2;
            if (CompareEntry(data + ndx::kEntriesOffset + middle * entrySize, target) < 0)
                low = middle + 1;
            else
                high = middle;
        }
        step.index = low;
        if (depth + 1 < m_path.size()) {
            page = ChildAt(data, low);
            continue;
        }
        if (low < step.count)
            return TakeCurrent(data);
        if (step.count == 0) {
            Unposition();
            return true;
        }
        // Everything here is below the target (an interior key that only bounds its child from
        // above leads here): the answer, if any, begins the next leaf.
        step.index = step.count - 1;
        return StepForward();
    }
}

bool NdxIndex::Locate(NdxKeyType type, const Target& target, bool prefix, bool* found)
{
    *found = false;
    if (!IsOpen())
        return Fail(NdxError::kNotOpen);
    if (m_header.keyType != type) {
        Unposition();
        return true;
    }
    if (!DescendTo(target))
        return false;
    if (!Valid() || (target.record != 0 && m_record != target.record))
        return true;
    *found = prefix
        ? target.keySize == 0 || std::memcmp(m_key.data(), target.key, target.keySize) == 0
        : CompareKey(m_key.data(), target) == 0;
    return true;
}

NdxIndex::Target NdxIndex::TextTarget(std::string_view text) const
{
    text = text.substr(0, m_header.keyLength);
    Target target;
    target.key = reinterpret_cast<const std::uint8_t*>(text.data());
    target.keySize = text.size();
    return target;
}

bool NdxIndex::Seek(std::string_view text, NdxMatch match, bool* found)
{
    Target target = TextTarget(text);
    // Padding with the smallest byte finds the first key that begins with the text or is
    // greater; padding with blanks, the first key not below the padded text.
    const bool prefix = match == NdxMatch::kPrefix;
    target.pad = prefix ? 0x00 : ndx::kPad;
    return Locate(NdxKeyType::kCharacter, target, prefix, found);
}

bool NdxIndex::Seek(double number, bool* found)
{
    std::uint8_t key[8];
    ndx::StoreDouble(key, number);
    Target target;
    target.key = key;
    target.keySize = sizeof key;
    return Locate(NdxKeyType::kNumeric, target, false, found);
}

bool NdxIndex::PositionOn(std::uint32_t record, std::string_view key, bool* found)
{
    Target target = TextTarget(key);
    target.record = record;
    return Locate(NdxKeyType::kCharacter, target, false, found);
}

bool NdxIndex::PositionOn(std::uint32_t record, double key, bool* found)
{
    std::uint8_t bytes[8];
    ndx::StoreDouble(bytes, key);
    Target target;
    target.key = bytes;
    target.keySize = sizeof bytes;
    target.record = record;
    return Locate(NdxKeyType::kNumeric, target, false, found);
}

std::string_view NdxIndex::Key() const
{
    if (!Valid() || m_header.keyType != NdxKeyType::kCharacter)
        return {};
    return { reinterpret_cast<const char*>(m_key.data()), m_key.size() };
}

double NdxIndex::NumberKey() const
{
    if (!Valid() || m_header.keyType != NdxKeyType::kNumeric)
        return 0;
    return ndx::LoadDouble(m_key.data());
}

} // namespace table
