#include "table/table.h"

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "table/table_database.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using table::CTable;
using table::CodePageId;
using table::TableDatabase;
using testing_support::ReadAllBytes;
using testing_support::TableBuilder;
using testing_support::TempDir;

class TableTest : public ::testing::Test
{
protected:
    TableTest() { EXPECT_TRUE(database.SetDatabaseDirectory(dir.Path())); }

    // NAME C10, SUM N6.2, DT D8, FLAG L1: five records, the second and fourth deleted, the
    // third blank.
    static TableBuilder People()
    {
        TableBuilder b;
        b.Field("NAME", 'C', 10).Field("SUM", 'N', 6, 2).Field("DT", 'D', 8).Field("FLAG", 'L', 1);
        b.Record(std::string("Ivan      ") + " 12.50" + "20010203" + "T");
        b.Record(std::string("Petr      ") + "  1.00" + "19991231" + "F", true);
        b.Record("");
        b.Record(std::string("Anna      ") + "  3.00" + "20200101" + "t", true);
        b.Record(std::string("Oleg      ") + "100.00" + "19700101" + "Y");
        return b;
    }

    std::string Names(CTable& t)
    {
        std::string names;
        for (bool ok = t.GoTop(); ok; ok = t.GoNext()) {
            names += std::to_string(t.CurrentRecord());
            names += ' ';
        }
        return names;
    }

    TempDir dir;
    TableDatabase database { platform::FileSystem::Default() };
};

