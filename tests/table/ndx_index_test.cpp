#include "platform/file_system.h"
#include "table/dbf_format.h"
#include "table/ndx_builder.h"
#include "table/ndx_index.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <utility>
#include <vector>

namespace {

using table::NdxBuilder;
using table::NdxError;
using table::NdxIndex;
using table::NdxKeyType;
using table::NdxMatch;
using testing_support::ReadAllBytes;
using testing_support::TempDir;
using testing_support::WriteAllBytes;

using Entry = std::pair<std::string, std::uint32_t>; // padded key, record

constexpr std::uint32_t kPage = table::ndx::kPageSize;

// Keys of `count` records in a scattered order with about three records per key, padded
// to 10 bytes; record 7's key is shared by every 40th record so one key spans many pages.
std::vector<Entry> ScatteredKeys(std::uint32_t count)
{
    std::vector<Entry> keys;
    char text[16];
    for (std::uint32_t r = 1; r <= count; ++r) {
        const std::uint32_t k = r % 40 == 7 ? 7 : (r * 2654435761u) % (count / 3);
        std::snprintf(text, sizeof text, "K%07u  ", k);
        keys.emplace_back(text, r);
    }
    return keys;
}

class NdxIndexTest : public ::testing::Test
{
protected:
    bool Build(const std::vector<Entry>& keys, bool unique = false, std::uint16_t keyLength = 0,
        const std::string& expression = "NAME")
    {
        NdxBuilder builder(fs, NdxKeyType::kCharacter, expression, unique, keyLength);
        for (const auto& [key, record] : keys)
            builder.Add(record, key);
        const bool ok = builder.Finish(path);
        buildError = builder.LastError();
        buildSystemError = builder.LastSystemError();
        return ok;
    }
    bool BuildNumbers(const std::vector<std::pair<double, std::uint32_t>>& keys, bool unique)
    {
        NdxBuilder builder(fs, NdxKeyType::kNumeric, "QTY", unique);
        for (const auto& [key, record] : keys)
            builder.Add(record, key);
        const bool ok = builder.Finish(path);
        buildError = builder.LastError();
        return ok;
    }
    static std::vector<Entry> Sorted(std::vector<Entry> keys)
    {
        std::sort(keys.begin(), keys.end());
        return keys;
    }
    // Walks the whole index forwards, then backwards; both must give `expected`.
    void ExpectWalk(NdxIndex& index, const std::vector<Entry>& expected)
    {
        std::vector<Entry> forward, backward;
        ASSERT_TRUE(index.First());
        while (index.Valid()) {
            forward.emplace_back(std::string(index.Key()), index.Record());
            ASSERT_TRUE(index.Next());
        }
        ASSERT_TRUE(index.Last());
        while (index.Valid()) {
            backward.emplace_back(std::string(index.Key()), index.Record());
            ASSERT_TRUE(index.Prev());
        }
        std::reverse(backward.begin(), backward.end());
        EXPECT_EQ(forward, expected);
        EXPECT_EQ(backward, expected);
    }

