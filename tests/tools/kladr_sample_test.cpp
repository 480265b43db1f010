#include "tools/samples/kladr_sample.h"

#include "classifiers/classifier_tables.h"
#include "classifiers/region_table_builder.h"
#include "platform/file_system.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using testing_support::ReadAllBytes;
using testing_support::TempDir;

std::vector<table::FieldDef> FieldsOf(const table::CTable& t)
{
    std::vector<table::FieldDef> fields;
    for (const table::FieldLayout& field : t.Fields())
        fields.push_back(field.def);
    return fields;
}

TEST(KladrSampleTest, TablesHaveTheClassifiersLayout)
{
    TempDir dir;
    platform::FileSystem& fs = platform::FileSystem::Default();
    // A Region.dbf of an earlier run goes, so the sample opens as new.
    testing_support::WriteAllBytes(dir.File("REGION.DBF"), { 0x03 });
    std::string error;
    ASSERT_TRUE(samples::WriteKladrSample(fs, dir.Path(), { 3000, true }, &error)) << error;
    EXPECT_FALSE(fs.Exists(dir.File("REGION.DBF")));
    EXPECT_EQ(ReadAllBytes(dir.File("Kladr.dbf"))[29], 0);
    EXPECT_EQ(ReadAllBytes(dir.File("Street.dbf"))[29], 0);

    table::TableDatabase database(fs);
    ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
    table::CTable kladr(&database);
    ASSERT_TRUE(kladr.Open(dir.File("Kladr.dbf"), true));
    EXPECT_EQ(FieldsOf(kladr),
        (std::vector<table::FieldDef> { { "NAME", 'C', 40, 0 }, { "SOCR", 'C', 10, 0 },
            { "CODE", 'C', 13, 0 }, { "INDEX", 'C', 6, 0 }, { "GNINMB", 'C', 4, 0 },
            { "UNO", 'C', 4, 0 }, { "OCATD", 'C', 11, 0 }, { "STATUS", 'C', 1, 0 } }));
    EXPECT_EQ(kladr.RecordCount(), 3000u);
    EXPECT_EQ(kladr.CodePage(), table::CodePageId::k866); // told by its Cyrillic names

    // Codes are 13 digits in ascending order, each place under a region before it.
    std::set<std::string> places;
    std::string previous;
    int regions = 0;
    for (bool ok = kladr.GoTop(); ok; ok = kladr.GoNext()) {
        const std::string code = kladr.GetValue(2, false).text;
        ASSERT_EQ(code.size(), 13u);
        ASSERT_EQ(code.find_first_not_of("0123456789"), std::string::npos) << code;
        EXPECT_LT(previous, code);
        EXPECT_TRUE(places.count(code.substr(0, 2) + std::string(11, '0')) || classifiers::IsRegionCode(code))
            << code;
        regions += classifiers::IsRegionCode(code) ? 1 : 0;
        places.insert(code);
        previous = code;
    }
    EXPECT_EQ(regions, samples::kKladrRegionCount);

    table::CTable street(&database);
    ASSERT_TRUE(street.Open(dir.File("Street.dbf"), true));
    EXPECT_EQ(FieldsOf(street),
        (std::vector<table::FieldDef> { { "NAME", 'C', 40, 0 }, { "SOCR", 'C', 10, 0 },
            { "CODE", 'C', 17, 0 }, { "INDEX", 'C', 6, 0 }, { "GNINMB", 'C', 4, 0 },
            { "UNO", 'C', 4, 0 }, { "OCATD", 'C', 11, 0 } }));
    // Every street belongs to a place of KLADR; a city has more than a hundred streets.
    std::uint32_t beyondHundred = 0;
    for (bool ok = street.GoTop(); ok; ok = street.GoNext()) {
        const std::string code = street.GetValue(2, false).text;
        ASSERT_EQ(code.size(), 17u);
        EXPECT_TRUE(places.count(code.substr(0, 11) + "00")) << code;
        beyondHundred += code.compare(11, 4, "0100") >= 0 ? 1 : 0;
    }
    EXPECT_GT(street.RecordCount(), 3000u);
    EXPECT_GT(beyondHundred, 0u);
}

TEST(KladrSampleTest, RecordCountIsExactAtAnySize)
{
    TempDir dir;
    for (const std::uint32_t count : { 1u, 130'000u }) {
        std::string error;
        ASSERT_TRUE(samples::WriteKladrSample(platform::FileSystem::Default(), dir.Path(),
            { count, false }, &error)) << error;
        classifiers::RegionTableBuilder builder(platform::FileSystem::Default());
        ASSERT_EQ(builder.Build(dir.Path(), nullptr), classifiers::RegionTableBuilder::Result::kBuilt);
        EXPECT_EQ(builder.Visited(), count);
        EXPECT_EQ(builder.Kept(), count == 1 ? 1u : std::uint32_t { samples::kKladrRegionCount });
    }
}

} // namespace
