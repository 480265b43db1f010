#include "platform/file_system.h"
#include "platform/utf8.h"
#include "table/dbf_file.h"
#include "table/memo_file.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tests/support/temp_dir.h"
#include "tools/samples/sample_database.h"
#include "tools/samples/sample_tables.h"

#include <charconv>
#include <set>
#include <gtest/gtest.h>

namespace {

using table::CDBFFile;
using table::CodePageId;
using table::CTable;
using testing_support::ReadAllBytes;
using testing_support::TempDir;

constexpr std::uint32_t kLargeCount = 2500;

class SampleTablesTest : public ::testing::Test
{
protected:
    SampleTablesTest()
    {
        std::string error;
        EXPECT_TRUE(samples::WriteSampleTables(fs, dir.Path() + "samples", { kLargeCount }, &error))
            << error;
        EXPECT_TRUE(database.SetDatabaseDirectory(dir.Path() + "samples/"));
    }

    std::string PathOf(const char* name) const { return dir.Path() + "samples/" + name; }

    // The texts of a memo table's memo field `field`, record by record ("" for a blank one).
    std::vector<std::string> MemoTexts(const char* name, int field)
    {
        CTable t(&database);
        EXPECT_TRUE(t.Open(PathOf(name), false));
        const std::uint8_t version = ReadAllBytes(PathOf(name))[0];
        table::MemoFile memo(fs);
        EXPECT_TRUE(memo.Open(table::FindMemoCompanion(fs, PathOf(name), version),
            table::MemoFormForVersion(version)));
        std::vector<std::string> texts;
        for (bool ok = t.GoTop(); ok; ok = t.GoNext()) {
            const std::string digits = t.GetValue(field, false).text;
            std::uint32_t block = 0;
            std::string text;
            if (digits.find_first_not_of(' ') != std::string::npos) {
                const char* first = digits.data() + digits.find_first_not_of(' ');
                std::from_chars(first, digits.data() + digits.size(), block);
                EXPECT_TRUE(memo.ReadText(block, &text)) << name << " block " << block;
            }
            texts.push_back(text);
        }
        return texts;
    }

    platform::FileSystem& fs = platform::FileSystem::Default();
    TempDir dir;
    table::TableDatabase database { fs };
};

TEST_F(SampleTablesTest, EveryTableOpensWithItsVersionCountsAndAGoodHeader)
{
    struct Expected
    {
        const char* name;
        std::uint8_t version;
        std::uint32_t records;
        std::uint32_t deleted;
    };
    for (const Expected& e : { Expected { samples::kCustomers, 0x03, samples::kCustomerCount, 0 },
             Expected { samples::kFieldTypes, 0x83, samples::kFieldTypesCount, 0 },
             Expected { samples::kBooks, 0x8B, samples::kBookCount, 0 },
             Expected { samples::kDeleted, 0x03, samples::kDeletedCount, 7 },
             Expected { samples::kLarge, 0x03, kLargeCount, 0 } }) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(ReadAllBytes(PathOf(e.name))[0], e.version);
        EXPECT_EQ(CDBFFile(fs, PathOf(e.name)).Result(), CDBFFile::CheckResult::kAgrees);
        CTable t(&database);
        ASSERT_TRUE(t.Open(PathOf(e.name), false));
        EXPECT_EQ(t.RecordCount(), e.records);
        std::uint32_t deleted = 0;
        for (bool ok = t.GoTop(); ok; ok = t.GoNext())
            deleted += t.IsDeleted() ? 1 : 0;
        EXPECT_EQ(deleted, e.deleted);
    }
}

TEST_F(SampleTablesTest, CodePagesComeFromTheHeaderByte)
{
    EXPECT_EQ(ReadAllBytes(PathOf(samples::kCustomers))[29], 0x65);
    CTable customers(&database);
    ASSERT_TRUE(customers.Open(PathOf(samples::kCustomers), false));
    EXPECT_EQ(customers.CodePage(), CodePageId::k866);
    ASSERT_TRUE(customers.GoTo(2));
    // Stored as DOS text, shown as Windows text.
    EXPECT_EQ(customers.GetValueByName("NAME", false).text.substr(0, 2), "\x8f\xa5");
    EXPECT_EQ(customers.GetValueByName("NAME", true).text.substr(0, 22),
        platform::Utf8ToAnsi("Петрова Ольга Петровна"));

    CTable large(&database);
    ASSERT_TRUE(large.Open(PathOf(samples::kLarge), false));
    EXPECT_EQ(large.CodePage(), CodePageId::k1251);
    ASSERT_TRUE(large.GoTo(kLargeCount));
    EXPECT_EQ(large.GetValueByName("ID", false).number, kLargeCount);
}