    TempDir dir;
    std::string path = dir.File("name.ndx");
    platform::FileSystem& fs = platform::FileSystem::Default();
    NdxIndex index { fs };
    NdxError buildError = NdxError::kNone;
    int buildSystemError = 0;
};

TEST_F(NdxIndexTest, WalksManyPagesInKeyThenRecordOrder)
{
    const auto keys = ScatteredKeys(30000);
    ASSERT_TRUE(Build(keys));
    ASSERT_TRUE(index.Open(path)) << table::NdxErrorText(index.LastError());
    EXPECT_EQ(index.KeyLength(), 10);
    EXPECT_EQ(index.KeysPerPage(), 25);
    EXPECT_GE(index.Height(), 3u);
    EXPECT_EQ(ReadAllBytes(path).size(), std::size_t { index.PageCount() } * kPage);
    ExpectWalk(index, Sorted(keys));

    // Stepping off an end leaves the cursor unpositioned until it is placed again.
    ASSERT_TRUE(index.First());
    ASSERT_TRUE(index.Prev());
    EXPECT_FALSE(index.Valid());
    EXPECT_EQ(index.Record(), 0u);
    ASSERT_TRUE(index.Next());
    EXPECT_FALSE(index.Valid());
}

TEST_F(NdxIndexTest, SmallAndEmptyIndexes)
{
    ASSERT_TRUE(Build({}));
    ASSERT_TRUE(index.Open(path));
    EXPECT_EQ(index.Height(), 1u);
    EXPECT_EQ(index.KeyLength(), 1);
    bool found = true;
    ASSERT_TRUE(index.First());
    EXPECT_FALSE(index.Valid());
    ASSERT_TRUE(index.Last());
    EXPECT_FALSE(index.Valid());
    ASSERT_TRUE(index.Seek("A", NdxMatch::kWhole, &found));
    EXPECT_FALSE(found);
    EXPECT_FALSE(index.Valid());

    // Three keys on a 2-entry page give the smallest tree with an interior level.
    const std::string wide(244, 'w');
    ASSERT_TRUE(Build({ { wide, 3 }, { "v", 1 }, { wide + "cut", 2 } }));
    ASSERT_TRUE(index.Open(path));
    EXPECT_EQ(index.KeysPerPage(), 2);
    EXPECT_EQ(index.Height(), 2u);
    ExpectWalk(index, { { "v" + std::string(243, ' '), 1 }, { wide, 2 }, { wide, 3 } });

    // Seeks still land right when an interior key only bounds its child from above, as in
    // files where the separating key is not the child's greatest.
    auto bytes = ReadAllBytes(path);
    bytes[(index.PageCount() - 1) * kPage + 4 + 8 + 1] = 'z'; // the root's first key: "vz"
    WriteAllBytes(path, bytes);
    ASSERT_TRUE(index.Open(path));
    ASSERT_TRUE(index.Seek("vx", NdxMatch::kWhole, &found));
    EXPECT_FALSE(found);
    EXPECT_EQ(index.Record(), 2u);
}

TEST_F(NdxIndexTest, CharacterKeysArePaddedOrCutToTheKeyLength)
{
    ASSERT_TRUE(Build({ { "AB", 1 }, { "ABCDEFG", 2 }, { "A", 3 }, { "AB   ", 4 } }, false, 4));
    ASSERT_TRUE(index.Open(path));
    ExpectWalk(index, { { "A   ", 3 }, { "AB  ", 1 }, { "AB  ", 4 }, { "ABCD", 2 } });

    // Without a key length the longest key sets it, trailing blanks included.
    ASSERT_TRUE(Build({ { "x", 1 }, { "yy   ", 2 } }));
    ASSERT_TRUE(index.Open(path));
    EXPECT_EQ(index.KeyLength(), 5);

    // Blank padding is the same key for a unique index.
    EXPECT_FALSE(Build({ { "AB", 1 }, { "AB  ", 2 } }, true, 4));
    EXPECT_EQ(buildError, NdxError::kDuplicateKey);
}

TEST_F(NdxIndexTest, SeeksWholeKeysAndPrefixes)
{
    // "AB\x01" sorts before "AB " (the padded "AB"), but begins with "AB".
    ASSERT_TRUE(Build({ { "B", 5 }, { "ABC", 4 }, { "AB", 3 }, { "AB\x01", 2 }, { "AA", 1 } }));
    ASSERT_TRUE(index.Open(path));
    struct Case
    {
        const char* text;
        NdxMatch match;
        bool found;
        std::uint32_t record; // 0: past the end
    } cases[] = {
        { "AB", NdxMatch::kWhole, true, 3 },
        { "AB", NdxMatch::kPrefix, true, 2 },
        { "AB ", NdxMatch::kWhole, true, 3 },
        { "ABB", NdxMatch::kWhole, false, 4 },
        { "ABB", NdxMatch::kPrefix, false, 4 },
        { "ABCD", NdxMatch::kWhole, true, 4 },
        { "0", NdxMatch::kWhole, false, 1 },
        { "", NdxMatch::kPrefix, true, 1 },
        { "C", NdxMatch::kWhole, false, 0 },
        { "B", NdxMatch::kPrefix, true, 5 },
    };
    for (const Case& c : cases) {
        bool found = !c.found;
        ASSERT_TRUE(index.Seek(c.text, c.match, &found));
        EXPECT_EQ(found, c.found) << c.text;
        EXPECT_EQ(index.Record(), c.record) << c.text;
    }
    bool found = true;
    ASSERT_TRUE(index.Seek(1.0, &found));
    EXPECT_FALSE(found);
    EXPECT_FALSE(index.Valid());
}

TEST_F(NdxIndexTest, SeekAndPositionOnAmongDuplicatesAcrossPages)
{
    const auto keys = ScatteredKeys(30000);
    ASSERT_TRUE(Build(keys));
    ASSERT_TRUE(index.Open(path));
    const std::string shared = "K0000007  ";
    std::vector<std::uint32_t> records;
    for (const auto& [key, record] : keys) {
        if (key == shared)
            records.push_back(record);
    }
    ASSERT_GT(records.size(), 3u * index.KeysPerPage()); // the key spans several leaves

    bool found = false;
    ASSERT_TRUE(index.Seek("K0000007", NdxMatch::kWhole, &found));
    EXPECT_TRUE(found);
    EXPECT_EQ(index.Record(), records.front());
    ASSERT_TRUE(index.Prev());
    EXPECT_LT(std::string(index.Key()), shared);

    for (std::size_t i = 0; i < records.size(); ++i) {
        ASSERT_TRUE(index.PositionOn(records[i], shared, &found));
        ASSERT_TRUE(found) << records[i];
        ASSERT_EQ(index.Record(), records[i]);
        ASSERT_TRUE(index.Next());
        if (i + 1 < records.size())
            ASSERT_EQ(index.Record(), records[i + 1]);
        else
            ASSERT_NE(index.Key(), shared);
    }

    // A record not under that key: the cursor rests where the pair would be.
    ASSERT_TRUE(index.PositionOn(records[1] + 1, shared, &found));
    EXPECT_FALSE(found);
    EXPECT_EQ(index.Record(), records[2]);
    ASSERT_TRUE(index.PositionOn(1, "ZZZ", &found));
    EXPECT_FALSE(found);
    EXPECT_FALSE(index.Valid());
}

TEST_F(NdxIndexTest, NumericKeysOrderAsNumbers)
{
    std::vector<std::pair<double, std::uint32_t>> keys;
    const double values[] = { 5, -1e300, 0.5, -2.25, 0.0, 1e15, -0.0, -2.5, 3 };
    for (std::uint32_t r = 1; r <= 3000; ++r)
        keys.emplace_back(values[r % 9] * (r % 2 ? 1 : 1 + r / 10.0), r);
    ASSERT_TRUE(BuildNumbers(keys, false));
    ASSERT_TRUE(index.Open(path));
    EXPECT_EQ(index.KeyType(), NdxKeyType::kNumeric);
    EXPECT_EQ(index.KeyLength(), 8);

    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second < b.second;
    });
    std::size_t i = 0;
    ASSERT_TRUE(index.First());
    for (; index.Valid(); ++i) {
        ASSERT_LT(i, keys.size());
        ASSERT_EQ(index.NumberKey(), keys[i].first);
        ASSERT_EQ(index.Record(), keys[i].second);
        ASSERT_TRUE(index.Next());
    }
    EXPECT_EQ(i, keys.size());

    bool found = false;
    ASSERT_TRUE(index.Seek(-2.25, &found));
    EXPECT_TRUE(found);
    EXPECT_EQ(index.NumberKey(), -2.25);
    ASSERT_TRUE(index.Seek(-0.0, &found)); // finds the zeros whatever their sign
    EXPECT_TRUE(found);
    EXPECT_EQ(index.Record(), 4u);
    ASSERT_TRUE(index.Seek(-2.3, &found));
    EXPECT_FALSE(found);
    EXPECT_EQ(index.NumberKey(), -2.25);
    ASSERT_TRUE(index.Seek(-1e305, &found));
    EXPECT_EQ(index.NumberKey(), keys.front().first);
    ASSERT_TRUE(index.PositionOn(20, 1.5, &found));
    EXPECT_TRUE(found);
    ASSERT_TRUE(index.Seek("5", NdxMatch::kWhole, &found));
    EXPECT_FALSE(found);
    EXPECT_FALSE(index.Valid());

    EXPECT_FALSE(BuildNumbers({ { 0.0, 1 }, { -0.0, 2 } }, true));
    EXPECT_EQ(buildError, NdxError::kDuplicateKey);
    EXPECT_TRUE(BuildNumbers({ { -1, 1 }, { 1, 2 } }, true));
}

