#include "classifiers/region_table_builder.h"

#include "platform/file_system.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using classifiers::RegionProgress;
using classifiers::RegionTableBuilder;
using Result = classifiers::RegionTableBuilder::Result;
using testing_support::ReadAllBytes;
using testing_support::TableBuilder;
using testing_support::TempDir;

class RecordedProgress final : public RegionProgress
{
public:
    void SetProgress(int percent) override { values.push_back(percent); }
    std::vector<int> values;
};

// A KLADR record: NAME C(12), CODE C(13), STATUS C(1).
std::string Place(const std::string& name, const std::string& code, char status = '0')
{
    return (name + std::string(12, ' ')).substr(0, 12) + code + status;
}

class RegionTableBuilderTest : public ::testing::Test
{
protected:
    TableBuilder Kladr() const
    {
        TableBuilder b;
        b.CodePageByte(0x65).Field("NAME", 'C', 12).Field("CODE", 'C', 13).Field("STATUS", 'C', 1);
        return b;
    }

    // The names and deletion marks of a table's records, in file order.
    std::vector<std::string> Records(const std::string& path)
    {
        table::TableDatabase database(fs);
        EXPECT_TRUE(database.SetDatabaseDirectory(dir.Path()));
        table::CTable t(&database);
        std::vector<std::string> names;
        if (!t.Open(path, false)) {
            ADD_FAILURE() << "cannot open " << path;
            return names;
        }
        for (std::uint32_t r = 1; r <= t.RecordCount(); ++r) {
            EXPECT_TRUE(t.GoTo(r, false));
            names.push_back((t.IsDeleted() ? "*" : "") + t.GetValue(1, false).text);
        }
        return names;
    }

    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    platform::FileSystem& fs = platform::FileSystem::Default();
    TempDir dir;
};

TEST_F(RegionTableBuilderTest, KeepsTheRegionsOfKladrInFileOrderWithTheirMarks)
{
    TableBuilder kladr = Kladr();
    kladr.Record(Place("Moscow", "7700000000000", '2'))
        .Record(Place("District 1", "7700100000000"))
        .Record(Place("District 10", "7701000000000"))
        .Record(Place("Old region", "4500000000051"))
        .Record(Place("Gone region", "4600000000000"), true)
        .Record(Place("Moscow obl", "5000000000000"));
    kladr.Write(dir.File("Kladr.dbf"));
    const std::vector<std::uint8_t> before = ReadAllBytes(dir.File("Kladr.dbf"));

    RegionTableBuilder builder(fs);
    RecordedProgress progress;
    ASSERT_EQ(builder.Build(dir.Path(), &progress), Result::kBuilt);
    EXPECT_EQ(builder.Visited(), 6u);
    EXPECT_EQ(builder.Kept(), 3u);
    EXPECT_EQ(builder.RegionPath(), dir.File("Region.dbf"));
    EXPECT_EQ(Records(dir.File("Region.dbf")),
        (std::vector<std::string> { "7700000000000", "*4600000000000", "5000000000000" }));
    // Every field and byte of a kept record, the header's field list and code-page mark.
    const std::vector<std::uint8_t> region = ReadAllBytes(dir.File("Region.dbf"));
    const std::uint32_t header = kladr.TrueHeaderLength();
    const std::uint32_t length = kladr.TrueRecordLength();
    ASSERT_GE(region.size(), header + 3 * length);
    EXPECT_EQ(region[29], 0x65);
    EXPECT_TRUE(std::equal(before.begin() + 32, before.begin() + header, region.begin() + 32));
    EXPECT_TRUE(std::equal(before.begin() + header, before.begin() + header + length, region.begin() + header));
    // KLADR is only read, and nothing but the region table is left beside it.
    EXPECT_EQ(ReadAllBytes(dir.File("Kladr.dbf")), before);
    EXPECT_EQ(Files(), (std::vector<std::string> { "Kladr.dbf", "Region.dbf" }));
    EXPECT_EQ(progress.values, (std::vector<int> { 0, 16, 33, 50, 66, 83, 100 }));
}

TEST_F(RegionTableBuilderTest, ReplacesTheRegionTableOfAnyCaseInItsPlace)
{
    TableBuilder kladr = Kladr();
    kladr.Record(Place("Moscow", "7700000000000"));
    kladr.Write(dir.File("kladr.dbf"));
    TableBuilder old;
    old.Field("X", 'C', 1).Record("x").Record("y");
    old.Write(dir.File("REGION.DBF"));
    RegionTableBuilder builder(fs);
    ASSERT_EQ(builder.Build(dir.Path(), nullptr), Result::kBuilt);
    EXPECT_EQ(Files(), (std::vector<std::string> { "REGION.DBF", "kladr.dbf" }));
    EXPECT_EQ(Records(dir.File("REGION.DBF")), (std::vector<std::string> { "7700000000000" }));
}

