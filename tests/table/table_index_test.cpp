#include "table/table.h"

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "table/table_database.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using table::CTable;
using table::FieldValue;
using table::TableDatabase;
using table::TableError;
using testing_support::TableBuilder;
using testing_support::TempDir;

class TableIndexTest : public ::testing::Test
{
protected:
    TableIndexTest()
    {
        EXPECT_TRUE(database.SetDatabaseDirectory(dir.Path()));
        // CODE C3, NAME C6, QTY N4, DT D8, OK L1.
        TableBuilder b;
        b.Field("CODE", 'C', 3).Field("NAME", 'C', 6).Field("QTY", 'N', 4).Field("DT", 'D', 8)
            .Field("OK", 'L', 1);
        b.Record(std::string("c03") + "carol " + "   7" + "20010101" + "T");
        b.Record(std::string("a01") + "alice " + " -12" + "20010102" + "T", true);
        b.Record(std::string("b02") + "bob   " + "   5" + "20010103" + "F");
        b.Record(std::string("a01") + "alyx  " + "   0" + "20010104" + "T");
        b.Record(std::string("d04") + "dave  " + "  99" + "20010105" + "T");
        b.Write(dir.File("people.dbf"));
    }

    std::string Order(CTable& t)
    {
        std::string order;
        for (bool ok = t.GoTop(); ok; ok = t.GoNext())
            order += std::to_string(t.CurrentRecord()) + " ";
        return order;
    }

    TempDir dir;
    TableDatabase database { platform::FileSystem::Default() };
};

TEST_F(TableIndexTest, KeyExpressionsFromFieldNames)
{
    CTable t(&database);
    ASSERT_TRUE(t.Open("people", false));
    EXPECT_EQ(t.KeyExpression({ "CODE", "DT", "QTY" }), "CODE+DTOC(DT)+STR(QTY)");
    EXPECT_EQ(t.KeyExpression({ "CODE", "OK" }), "");
    EXPECT_EQ(t.LastError(), TableError::kBadKey);
    EXPECT_EQ(t.KeyExpression({ "NOPE" }), "");
    EXPECT_EQ(t.LastError(), TableError::kNoSuchField);
    EXPECT_EQ(t.IndexFilePath("byname"), dir.Path() + "TmpIndex/people/byname.ndx");
}

TEST_F(TableIndexTest, NavigationFollowsKeyOrderUnderFilters)
{
    CTable t(&database);
    ASSERT_TRUE(t.Open("people", false));
    ASSERT_TRUE(t.CreateIndexOnFields("bycode", { "CODE", "NAME" }, false));
    EXPECT_EQ(Order(t), "1 2 3 4 5 "); // built, not yet used
    ASSERT_TRUE(t.UseIndex("bycode"));
    EXPECT_EQ(t.ActiveIndexName(), "bycode");
    EXPECT_EQ(Order(t), "2 4 3 1 5 ");
    t.SetDeletedFilter(CTable::DeletedFilter::kNotDeleted);
    EXPECT_EQ(Order(t), "4 3 1 5 ");
    ASSERT_TRUE(t.GoTo(3)); // moving by number puts the index on the record
    ASSERT_TRUE(t.GoNext());
    EXPECT_EQ(t.CurrentRecord(), 1u);
    ASSERT_TRUE(t.GoPrev());
    ASSERT_TRUE(t.GoPrev());
    EXPECT_EQ(t.CurrentRecord(), 4u);
    EXPECT_FALSE(t.GoPrev());

    ASSERT_TRUE(t.CreateIndex("byqty", "QTY", false));
    ASSERT_TRUE(t.UseIndex("byqty"));
    t.SetDeletedFilter(CTable::DeletedFilter::kAll);
    EXPECT_EQ(Order(t), "2 4 3 1 5 ");
    t.ClearIndex();
    EXPECT_EQ(Order(t), "1 2 3 4 5 ");
    EXPECT_FALSE(t.UseIndex("missing"));
}