TEST_F(NdxIndexTest, HeaderHoldsTheLayoutValuesAndLongExpressions)
{
    ASSERT_TRUE(Build({ { "abc", 1 } }, true, 10, "UPPER(NAME)"));
    auto bytes = ReadAllBytes(path);
    ASSERT_EQ(bytes.size(), 2u * kPage);
    using table::dbf::GetU16;
    using table::dbf::GetU32;
    EXPECT_EQ(GetU32(&bytes[0]), 1u); // root
    EXPECT_EQ(GetU32(&bytes[4]), 2u); // pages
    EXPECT_EQ(GetU16(&bytes[12]), 10); // key length
    EXPECT_EQ(GetU16(&bytes[14]), 25); // keys per page
    EXPECT_EQ(GetU16(&bytes[16]), 0); // character
    EXPECT_EQ(GetU16(&bytes[18]), 20); // entry size
    EXPECT_EQ(bytes[23], 1); // unique
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[24])), "UPPER(NAME)");
    EXPECT_EQ(GetU32(&bytes[kPage]), 1u);
    EXPECT_EQ(GetU32(&bytes[kPage + 8]), 1u); // the leaf entry's record
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[kPage + 12]), 10), "abc       ");

    // Up to 487 bytes stay in the header; longer ones continue in pages after it.
    for (std::size_t length : { 487, 488, 1500, 4096 }) {
        std::string expression(length, 'x');
        expression.back() = 'E';
        ASSERT_TRUE(Build({ { "abc", 1 }, { "abd", 2 } }, false, 0, expression));
        ASSERT_TRUE(index.Open(path)) << length;
        EXPECT_EQ(index.KeyExpression(), expression);
        EXPECT_EQ(index.PageCount(), 2 + (length > 487 ? (length + 511) / 512 : 0));
        ExpectWalk(index, { { "abc", 1 }, { "abd", 2 } });
    }
    EXPECT_FALSE(Build({ { "abc", 1 } }, false, 0, std::string(4097, 'x')));
    EXPECT_EQ(buildError, NdxError::kBadExpression);
}