TEST_F(TableTest, OpensBareNamesInTheDirectoryWithoutRegardToCase)
{
    People().Write(dir.File("Kladr.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("KLADR", false));
    EXPECT_EQ(t.Name(), "Kladr");
    EXPECT_EQ(t.RecordCount(), 5u);
    EXPECT_EQ(t.FieldCount(), 4);
    EXPECT_EQ(t.IndexDirectory(), dir.Path() + "TmpIndex/Kladr/");
    CTable missing(&database);
    EXPECT_FALSE(missing.Open("STREET", false));
}

TEST_F(TableTest, SharedTablesAreCountedAndDeletedWithTheLastUser)
{
    People().Write(dir.File("t.dbf"));
    CTable* first = database.OpenTable("t");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(database.OpenTable("T.DBF"), first);
    EXPECT_EQ(database.ReferenceCount("t"), 2);
    database.ReleaseTable("T");
    EXPECT_EQ(database.ReferenceCount("t"), 1);
    database.ReleaseTable("t");
    EXPECT_EQ(database.ReferenceCount("t"), 0);
    EXPECT_EQ(database.OpenTable("nothing"), nullptr);
}

TEST_F(TableTest, WithoutADatabaseNothingOpens)
{
    People().Write(dir.File("t.dbf"));
    CTable t(nullptr);
    EXPECT_EQ(t.LastError(), table::TableError::kNoDatabase);
    EXPECT_FALSE(t.Open(dir.File("t.dbf"), false));
    EXPECT_EQ(t.TablePath(), "");
}

TEST_F(TableTest, CodePageComesFromHeaderDefaultOrData)
{
    database.SetDefaultCodePage(CodePageId::k1251);
    TableBuilder b = People();
    b.CodePageByte(0x65);
    b.Write(dir.File("dos.dbf"));
    CTable dos(&database);
    ASSERT_TRUE(dos.Open("dos", true));
    EXPECT_EQ(dos.CodePage(), CodePageId::k866);

    b.CodePageByte(0x57); // a byte of no code page keeps the default
    b.Write(dir.File("other.dbf"));
    CTable other(&database);
    ASSERT_TRUE(other.Open("other", true));
    EXPECT_EQ(other.CodePage(), CodePageId::k1251);

    database.SetDefaultCodePage(CodePageId::kNone);
    TableBuilder guess;
    guess.Field("NAME", 'C', 4).Record("\x8f\xa5\xe2\xe0"); // "Петр" in 866
    guess.Write(dir.File("guess.dbf"));
    CTable guessed(&database);
    ASSERT_TRUE(guessed.Open("guess", true));
    EXPECT_EQ(guessed.CodePage(), CodePageId::k866);
    CTable plain(&database);
    ASSERT_TRUE(plain.Open("guess", false));
    EXPECT_EQ(plain.CodePage(), CodePageId::kNone);
}

TEST_F(TableTest, CatalogueLooksUpNamesWithoutRegardToCase)
{
    People().Write(dir.File("t.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    EXPECT_EQ(t.FieldIndex("sum"), 1);
    EXPECT_EQ(t.FieldIndex("NAMEABCDEFG"), -1); // 11 characters
    EXPECT_EQ(t.FieldIndex("NONE"), -1);
    EXPECT_EQ(t.FieldType(2), 'D');
    EXPECT_EQ(t.FieldType(9), 0);
    EXPECT_EQ(t.FieldLength(1), 6);
    EXPECT_EQ(t.FieldDecimals(1), 2);
    EXPECT_EQ(t.FieldTypeByName("flag"), 'L');
    try {
        (void)t.FieldTypeByName("NONE");
        ADD_FAILURE() << "no exception";
    } catch (const table::CDBEngineException& e) {
        EXPECT_EQ(e.Code(), table::TableError::kNoSuchField);
    }
    EXPECT_EQ(t.LastError(), table::TableError::kNoSuchField);
}

TEST_F(TableTest, NavigationHonoursTheDeletedAndBlankFilters)
{
    People().Write(dir.File("t.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    EXPECT_EQ(Names(t), "1 2 3 4 5 ");
    t.SetDeletedFilter(CTable::DeletedFilter::kNotDeleted);
    EXPECT_EQ(Names(t), "1 3 5 ");
    t.SetDeletedFilter(CTable::DeletedFilter::kDeletedOnly);
    EXPECT_EQ(Names(t), "2 4 ");
    t.SetDeletedFilter(CTable::DeletedFilter::kAll);
    t.SetBlankFilter(CTable::BlankFilter::kBlankOnly);
    EXPECT_EQ(Names(t), "3 ");
    t.SetBlankFilter(CTable::BlankFilter::kNotBlank);
    EXPECT_EQ(Names(t), "1 2 4 5 ");

    ASSERT_TRUE(t.GoTo(5));
    ASSERT_TRUE(t.GoPrev());
    EXPECT_EQ(t.CurrentRecord(), 4u);
    ASSERT_TRUE(t.GoPrev());
    ASSERT_TRUE(t.GoPrev());
    EXPECT_EQ(t.CurrentRecord(), 1u);
    EXPECT_FALSE(t.GoPrev());
    EXPECT_FALSE(t.HasCurrentRecord());
}

// A walk forward tests the records where the read window holds them and copies only the
// one that passes: over several windows, with every filter, it must stop on the records a
// test of each record in turn passes, holding that record's bytes.
TEST_F(TableTest, StepsForwardOverManyReadWindowsStopOnThePassingRecords)
{
    TableBuilder b;
    b.Field("NAME", 'C', 60).Field("N", 'N', 6);
    constexpr int kRecords = 5000; // record length 67: about 1956 records a window
    for (int k = 1; k <= kRecords; ++k) {
        std::string name(60, ' ');
        if (k % 7 != 0) {
            const std::string text = "rec " + std::to_string(k);
            name.replace(0, text.size(), text);
        }
        std::string number = std::to_string(k % 1000);
        number.insert(0, 6 - number.size(), ' ');
        b.Record(k % 7 == 0 ? std::string() : name + number, k % 3 == 0);
    }
    b.Write(dir.File("t.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));

    struct Filters
    {
        CTable::DeletedFilter deleted;
        CTable::BlankFilter blank;
        const char* expression;
    };
    const Filters cases[] = {
        { CTable::DeletedFilter::kNotDeleted, CTable::BlankFilter::kAll, "" },
        { CTable::DeletedFilter::kDeletedOnly, CTable::BlankFilter::kNotBlank, "" },
        { CTable::DeletedFilter::kAll, CTable::BlankFilter::kBlankOnly, "" },
        { CTable::DeletedFilter::kAll, CTable::BlankFilter::kAll, "N>997" }, // two a thousand
        { CTable::DeletedFilter::kNotDeleted, CTable::BlankFilter::kAll, "AT('rec 49',NAME)>0" },
        { CTable::DeletedFilter::kAll, CTable::BlankFilter::kAll, "N<0" }, // none
    };
    for (const Filters& f : cases) {
        SCOPED_TRACE(f.expression);
        t.SetDeletedFilter(CTable::DeletedFilter::kAll);
        t.SetBlankFilter(CTable::BlankFilter::kAll);
        ASSERT_TRUE(t.SetFilterExpression("", true));
        std::string expected;
        std::vector<std::string> bytes;
        t.SetDeletedFilter(f.deleted);
        t.SetBlankFilter(f.blank);
        ASSERT_TRUE(t.SetFilterExpression(f.expression, true));
        for (std::uint32_t k = 1; k <= kRecords; ++k) {
            ASSERT_TRUE(t.GoTo(k));
            if (t.PassesFilters()) {
                expected += std::to_string(k) + ' ';
                bytes.emplace_back(reinterpret_cast<const char*>(t.RecordBuffer()), t.RecordLength());
            }
        }
        std::string walked;
        std::size_t i = 0;
        for (bool ok = t.GoTop(); ok; ok = t.GoNext(false), ++i) {
            walked += std::to_string(t.CurrentRecord()) + ' ';
            ASSERT_LT(i, bytes.size());
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(t.RecordBuffer()), t.RecordLength()),
                      bytes[i]);
        }
        EXPECT_EQ(walked, expected);
        // Past the last passing record: no current record and a blank buffer.
        EXPECT_FALSE(t.HasCurrentRecord());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(t.RecordBuffer()), t.RecordLength()),
                  std::string(t.RecordLength(), ' '));

        // A scan in place visits the same records with the same bytes; every record when
        // asked for all of them; and stops when told to.
        std::string scanned;
        std::size_t matching = 0;
        auto visit = [&](std::uint32_t record, const std::uint8_t* data) {
            scanned += std::to_string(record) + ' ';
            matching += std::string(reinterpret_cast<const char*>(data), t.RecordLength())
                == bytes.at(matching);
            return true;
        };
        ASSERT_TRUE(t.ScanRecords(false, visit));
        EXPECT_EQ(scanned, expected);
        EXPECT_EQ(matching, bytes.size());
        std::uint32_t all = 0;
        auto count = [&](std::uint32_t record, const std::uint8_t*) { return ++all == record; };
        ASSERT_TRUE(t.ScanRecords(true, count));
        EXPECT_EQ(all, static_cast<std::uint32_t>(kRecords));
        int seen = 0;
        auto stop = [&](std::uint32_t, const std::uint8_t*) { return ++seen < 2; };
        ASSERT_TRUE(t.ScanRecords(false, stop));
        EXPECT_EQ(seen, std::min<int>(2, static_cast<int>(bytes.size())));
    }

    // Forward again after a walk backward has filled the window behind the cursor.
    t.SetDeletedFilter(CTable::DeletedFilter::kNotDeleted);
    t.SetBlankFilter(CTable::BlankFilter::kAll);
    ASSERT_TRUE(t.SetFilterExpression("N>997", true));
    ASSERT_TRUE(t.GoTo(4999));
    ASSERT_TRUE(t.GoPrev());
    EXPECT_EQ(t.CurrentRecord(), 3998u);
    ASSERT_TRUE(t.GoNext());
    EXPECT_EQ(t.CurrentRecord(), 4999u);
    EXPECT_FALSE(t.GoNext());
}

// A header that counts more records than the file holds: the walk ends where the records
// end, with the reason kept, and no record is current.
TEST_F(TableTest, AWalkForwardEndsWhereTheFileEnds)
{
    TableBuilder b;
    b.Field("A", 'C', 100);
    for (int k = 1; k <= 3000; ++k)
        b.Record(k % 1000 == 0 ? "hit" : "miss");
    b.RecordCount(4000).EndOfFile(false).Write(dir.File("t.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    ASSERT_TRUE(t.SetFilterExpression("A='hit'+SPACE(97)", true));
    EXPECT_EQ(Names(t), "1000 2000 3000 ");
    EXPECT_EQ(t.CurrentRecord(), 0u);
    EXPECT_EQ(t.LastFileError(), table::DbfError::kRecordBeyondFile);
}

TEST_F(TableTest, ARecordIsBlankOnlyWhenEveryByteIsASpaceOrNul)
{
    TableBuilder b;
    b.Field("A", 'C', 3).Field("B", 'C', 3);
    b.Record(std::string("\0\0\0abc", 6));   // NUL padding first, data after it
    b.Record(std::string("\0 \0 \0\0", 6));  // nothing but spaces and NULs
    b.Record("      ");
    b.Record(std::string("   \0\0x", 6));
    b.Write(dir.File("t.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    t.SetBlankFilter(CTable::BlankFilter::kNotBlank);
    EXPECT_EQ(Names(t), "1 4 ");
    t.SetBlankFilter(CTable::BlankFilter::kBlankOnly);
    EXPECT_EQ(Names(t), "2 3 ");

    // A real table whose second record starts with a NUL byte and holds text after it.
    std::filesystem::copy_file(LUMETTA_TEST_DATA "/real/dbfdatareader/dbase_03_nullchar.dbf",
                               dir.File("nullchar.dbf"));
    CTable real(&database);
    ASSERT_TRUE(real.Open("nullchar", false));
    real.SetBlankFilter(CTable::BlankFilter::kNotBlank);
    EXPECT_EQ(Names(real), "1 2 3 ");
}

TEST_F(TableTest, GoTopFindsNothingWhenEveryRecordIsMarked)
{
    TableBuilder b;
    b.Field("A", 'C', 1).Record("x", true).Record("y", true);
    b.Write(dir.File("t.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    t.SetDeletedFilter(CTable::DeletedFilter::kNotDeleted);
    EXPECT_FALSE(t.GoTop());
    EXPECT_EQ(t.CurrentRecord(), 0u);
    b.Record("z");
    b.Write(dir.File("t.dbf"));
    ASSERT_TRUE(t.Open("t", false));
    ASSERT_TRUE(t.GoTop());
    EXPECT_EQ(t.CurrentRecord(), 3u);
}

TEST_F(TableTest, FilterExpressionsSelectRecords)
{
    People().Write(dir.File("t.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    ASSERT_TRUE(t.SetFilterExpression("(SUM>2).AND.(FLAG=.T.)", true));
    EXPECT_EQ(Names(t), "1 4 ");
    ASSERT_TRUE(t.SetFilterExpression("(DTOC(DT)>'20010201')", true));
    EXPECT_EQ(Names(t), "1 4 ");
    ASSERT_TRUE(t.SetFilterExpression("(LEN(NAME)=0)", true));
    EXPECT_EQ(Names(t), "3 ");
    EXPECT_EQ(t.GetFilterExpression(true), "(LEN(NAME)=0)");
    EXPECT_FALSE(t.SetFilterExpression("(NOPE=1)", true));
    EXPECT_EQ(t.GetFilterExpression(true), "");
    EXPECT_EQ(Names(t), "1 2 3 4 5 ");
    ASSERT_TRUE(t.SetFilterExpression("", true));

    char type = 0;
    EXPECT_EQ(t.ParseExpression(std::string(2049, 'A'), &type), nullptr);
    auto expression = t.ParseExpression("NAME+DTOC(DT)", &type);
    ASSERT_NE(expression, nullptr);
    EXPECT_EQ(type, 'C');
    ASSERT_TRUE(t.GoTo(1));
    table::FieldValue value;
    value.type = 'C';
    ASSERT_TRUE(t.EvaluateExpression(*expression, value, true));
    EXPECT_EQ(value.text, "Ivan      20010203");
    value.type = 'N';
    EXPECT_FALSE(t.EvaluateExpression(*expression, value, true));
    EXPECT_EQ(value.type, 0);
}

TEST_F(TableTest, DosTablesConvertValuesAndFilterText)
{
    std::string oemName = "\x88\xa2\xa0\xad"; // "Иван" in 866
    TableBuilder b;
    b.CodePageByte(0x65).Field("NAME", 'C', 4).Record(oemName);
    b.Write(dir.File("dos.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("dos", false));
    ASSERT_TRUE(t.GoTo(1));
    std::string ansiName = oemName;
    platform::OemToAnsi(ansiName);
    EXPECT_EQ(t.GetValue(0, true).text, ansiName);
    EXPECT_EQ(t.GetValue(0, false).text, oemName);

    std::string upper = ansiName;
    platform::ToUpper1251(upper);
    ASSERT_TRUE(t.SetFilterExpression("(UPPER(NAME)='" + upper + "')", true));
    ASSERT_TRUE(t.GoTop());
    EXPECT_EQ(t.GetFilterExpression(true), "(UPPER(NAME)='" + upper + "')");

    ASSERT_TRUE(t.PutValue(1, 0, upper, true));
    ASSERT_TRUE(t.GoTo(1));
    std::string oemUpper = upper;
    platform::AnsiToOem(oemUpper);
    EXPECT_EQ(t.GetValue(0, false).text, oemUpper);
}

TEST_F(TableTest, PutValueCutsToTheWidthAndRefusalsChangeNothing)
{
    People().Write(dir.File("t.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    ASSERT_TRUE(t.GoTo(1));
    ASSERT_TRUE(t.PutValueByName(1, "NAME", "Alexandrovich", false));
    ASSERT_TRUE(t.PutValue(1, 1, "7", false));
    const auto before = ReadAllBytes(dir.File("t.dbf"));
    EXPECT_FALSE(t.PutValue(1, 1, "12a", false));
    EXPECT_FALSE(t.PutValueByName(1, "DT", "20011301", false));
    EXPECT_FALSE(t.PutValueByName(1, "NONE", "x", false));
    EXPECT_EQ(ReadAllBytes(dir.File("t.dbf")), before);
    ASSERT_TRUE(t.GoTo(1));
    EXPECT_EQ(t.GetValue(0, false).text, "Alexandrov");
    EXPECT_EQ(t.GetValue(1, false).number, 7.0);
    EXPECT_EQ(t.GetValue(1, false).Text(-1, 2, table::kDefaultDateFormat), "7.00");
}

TEST_F(TableTest, AppendDeleteAndUndelete)
{
    TableBuilder b;
    b.Field("A", 'C', 3);
    b.Write(dir.File("t.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    ASSERT_TRUE(t.AppendBlank());
    EXPECT_EQ(t.CurrentRecord(), 1u);
    EXPECT_TRUE(t.IsBlank());
    EXPECT_EQ(t.RecordCount(), 1u);
    ASSERT_TRUE(t.PutValue(1, 0, "abc", false));
    ASSERT_TRUE(t.DeleteCurrent());
    ASSERT_TRUE(t.GoTo(1));
    EXPECT_TRUE(t.IsDeleted());
    ASSERT_TRUE(t.UndeleteCurrent());
    ASSERT_TRUE(t.GoTo(1));
    EXPECT_FALSE(t.IsDeleted());
    EXPECT_EQ(t.GetValue(0, false).text, "abc");
}

TEST_F(TableTest, CopyRecordToMatchesFieldsByName)
{
    People().Write(dir.File("from.dbf"));
    TableBuilder to;
    to.Field("SUM", 'N', 6, 2).Field("OTHER", 'C', 2).Field("name", 'C', 4);
    to.Write(dir.File("to.dbf"));
    CTable from(&database);
    CTable into(&database);
    ASSERT_TRUE(from.Open("from", false));
    ASSERT_TRUE(into.Open("to", false));
    ASSERT_TRUE(from.GoTo(2));
    ASSERT_TRUE(into.AppendBlank());
    ASSERT_TRUE(from.CopyRecordTo(into));
    ASSERT_TRUE(into.GoTo(1));
    EXPECT_TRUE(into.IsDeleted());
    EXPECT_EQ(into.GetValue(0, false).number, 1.0);
    EXPECT_EQ(into.GetValue(1, false).text, "  ");
    EXPECT_EQ(into.GetValue(2, false).text, "Petr");
}

TEST_F(TableTest, CopyRecordToFailsOnANumberTheTargetCannotHold)
{
    TableBuilder from;
    from.Field("N", 'N', 10).Field("S", 'N', 8, 2);
    from.Record(std::string("1234567890") + "   12.50");
    from.Record(std::string("       123") + "   12.50");
    from.Write(dir.File("from.dbf"));
    TableBuilder narrow;
    narrow.Field("N", 'N', 5);
    narrow.Write(dir.File("narrow.dbf"));
    TableBuilder fits;
    fits.Field("N", 'N', 5).Field("S", 'N', 5, 2);
    fits.Write(dir.File("fits.dbf"));
    CTable source(&database);
    ASSERT_TRUE(source.Open("from", false));

    // Ten digits do not fit five places: refused, and nothing reaches the file.
    CTable refusing(&database);
    ASSERT_TRUE(refusing.Open("narrow", false));
    ASSERT_TRUE(refusing.AppendBlank());
    const auto before = ReadAllBytes(dir.File("narrow.dbf"));
    ASSERT_TRUE(source.GoTo(1));
    EXPECT_FALSE(source.CopyRecordTo(refusing));
    EXPECT_EQ(ReadAllBytes(dir.File("narrow.dbf")), before);

    // The blanks that right-align a stored number are no part of its value.
    CTable taking(&database);
    ASSERT_TRUE(taking.Open("fits", false));
    ASSERT_TRUE(taking.AppendBlank());
    ASSERT_TRUE(source.GoTo(2));
    ASSERT_TRUE(source.CopyRecordTo(taking));
    ASSERT_TRUE(taking.GoTo(1));
    EXPECT_EQ(taking.GetValue(0, false).number, 123.0);
    EXPECT_EQ(taking.GetValue(1, false).number, 12.5);
}

TEST_F(TableTest, CodePageWritesOnlyTheHeaderByte)
{
    People().Write(dir.File("t.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    const auto before = ReadAllBytes(dir.File("t.dbf"));
    EXPECT_FALSE(t.SetCodePage(static_cast<CodePageId>(437), true));
    EXPECT_EQ(t.LastError(), table::TableError::kBadCodePage);
    EXPECT_EQ(t.CodePage(), static_cast<CodePageId>(437)); // taken, though not writable
    EXPECT_EQ(ReadAllBytes(dir.File("t.dbf")), before);
    ASSERT_TRUE(t.SetCodePage(CodePageId::k866, true));
    auto after = ReadAllBytes(dir.File("t.dbf"));
    EXPECT_EQ(after[29], 0x65);
    after[29] = before[29];
    EXPECT_EQ(after, before);
    ASSERT_TRUE(t.SetCodePage(CodePageId::k1251, false));
    EXPECT_EQ(ReadAllBytes(dir.File("t.dbf"))[29], 0x65);
    EXPECT_EQ(t.CodePage(), CodePageId::k1251);
}

TEST_F(TableTest, CreateAndCopyStructure)
{
    People().Write(dir.File("t.dbf"));
    CTable t(&database);
    ASSERT_TRUE(t.Open("t", false));
    ASSERT_TRUE(t.CopyStructure(dir.File("copy.dbf"), false));
    EXPECT_FALSE(t.CopyStructure(dir.File("copy.dbf"), false));
    CTable copy(&database);
    ASSERT_TRUE(copy.Open("copy", false));
    EXPECT_EQ(copy.RecordCount(), 0u);
    EXPECT_EQ(copy.RecordLength(), t.RecordLength());
    table::TableStructure bad;
    bad.fields = { { "X", 'G', 4 } };
    EXPECT_FALSE(t.CreateTable(dir.File("bad.dbf"), bad));
}

} // namespace

namespace {

TEST(TableOpenTest, OpeningAndReadingWriteNothing)
{
    // A dBASE III table whose memo file is not a whole number of blocks long.
    testing_support::TempDir dir;
    const std::string source = LUMETTA_TEST_DATA "/real/dans-dbf-lib/dbase3plus/cars/";
    for (const char* name : { "cars.dbf", "cars.dbt" })
        testing_support::WriteAllBytes(dir.File(name), testing_support::ReadAllBytes(source + name));
    const auto table = testing_support::ReadAllBytes(dir.File("cars.dbf"));
    const auto memo = testing_support::ReadAllBytes(dir.File("cars.dbt"));
    ASSERT_NE(memo.size() % 512, 0u);
    {
        table::TableDatabase database(platform::FileSystem::Default());
        ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
        table::CTable t(&database);
        ASSERT_TRUE(t.Open("CARS", true));
        int records = 0;
        for (bool ok = t.GoTop(); ok; ok = t.GoNext())
            records += t.GetValue(0, true).type != 0;
        EXPECT_EQ(records, 4);
    }
    EXPECT_EQ(testing_support::ReadAllBytes(dir.File("cars.dbf")), table);
    EXPECT_EQ(testing_support::ReadAllBytes(dir.File("cars.dbt")), memo);
}

} // namespace
