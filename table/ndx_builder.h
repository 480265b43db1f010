#pragma once

#include "table/ndx_format.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class FileSystem;
} // namespace platform

namespace table {

// Builds an index file (layout in table/ndx_format.h) from every record's key. The caller
// evaluates the key expression record by record and hands over (record number, key) pairs;
// Finish sorts them by (key, record number), builds the tree bottom-up and writes its pages
// in order. Memory holds the keys, never the records: about 24 bytes per key plus the part
// of each character key beyond its first 8 bytes, trailing blanks dropped.
//
// A character key longer than the key length is cut to it; a shorter one is padded with
// blanks, so "AB" and "AB  " are the same key. With key length 0 the key length is that of
// the longest key given (at least 1, at most ndx::kMaxKeyLength). Numeric keys are 8 bytes.
//
// The file is written beside its destination under the name path + ".tmp" and renamed over
// the destination when complete, so a failed build (a duplicate key of a unique index, a
// failed write or rename) removes what it wrote and leaves a file already at the
// destination as it was; an index open on that old file keeps reading it.
//
// Usage: NdxBuilder b(fs, NdxKeyType::kCharacter, "NAME", unique); b.Add(1, key1); ...;
// if (!b.Finish(path)) ... b.LastError() ...  One builder builds one file.
class NdxBuilder
{
public:
    // `expression` is only recorded in the file's header. REQUIRES: keyLength <=
    // ndx::kMaxKeyLength.
    NdxBuilder(platform::FileSystem& fs, NdxKeyType type, std::string expression, bool unique,
        std::uint16_t keyLength = 0);

    void Reserve(std::size_t keys);
    // REQUIRES: record != 0; the Add matching the key type; each record given once.
    void Add(std::uint32_t record, std::string_view key);
    void Add(std::uint32_t record, double key);
    std::size_t KeyCount() const { return m_items.size(); }

    // Writes the index file at `path`, replacing one that exists. The keys are released.
    [[nodiscard]] bool Finish(const std::string& path);

    NdxError LastError() const { return m_lastError; }
    int LastSystemError() const { return m_lastSystemError; }

private:
    // One key: its first 8 bytes big-endian (blank-padded) or a number's NumberOrder, where
    // the rest of a longer character key starts in m_tails, its length and its record.
    struct Item
    {
        std::uint64_t prefix = 0;
        std::uint64_t tail = 0;
        std::uint32_t record = 0;
        std::uint16_t length = 0;
    };
    bool Fail(NdxError error, int systemError = 0);
    bool Less(const Item& a, const Item& b) const;
    int CompareTails(const Item& a, const Item& b) const;
    bool SameKey(const Item& a, const Item& b) const;
    void PutKey(const Item& item, std::uint8_t* out) const;
    bool WriteFile(const std::string& path);

    platform::FileSystem& m_fs;
    NdxKeyType m_type;
    std::string m_expression;
    bool m_unique;
    std::uint16_t m_keyLength; // as given; 0 = the longest key
    std::uint16_t m_longestKey = 0;
    std::vector<Item> m_items;
    std::vector<std::uint8_t> m_tails;
    ndx::Header m_header;

    NdxError m_lastError = NdxError::kNone;
    int m_lastSystemError = 0;
};

} // namespace table