TEST_F(NdxIndexTest, PagesAreReadThroughABoundedCache)
{
    ASSERT_TRUE(Build(ScatteredKeys(30000)));
    testing_support::FaultyFileSystem counting;
    NdxIndex small(counting, 8);
    ASSERT_TRUE(small.Open(path));
    const int atOpen = counting.reads;

    // A walk reads each tree page once (those of the leftmost path were read on opening):
    // leaves give way to one another, the upper pages stay.
    ASSERT_TRUE(small.First());
    std::size_t entries = 0;
    while (small.Valid()) {
        ++entries;
        ASSERT_LE(small.CachedPages(), 8u);
        ASSERT_TRUE(small.Next());
    }
    EXPECT_EQ(entries, 30000u);
    EXPECT_EQ(counting.reads - atOpen, static_cast<int>(small.PageCount() - 1 - small.Height()));

    // A repeated seek finds its path in the cache.
    bool found = false;
    ASSERT_TRUE(small.Seek("K0000123", NdxMatch::kWhole, &found));
    const int afterSeek = counting.reads;
    ASSERT_TRUE(small.Seek("K0000123", NdxMatch::kWhole, &found));
    EXPECT_EQ(counting.reads, afterSeek);
    EXPECT_GT(small.CacheStats().hits, 0u);
    EXPECT_LE(small.CachedPages(), 8u);
}