TEST_F(TableIndexTest, SeekFindsValuesPassingTheFilters)
{
    CTable t(&database);
    ASSERT_TRUE(t.Open("people", false));
    FieldValue code;
    ASSERT_TRUE(code.Assign('C', "a01", table::kDefaultDateFormat));
    EXPECT_FALSE(t.SeekValue(code)); // no active index
    ASSERT_TRUE(t.CreateIndex("code", "CODE", false));
    ASSERT_TRUE(t.UseIndex("code"));
    ASSERT_TRUE(t.SeekValue(code));
    EXPECT_EQ(t.CurrentRecord(), 2u);
    t.SetDeletedFilter(CTable::DeletedFilter::kNotDeleted);
    ASSERT_TRUE(t.SeekValue(code)); // the deleted first match is stepped over
    EXPECT_EQ(t.CurrentRecord(), 4u);
    ASSERT_TRUE(code.Assign('C', "a0", table::kDefaultDateFormat));
    EXPECT_FALSE(t.SeekValue(code));
    EXPECT_EQ(t.CurrentRecord(), 0u);

    FieldValue number;
    ASSERT_TRUE(number.Assign('N', "5", table::kDefaultDateFormat));
    EXPECT_FALSE(t.SeekValue(number)); // a character index never finds a number
    ASSERT_TRUE(t.CreateIndex("qty", "QTY", false));
    ASSERT_TRUE(t.UseIndex("qty"));
    ASSERT_TRUE(t.SeekValue(number));
    EXPECT_EQ(t.CurrentRecord(), 3u);
    EXPECT_EQ(t.LastSeekValue().number, 5.0);
}

TEST_F(TableIndexTest, UniqueIndexesRefuseDuplicateKeys)
{
    CTable t(&database);
    ASSERT_TRUE(t.Open("people", false));
    EXPECT_FALSE(t.CreateIndex("code", "CODE", true));
    EXPECT_EQ(t.LastError(), TableError::kNotUnique);
    EXPECT_FALSE(t.UseIndex("code"));
    ASSERT_TRUE(t.CreateIndex("name", "NAME", true));
    EXPECT_FALSE(t.CreateIndex("bad", "NOPE", false));
    try {
        (void)t.CreateIndex("long", std::string(4097, 'A'), false);
        ADD_FAILURE() << "no exception";
    } catch (const table::CDBEngineException& e) {
        EXPECT_EQ(e.Code(), TableError::kBadKey);
    }
}

TEST_F(TableIndexTest, KeyExpressionsMayBeLongerThanFilters)
{
    CTable t(&database);
    ASSERT_TRUE(t.Open("people", false));
    for (std::size_t length : { 2049, 4096 }) {
        const std::string key = "NAME" + std::string(length - 4, ' ');
        char type = 0;
        EXPECT_EQ(t.ParseExpression(key, &type), nullptr) << length; // too long for a filter
        ASSERT_TRUE(t.CreateIndex("long", key, false)) << length;
        ASSERT_TRUE(t.UseIndex("long"));
        EXPECT_EQ(Order(t), "2 4 3 1 5 ") << length;
        t.ClearIndex();
    }
}