TEST_F(RegionTableBuilderTest, OddOrDamagedKladrBuildsNothingOrACorrectTable)
{
    const auto build = [this](const TableBuilder& kladr) {
        std::filesystem::remove(dir.File("Region.dbf"));
        kladr.Write(dir.File("Kladr.dbf"));
        return RegionTableBuilder(fs).Build(dir.Path(), nullptr);
    };
    TableBuilder noCode;
    noCode.Field("NAME", 'C', 12).Record("Moscow");
    EXPECT_EQ(build(noCode), Result::kNoCodeField);
    TableBuilder numericCode;
    numericCode.Field("CODE", 'N', 13).Record("7700000000000");
    EXPECT_EQ(build(numericCode), Result::kNoCodeField);
    TableBuilder memo;
    memo.Version(0x83).Field("CODE", 'C', 13).Field("NOTE", 'M', 10).Record("7700000000000");
    EXPECT_EQ(build(memo), Result::kMemoFields);
    EXPECT_EQ(Files(), (std::vector<std::string> { "Kladr.dbf" }));

    // A code too short to end in nine zeros after its region has no region records.
    TableBuilder shortCode;
    shortCode.Field("CODE", 'C', 8).Record("77000000");
    EXPECT_EQ(build(shortCode), Result::kBuilt);
    EXPECT_TRUE(Records(dir.File("Region.dbf")).empty());
    TableBuilder empty = Kladr();
    RecordedProgress progress;
    std::filesystem::remove(dir.File("Region.dbf"));
    empty.Write(dir.File("Kladr.dbf"));
    EXPECT_EQ(RegionTableBuilder(fs).Build(dir.Path(), &progress), Result::kBuilt);
    EXPECT_EQ(progress.values, std::vector<int> { 0 });

    // No KLADR, no directory, no table, a header claiming records the file lacks.
    RegionTableBuilder builder(fs);
    std::filesystem::remove(dir.File("Kladr.dbf"));
    std::filesystem::remove(dir.File("Region.dbf"));
    EXPECT_EQ(builder.Build(dir.Path(), nullptr), Result::kNoKladr);
    EXPECT_EQ(builder.Build(dir.File("missing/"), nullptr), Result::kNoKladr);
    testing_support::WriteAllBytes(dir.File("Kladr.dbf"), { 'n', 'o', 't', ' ', 'a', ' ', 'd', 'b', 'f' });
    EXPECT_EQ(builder.Build(dir.Path(), nullptr), Result::kNoKladr);
    TableBuilder kladr = Kladr();
    for (int i = 0; i < 50; ++i)
        kladr.Record(Place("Region", "7700000000000"));
    std::vector<std::uint8_t> bytes = kladr.Bytes();
    bytes.resize(bytes.size() - 20 * kladr.TrueRecordLength() - 7);
    testing_support::WriteAllBytes(dir.File("Kladr.dbf"), bytes);
    const Result result = builder.Build(dir.Path(), nullptr);
    if (result == Result::kBuilt)
        EXPECT_EQ(Records(dir.File("Region.dbf")).size(), builder.Kept());
    else
        EXPECT_EQ(Files(), (std::vector<std::string> { "Kladr.dbf" }));
    EXPECT_EQ(ReadAllBytes(dir.File("Kladr.dbf")), bytes);
}

TEST_F(RegionTableBuilderTest, AFailedReadOrWriteKeepsTheOldRegionTable)
{
    TableBuilder kladr = Kladr();
    for (int i = 0; i < 3000; ++i)
        kladr.Record(Place("Region", "7700000000000"));
    kladr.Write(dir.File("Kladr.dbf"));
    TableBuilder old;
    old.Field("X", 'C', 1).Record("x");
    old.Write(dir.File("Region.dbf"));
    const std::vector<std::uint8_t> kept = ReadAllBytes(dir.File("Region.dbf"));

    testing_support::FaultyFileSystem counting;
    RecordedProgress progress;
    ASSERT_EQ(RegionTableBuilder(counting).Build(dir.Path(), &progress), Result::kBuilt);
    // Each percentage once: what the progress window is given is always a change.
    ASSERT_EQ(progress.values.size(), 101u);
    EXPECT_TRUE(std::is_sorted(progress.values.begin(), progress.values.end()));
    const int reads = counting.reads;
    const int writes = counting.writes;
    ASSERT_GT(reads, 0);
    ASSERT_GT(writes, 0);
    // Every read and every write failing in turn: the old table stays, or a whole new one
    // takes its place, and nothing else is left in the directory.
    int failures = 0;
    for (int n = 1; n <= reads + writes; ++n) {
        old.Write(dir.File("Region.dbf"));
        testing_support::FaultyFileSystem faulty;
        (n <= reads ? faulty.failReadFrom : faulty.failWriteFrom) = n <= reads ? n : n - reads;
        const Result result = RegionTableBuilder(faulty).Build(dir.Path(), nullptr);
        if (result == Result::kBuilt) {
            EXPECT_EQ(Records(dir.File("Region.dbf")).size(), 3000u) << n;
        } else {
            ++failures;
            EXPECT_EQ(ReadAllBytes(dir.File("Region.dbf")), kept) << n;
        }
        EXPECT_EQ(Files(), (std::vector<std::string> { "Kladr.dbf", "Region.dbf" })) << n;
    }
    EXPECT_GT(failures, writes / 2);
}

} // namespace