TEST_F(NdxIndexTest, FailedBuildsLeaveNoFileAndKeepTheOldOne)
{
    ASSERT_TRUE(Build({ { "old", 1 } }));
    const auto old = ReadAllBytes(path);
    ASSERT_TRUE(index.Open(path));

    EXPECT_FALSE(Build({ { "a", 1 }, { "b", 2 }, { "a", 3 } }, true));
    EXPECT_EQ(buildError, NdxError::kDuplicateKey);
    EXPECT_EQ(ReadAllBytes(path), old);

    testing_support::FaultyFileSystem faulty;
    for (int failAt : { 1, 2 }) { // the header batch, then a later batch of pages
        faulty.writes = 0;
        faulty.failWriteFrom = failAt;
        NdxBuilder builder(faulty, NdxKeyType::kCharacter, "NAME", false);
        for (const auto& [key, record] : ScatteredKeys(30000))
            builder.Add(record, key);
        EXPECT_FALSE(builder.Finish(path));
        EXPECT_EQ(builder.LastError(), NdxError::kWriteFailed);
        EXPECT_EQ(builder.LastSystemError(), ENOSPC);
        EXPECT_EQ(ReadAllBytes(path), old);
        EXPECT_FALSE(fs.Exists(path + ".tmp"));
    }

    faulty.failWriteFrom = 0;
    faulty.failRenames = true;
    NdxBuilder renameFails(faulty, NdxKeyType::kCharacter, "NAME", false);
    renameFails.Add(1, "new");
    EXPECT_FALSE(renameFails.Finish(path));
    EXPECT_EQ(renameFails.LastError(), NdxError::kRenameFailed);
    EXPECT_FALSE(fs.Exists(path + ".tmp"));
    EXPECT_EQ(ReadAllBytes(path), old);

    faulty.failOpenContaining = ".tmp";
    NdxBuilder openFails(faulty, NdxKeyType::kCharacter, "NAME", false);
    EXPECT_FALSE(openFails.Finish(path));
    EXPECT_EQ(openFails.LastError(), NdxError::kOpenFailed);

    // The index open on the old file keeps reading it after a new one replaced it.
    ASSERT_TRUE(Build({ { "new", 1 } }));
    ExpectWalk(index, { { "old", 1 } });

    // Built under a link's name, the index replaces the file the link names.
    std::filesystem::create_symlink("name.ndx", dir.File("link.ndx"));
    testing_support::SetModeOf(path, 0660);
    NdxBuilder throughLink(fs, NdxKeyType::kCharacter, "NAME", false);
    throughLink.Add(1, "linked");
    ASSERT_TRUE(throughLink.Finish(dir.File("link.ndx")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.ndx")));
    EXPECT_EQ(testing_support::ModeOf(path), 0660); // shared as it was
    NdxIndex reread { fs };
    ASSERT_TRUE(reread.Open(path));
    ExpectWalk(reread, { { "linked", 1 } });
}

// Damaged files are made by overwriting bytes of a good three-level index.
class NdxDamageTest : public NdxIndexTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Build(ScatteredKeys(2000)));
        ASSERT_TRUE(index.Open(path));
        ASSERT_EQ(index.Height(), 3u);
        index.Close();
        good = ReadAllBytes(path);
        pages = static_cast<std::uint32_t>(good.size() / kPage);
    }
    void Put32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value)
    {
        table::dbf::PutU32(&bytes[offset], value);
    }
    // Opens the damaged copy and walks it; the error of the first failure.
    NdxError OpenAndWalk(const std::vector<std::uint8_t>& bytes)
    {
        WriteAllBytes(path, bytes);
        if (!index.Open(path)) {
            EXPECT_FALSE(index.IsOpen());
            return index.LastError();
        }
        if (!index.First())
            return index.LastError();
        for (std::size_t steps = 0; index.Valid(); ++steps) {
            if (!index.Next()) {
                EXPECT_FALSE(index.Valid());
                return index.LastError();
            }
            if (steps > 200000)
                return NdxError::kNone;
        }
        return NdxError::kNone;
    }

    std::vector<std::uint8_t> good;
    std::uint32_t pages = 0;
};