TEST_F(TableIndexTest, AnOverstatedRecordCountIndexesTheRecordsTheFileHolds)
{
    // Two records, while the header claims nearly 2^32: building an index must neither
    // reserve room for the claim nor count records that are not there.
    TableBuilder b;
    b.Field("CODE", 'C', 3).Record("zzz").Record("aaa").RecordCount(0xFFFFFFF0u);
    b.Write(dir.File("claims.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("claims", false));
    EXPECT_EQ(t.RecordCount(), 0xFFFFFFF0u);
    ASSERT_TRUE(t.CreateIndexOnFields("code", { "CODE" }, true));
    ASSERT_TRUE(t.UseIndex("code"));
    EXPECT_EQ(Order(t), "2 1 ");
    ASSERT_TRUE(t.SetKeyIndex("code"));
    ASSERT_TRUE(t.UseKeyIndex());
    FieldValue code;
    ASSERT_TRUE(code.Assign('C', "zzz", table::kDefaultDateFormat));
    ASSERT_TRUE(t.SeekValue(code));
    EXPECT_EQ(t.CurrentRecord(), 1u);
}

TEST_F(TableIndexTest, IndexDirectoryGoesWithTheTable)
{
    auto& fs = platform::FileSystem::Default();
    {
        CTable t(&database);
        ASSERT_TRUE(t.Open("people", false));
        ASSERT_TRUE(t.CreateIndex("code", "CODE", false));
        EXPECT_TRUE(fs.Exists(t.IndexFilePath("code")));
        t.Close();
        EXPECT_FALSE(fs.Exists(dir.Path() + "TmpIndex/people"));
    }
    database.Close();
    EXPECT_FALSE(fs.Exists(dir.Path() + "TmpIndex"));
}

TEST_F(TableIndexTest, RelationsPositionTheTargetOnEveryMove)
{
    TableBuilder orders;
    orders.Field("NUM", 'N', 3).Field("WHO", 'C', 3);
    orders.Record("  1d04").Record("  2b02").Record("  3zzz");
    orders.Write(dir.File("orders.dbf"));

    CTable* people = database.OpenTable("people");
    ASSERT_NE(people, nullptr);
    ASSERT_TRUE(people->CreateIndex("key", "CODE", false));
    ASSERT_TRUE(people->SetKeyIndex("key"));
    EXPECT_FALSE(people->SetKeyIndex("nothing"));

    CTable t(&database);
    ASSERT_TRUE(t.Open("orders", false));
    EXPECT_FALSE(t.AddRelation("nosuch", "WHO"));
    EXPECT_EQ(t.LastError(), TableError::kTargetNotOpened);
    ASSERT_TRUE(t.AddRelation("people", "WHO"));
    EXPECT_EQ(database.ReferenceCount("people"), 2);
    ASSERT_TRUE(t.GoTop());
    EXPECT_EQ(people->CurrentRecord(), 5u);
    ASSERT_TRUE(t.GoNext());
    EXPECT_EQ(people->CurrentRecord(), 3u);
    ASSERT_TRUE(t.GoNext());
    EXPECT_EQ(people->CurrentRecord(), 0u); // no such key
    t.Close();
    EXPECT_EQ(database.ReferenceCount("people"), 1);

    TableBuilder plain;
    plain.Field("X", 'C', 1);
    plain.Write(dir.File("plain.dbf"));
    CTable other(&database);
    ASSERT_TRUE(other.Open("orders", false));
    EXPECT_FALSE(other.AddRelation("plain", "WHO"));
    EXPECT_EQ(other.LastError(), TableError::kNoKeyIndex);
    EXPECT_EQ(database.ReferenceCount("plain"), 0);
}

// Keys kept as numbers, dates or another code page than the relating table's still find
// their records: the relating field is put in the form and code page of the target's keys.
TEST_F(TableIndexTest, RelationsFindKeysOfOtherTypesAndCodePages)
{
    const std::string cyrillicAnsi = "\xC1\xE1"; // "Бб" in 1251
    std::string cyrillicOem = cyrillicAnsi;
    platform::AnsiToOem(cyrillicOem);
    TableBuilder targets;
    targets.Field("NUM", 'N', 5).Field("DT", 'D', 8).Field("TAG", 'C', 4).CodePageByte(0x65);
    targets.Record("    7" + std::string("20010102") + cyrillicOem + "  ");
    targets.Record("   12" + std::string("20010101") + "x   ");
    targets.Write(dir.File("targets.dbf"));
    TableBuilder owner;
    owner.Field("N", 'N', 8).Field("D", 'D', 8).Field("T", 'C', 2).CodePageByte(0xC9);
    owner.Record("      12" + std::string("20010102") + cyrillicAnsi);
    owner.Write(dir.File("owner.dbf"));

    CTable* target = database.OpenTable("targets");
    ASSERT_NE(target, nullptr);
    CTable t(&database);
    ASSERT_TRUE(t.Open("owner", false));
    for (const char* field : { "NUM", "DT", "TAG" }) {
        SCOPED_TRACE(field);
        ASSERT_TRUE(target->CreateIndexOnFields("PRIMARY", { field }, false));
        ASSERT_TRUE(target->SetKeyIndex("PRIMARY"));
        const std::string own
            = field == std::string("NUM") ? "N" : field == std::string("DT") ? "D" : "T";
        ASSERT_TRUE(t.AddRelation("targets", own));
        ASSERT_TRUE(t.GoTo(1));
        EXPECT_EQ(target->CurrentRecord(), field == std::string("NUM") ? 2u : 1u);
        t.Close();
        ASSERT_TRUE(t.Open("owner", false));
    }
    // A numeric key index is sought by number; a text that is no number finds nothing.
    ASSERT_TRUE(target->CreateIndex("BYNUM", "NUM", false));
    ASSERT_TRUE(target->SetKeyIndex("BYNUM"));
    ASSERT_TRUE(t.AddRelation("targets", "N"));
    ASSERT_TRUE(t.GoTo(1));
    EXPECT_EQ(target->CurrentRecord(), 2u);
    // Without a current record the target shows none either.
    ASSERT_FALSE(t.GoTo(5));
    EXPECT_EQ(target->CurrentRecord(), 0u);
    t.Close();
    ASSERT_TRUE(t.Open("owner", false));
    ASSERT_TRUE(t.AddRelation("targets", "T"));
    ASSERT_TRUE(t.GoTo(1));
    EXPECT_EQ(target->CurrentRecord(), 0u);
}

} // namespace