TEST_F(SampleTablesTest, MemoTextsReadBackInBothMemoForms)
{
    const auto notes = MemoTexts(samples::kFieldTypes, 6);
    ASSERT_EQ(notes.size(), samples::kFieldTypesCount);
    EXPECT_EQ(notes[2], "");
    EXPECT_EQ(notes[1],
        platform::Utf8ToAnsi("Обжарка средняя.\r\nПомол для турки.\r\nСрок годности 12 месяцев."));
    EXPECT_GT(notes[5].size(), 3 * table::MemoFile::kDbase3BlockSize); // spans several blocks

    const auto summaries = MemoTexts(samples::kBooks, 6);
    ASSERT_EQ(summaries.size(), samples::kBookCount);
    EXPECT_GT(summaries[0].size(), 512u);
    EXPECT_EQ(summaries[3], "Short essays.\r\nIllustrated.");
    table::MemoFile memo(fs);
    ASSERT_TRUE(memo.Open(PathOf("books_dbase4.dbt"), table::MemoForm::kDbase4));
    EXPECT_EQ(memo.BlockSize(), 512u);
}

// The sample database: its schema reads back clean, and every group and unit a record of
// goods names is there to show its name.
TEST_F(SampleTablesTest, TheSampleDatabaseIsDescribedByItsSchemaAndItsKeysAllResolve)
{
    table::TableDatabase sample(fs);
    ASSERT_TRUE(sample.SetDatabaseDirectory(PathOf(samples::kDatabaseFolder)));
    ASSERT_TRUE(sample.LoadSchema("default.sch"));
    EXPECT_EQ(sample.Tables().size(), 3u);
    EXPECT_FALSE(sample.TestSchema().has_value());
    ASSERT_NE(sample.FindTable("GOODS"), nullptr);
    EXPECT_EQ(sample.FindTable("GOODS")->relations.size(), 2u);

    auto keys = [&](const char* name) {
        std::set<std::string> found;
        CTable t(&sample);
        EXPECT_TRUE(t.Open(name, false));
        EXPECT_EQ(t.CodePage(), CodePageId::k866);
        for (bool ok = t.GoTop(); ok; ok = t.GoNext())
            found.insert(t.GetValueByName("ID", false).text);
        return found;
    };
    const std::set<std::string> groups = keys(samples::kGroups);
    const std::set<std::string> units = keys(samples::kUnits);
    CTable goods(&sample);
    ASSERT_TRUE(goods.Open(samples::kGoods, false));
    EXPECT_EQ(goods.RecordCount(), samples::kGoodsCount);
    for (bool ok = goods.GoTop(); ok; ok = goods.GoNext()) {
        const std::uint32_t record = goods.CurrentRecord();
        ASSERT_EQ(groups.count(goods.GetValueByName("GROUPID", false).text), 1u) << record;
        ASSERT_EQ(units.count(goods.GetValueByName("UNITID", false).text), 1u) << record;
    }
}

TEST_F(SampleTablesTest, DamagedTableClaimsMoreRecordsThanItHolds)
{
    CDBFFile check(fs, PathOf(samples::kDamaged));
    EXPECT_EQ(check.Result(), CDBFFile::CheckResult::kDisagrees);
    EXPECT_EQ(check.Header().recordCount, samples::kDamagedCount + 3);
    EXPECT_EQ(check.ComputedRecordCount(), samples::kDamagedCount);
}

TEST_F(SampleTablesTest, WritingAgainReplacesTablesAndMemoFiles)
{
    const auto memoBefore = ReadAllBytes(PathOf("field_types.dbt"));
    const auto booksMemoBefore = ReadAllBytes(PathOf("books_dbase4.dbt"));
    std::string error;
    ASSERT_TRUE(samples::WriteSampleTables(fs, dir.Path() + "samples/", { 10 }, &error)) << error;
    EXPECT_EQ(ReadAllBytes(PathOf("field_types.dbt")), memoBefore);
    EXPECT_EQ(ReadAllBytes(PathOf("books_dbase4.dbt")), booksMemoBefore);
    CTable large(&database);
    ASSERT_TRUE(large.Open(PathOf(samples::kLarge), false));
    EXPECT_EQ(large.RecordCount(), 10u);
}

} // namespace