TEST_F(NdxDamageTest, BadHeaderValuesFailTheOpen)
{
    struct Case
    {
        std::size_t offset;
        std::uint32_t value;
        int width;
    } cases[] = {
        { 0, 0, 4 }, { 0, pages, 4 }, // root outside the tree pages
        { 4, pages + 1, 4 }, // more pages than the file
        { 8, 600, 4 }, // expression length against its text
        { 12, 0, 2 }, { 12, 300, 2 }, // key length
        { 14, 26, 2 }, { 16, 2, 2 }, // keys per page, key type
        { 16, 1, 2 }, // numeric with a 10-byte key
        { 18, 24, 2 }, { 23, 2, 1 }, // entry size, unique flag
    };
    for (const Case& c : cases) {
        auto bytes = good;
        for (int i = 0; i < c.width; ++i)
            bytes[c.offset + i] = static_cast<std::uint8_t>(c.value >> (8 * i));
        EXPECT_EQ(OpenAndWalk(bytes), NdxError::kBadHeader) << c.offset << " " << c.value;
    }
    auto cut = good;
    cut.resize(good.size() - kPage); // a lost last page
    EXPECT_EQ(OpenAndWalk(cut), NdxError::kBadHeader);
    cut.resize(100);
    EXPECT_EQ(OpenAndWalk(cut), NdxError::kBadHeader);

    EXPECT_FALSE(index.Open(dir.File("missing.ndx")));
    EXPECT_EQ(index.LastError(), NdxError::kOpenFailed);
    EXPECT_EQ(index.LastSystemError(), ENOENT);
    bool found = true;
    EXPECT_FALSE(index.Seek("x", NdxMatch::kWhole, &found));
    EXPECT_EQ(index.LastError(), NdxError::kNotOpen);
}

TEST_F(NdxDamageTest, BadPagesFailTheCallThatReachesThem)
{
    const std::size_t root = std::size_t { pages - 1 } * kPage;
    const std::size_t leaf = 5 * kPage; // a leaf in the middle of the walk
    const std::uint32_t rootChildren = table::dbf::GetU32(&good[root]) + 1;
    const std::size_t lastChild = root + 4 + std::size_t { rootChildren - 1 } * 20;
    struct Case
    {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
        std::size_t extraOffset = 0; // a second word to set, when not 0
        std::uint32_t extraValue = 0;
    } cases[] = {
        { "root count above capacity", root, 26 },
        { "child past the file", lastChild, pages },
        { "child into the header", lastChild, 0 },
        { "child is the page itself", lastChild, pages - 1 },
        { "child loops back to the root", std::size_t { pages - 2 } * kPage + 4, pages - 1 },
        { "leaf count far above capacity", leaf, 1000 },
        // The page's spare bytes look like one more entry's child and record.
        { "leaf count one above capacity", leaf, 26, leaf + 4 + 25 * 20 + 4, 9 },
        { "leaf with a child", leaf + 4 + 20, 3 },
        { "leaf record 0", leaf + 4 + 20 + 4, 0 },
        { "leaf as an interior page", leaf + 4, 2 },
    };
    for (const Case& c : cases) {
        auto bytes = good;
        Put32(bytes, c.offset, c.value);
        if (c.extraOffset != 0)
            Put32(bytes, c.extraOffset, c.extraValue);
        EXPECT_EQ(OpenAndWalk(bytes), NdxError::kBadPage) << c.what;
    }
}

TEST_F(NdxDamageTest, RandomDamageNeverReadsOutsideTheFile)
{
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        auto bytes = good;
        for (int i = 0; i < 6; ++i) {
            const std::size_t offset = kPage + random() % (bytes.size() - kPage);
            bytes[offset] = static_cast<std::uint8_t>(random());
        }
        OpenAndWalk(bytes); // any outcome but a crash or an endless walk
        bool found = false;
        if (index.IsOpen())
            (void)index.Seek("K0001000", NdxMatch::kWhole, &found);
    }
}

TEST_F(NdxDamageTest, ReadFailuresAreReported)
{
    testing_support::FaultyFileSystem faulty;
    NdxIndex failing(faulty, 4);
    ASSERT_TRUE(failing.Open(path));
    faulty.failReadFrom = faulty.reads + 1;
    EXPECT_FALSE(failing.Last());
    EXPECT_EQ(failing.LastError(), NdxError::kReadFailed);
    EXPECT_EQ(failing.LastSystemError(), EIO);
    EXPECT_FALSE(failing.Valid());
}

} // namespace
