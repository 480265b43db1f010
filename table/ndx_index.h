#pragma once

#include "table/ndx_format.h"
#include "table/page_cache.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class File;
class FileSystem;
} // namespace platform

namespace table {

// How a character key sought with Seek counts as found.
enum class NdxMatch {
    // The key equals the sought text padded with blanks to the key length (a longer text is
    // cut to it first): "AB" finds "AB   " but not "ABC  ".
    kWhole,
    // The key begins with the sought text: "AB" finds "ABC  " as well.
    kPrefix,
};

// An index file (layout in table/ndx_format.h) opened for reading, with one cursor over its
// entries in (key, record number) order. Pages are read through a PageCache of a fixed
// number of pages, so the memory an open index takes does not grow with the file.
//
// Opening checks every header value against the file and walks down the leftmost path to
// learn the tree's height. Each page is checked when it is read: its key count within the
// page's capacity, its children inside the file's tree pages, record numbers non-zero in
// leaves, and its kind (interior or leaf) matching its depth; leaves sit at exactly the
// height found on opening, which also ends any loop of child pointers. A damaged page fails
// the call that reaches it with kBadPage and leaves the cursor unpositioned; nothing is read
// outside the file or the page.
//
// The cursor is positioned on one entry (Valid()) or on none: before First, after moving
// past either end, after a failed call, or when a Seek finds no key at or above the one
// sought. Next and Prev on an unpositioned cursor leave it so; First, Last, Seek or
// PositionOn place it again. Every navigation call returns false only on failure (see
// LastError()); reaching an end is not a failure.
//
// The table uses it like this: First/Next/Prev/Last for key order; Seek for a value search;
// PositionOn(record, key of that record) to put the index on a record the table moved to
// by number. The file is owned; not copyable.
class NdxIndex
{
public:
    static constexpr std::size_t kDefaultCachePages = 32;

    // REQUIRES: cachePages >= 1.
    explicit NdxIndex(platform::FileSystem& fs, std::size_t cachePages = kDefaultCachePages);
    ~NdxIndex();
    NdxIndex(const NdxIndex&) = delete;
    NdxIndex& operator=(const NdxIndex&) = delete;

    [[nodiscard]] bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    NdxKeyType KeyType() const { return m_header.keyType; }
    std::uint16_t KeyLength() const { return m_header.keyLength; }
    std::uint16_t KeysPerPage() const { return m_header.keysPerPage; }
    bool IsUnique() const { return m_header.unique; }
    std::uint32_t PageCount() const { return m_header.pageCount; }
    // Levels of the tree: 1 when the root is a leaf.
    std::uint32_t Height() const { return static_cast<std::uint32_t>(m_path.size()); }
    const std::string& KeyExpression() const { return m_expression; }

    [[nodiscard]] bool First();
    [[nodiscard]] bool Last();
    [[nodiscard]] bool Next();
    [[nodiscard]] bool Prev();

    // Positions on the first entry whose key is not below `text` (as compared under
    // `match`) and sets `*found` when that entry's key matches it. A numeric index never
    // finds a text: the cursor is left unpositioned. REQUIRES: found != nullptr.
    [[nodiscard]] bool Seek(std::string_view text, NdxMatch match, bool* found);
    // The same for a number; a character index never finds one.
    [[nodiscard]] bool Seek(double number, bool* found);

    // Positions on the entry of `record` with key `key` (cut and padded as the builder does)
    // and sets `*found`; when there is no such entry the cursor is where it would be, on the
    // first greater (key, record number) pair or unpositioned past the end.
    // REQUIRES: found != nullptr.
    [[nodiscard]] bool PositionOn(std::uint32_t record, std::string_view key, bool* found);
    [[nodiscard]] bool PositionOn(std::uint32_t record, double key, bool* found);

    bool Valid() const { return m_record != 0; }
    // The current entry: its record number (0 when unpositioned), its character key
    // (KeyLength() bytes, blank-padded; valid until the cursor moves) or numeric key.
    std::uint32_t Record() const { return m_record; }
    std::string_view Key() const;
    double NumberKey() const;

    const PageCache::Stats& CacheStats() const { return m_cache.GetStats(); }
    std::size_t CachedPages() const { return m_cache.Size(); }

    NdxError LastError() const { return m_lastError; }
    int LastSystemError() const { return m_lastSystemError; }

private:
    // One level of the cursor's path: the page, its key count, and the entry (in a leaf) or
    // the child (in an interior page, 0..count) the path goes through.
    struct Step
    {
        std::uint32_t page = 0;
        std::uint32_t count = 0;
        std::uint32_t index = 0;
    };
    // What a descent looks for in each page.
    struct Target
    {
        const std::uint8_t* key = nullptr; // sought key, key length bytes or fewer
        std::size_t keySize = 0;
        std::uint8_t pad = ndx::kPad; // what the sought key is padded with
        std::uint32_t record = 0; // 0: any record of the key
    };
    enum class Edge { kFirst, kLast };

    bool Fail(NdxError error, int systemError = 0);
    bool ReadHeader();
    bool FindHeight();
    // Reads a page at `depth` below the root, checking it when it comes from the file.
    bool FetchPage(std::uint32_t page, std::size_t depth, const std::uint8_t** data);
    // FetchPage, and the page's kind must be the one of its depth.
    bool LoadPage(std::uint32_t page, std::size_t depth, const std::uint8_t** data);
    bool CheckPage(std::uint32_t page, const std::uint8_t* data) const;
    std::uint32_t ChildAt(const std::uint8_t* data, std::uint32_t index) const;
    bool TakeCurrent(const std::uint8_t* leaf);
    bool DescendEdge(std::size_t depth, std::uint32_t page, Edge edge);
    bool DescendTo(const Target& target);
    bool StepForward();
    bool StepBackward();
    int CompareKey(const std::uint8_t* key, const Target& target) const;
    int CompareEntry(const std::uint8_t* entry, const Target& target) const;
    Target TextTarget(std::string_view text) const;
    bool Locate(NdxKeyType type, const Target& target, bool prefix, bool* found);
    void Unposition() { m_record = 0; }

    platform::FileSystem& m_fs;
    std::unique_ptr<platform::File> m_file;
    PageCache m_cache;
    ndx::Header m_header;
    std::string m_expression;
    std::vector<Step> m_path; // one step per level, root first; its size is the height
    std::uint32_t m_record = 0;
    std::vector<std::uint8_t> m_key;

    NdxError m_lastError = NdxError::kNone;
    int m_lastSystemError = 0;
};

} // namespace table
