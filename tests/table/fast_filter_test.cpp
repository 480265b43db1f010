// The filter forms tested on record bytes against the general evaluator: for every record of
// generated and real tables, in both code pages, both must give the same answer.

#include "table/fast_filter.h"

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "table/expression.h"
#include "table/record_file.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using table::FastFilter;
using table::FieldLayout;

std::string Ansi(const char* utf8)
{
    return platform::Utf8ToAnsi(utf8);
}

std::string Oem(const char* utf8)
{
    std::string text = platform::Utf8ToAnsi(utf8);
    platform::AnsiToOem(text);
    return text;
}

struct Records
{
    std::vector<FieldLayout> fields;
    std::size_t length = 0;
    std::vector<std::string> bytes; // each a whole record, flag first
};

// How many records passed or failed, and how many the fast form left to the general one.
struct Tally
{
    int agreed = 0;
    int unsure = 0;
};

// Compiles `text` both ways and compares them on every record in both code pages; the
// fast form must exist.
Tally Compare(const std::string& text, const Records& records)
{
    Tally tally;
    std::unique_ptr<table::Expression> general = table::ParseExpression(text, records.fields);
    EXPECT_TRUE(general) << text;
    std::unique_ptr<FastFilter> fast = FastFilter::Compile(text, records.fields);
    EXPECT_TRUE(fast) << text;
    if (!general || !fast)
        return tally;
    for (const std::string& record : records.bytes) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(record.data());
        for (const bool oem : { false, true }) {
            const FastFilter::Answer answer = fast->Test(bytes, oem);
            if (answer == FastFilter::Answer::kUnsure) {
                // Only a number written with an exponent is left to the general evaluator.
                const bool exponent = std::any_of(records.fields.begin(), records.fields.end(),
                    [&](const FieldLayout& field) {
                        const std::string stored = record.substr(field.offset, field.width);
                        return (field.def.type == 'N' || field.def.type == 'F')
                            && stored.find_first_of("eE") != std::string::npos;
                    });
                EXPECT_TRUE(exponent) << text << " on [" << record << "]";
                ++tally.unsure;
                continue;
            }
            const bool expected = general->IsTrue(bytes, records.length, oem);
            EXPECT_EQ(answer == FastFilter::Answer::kTrue, expected)
                << text << " on [" << record << "] oem " << oem;
            ++tally.agreed;
        }
    }
    return tally;
}

// The conditions the filter builds for a field of `type` named `name`, with `values` as
// the texts a user may have typed (already in the stored form: dates as YYYYMMDD, texts in
// upper case where UPPER is used).
std::vector<std::string> Conditions(const std::string& name, char type,
                                    const std::vector<std::string>& values)
{
    static const char* const kOps[] = { "=", "#", "<", "<=", ">", ">=" };
    std::vector<std::string> out;
    if (type == 'L')
        return { name + "=.T.", name + "=.F." };
    if (type != 'N' && type != 'F')
        out = { "LEN(" + name + ")=0", "LEN(" + name + ")>0" };
    for (const std::string& value : values) {
        for (const char* op : kOps) {
            switch (type) {
            case 'N':
            case 'F':
                out.push_back(name + op + value);
                break;
            case 'D':
                out.push_back("DTOC(" + name + ")" + op + "'" + value + "'");
                break;
            case 'C':
                out.push_back(name + op + "'" + value + "'");
                out.push_back("UPPER(" + name + ")" + op + "'" + value + "'");
                break;
            default:
                break;
            }
        }
        if (type == 'C' || type == 'M') {
            out.push_back("AT('" + value + "'," + name + ")>0");
            out.push_back("AT('" + value + "',UPPER(" + name + "))=0");
        }
    }
    return out;
}

// Groups as the filter writes them: ((a).AND.(b)).OR.((c)) and the like.
std::vector<std::string> Groups(const std::vector<std::string>& conditions, int count)
{
    std::mt19937 random(18);
    std::uniform_int_distribution<std::size_t> pick(0, conditions.size() - 1);
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        const auto c = [&] { return "(" + conditions[pick(random)] + ")"; };
        switch (i % 4) {
        case 0: out.push_back(c() + ".AND." + c()); break;
        case 1: out.push_back(c() + ".OR." + c() + ".OR." + c()); break;
        case 2: out.push_back("(" + c() + ".AND." + c() + ").OR.(" + c() + ".AND." + c() + ")"); break;
        default: out.push_back("(" + c() + ").OR.(" + c() + ".AND." + c() + ".AND." + c() + ")"); break;
        }
    }
    return out;
}

class FastFilterTest : public ::testing::Test
{
protected:
    // A table of every field type whose records combine awkward values: blanks, NUL bytes,
    // Cyrillic in both code pages and both cases, numbers with signs, exponents (one beyond
    // a double's range), stray letters and trailing blanks, dates and blank dates, every
    // logical byte.
    Records Generated()
    {
        testing_support::TableBuilder b;
        b.Field("NAME", 'C', 10).Field("SUM", 'N', 8, 2).Field("RATE", 'F', 6, 1)
            .Field("DT", 'D', 8).Field("FLAG", 'L', 1).Field("NOTE", 'M', 10);
        const std::vector<std::string> names = { "", "Ivan", "IVAN      ", "ivan ivan", "Ivan Oleg",
            Oem("Олег"), Oem("ОЛЕГ ёжик"), Ansi("Олег"), Ansi("олег Ёж"), std::string("Iv\0an", 5),
            "0123456789", Oem("ЯЩИК яблок"), Ansi("ящик Яблок"), "  lead", "\xff\xfe\x80" };
        const std::vector<std::string> sums = { "   12.50", "  -12.50", "        ", "   1e400",
            "1.5E2   ", "  12.5  ", "12.34567", "   -0.00", "      +7", "     .5 ", "      5.",
            "     abc", "  1 2   ", "99999999", "  0.10  ", " -1e-400" };
        const std::vector<std::string> rates = { "   1.5", "  -2.0", "      ", "  1e99", "  3e5 " };
        const std::vector<std::string> dates = { "20010201", "20010202", "        ", "19991231",
            "2001021 ", "abcdefgh" };
        const std::string flags = "TtFfYy? \0";
        const std::vector<std::string> notes = { "          ", "         1", "        12" };
        std::mt19937 random(1218);
        for (int k = 0; k < 600; ++k) {
            const auto any = [&](const auto& pool) { return pool[random() % pool.size()]; };
            auto padded = [](std::string text, std::size_t width) {
                text.resize(width, ' ');
                return text;
            };
            const std::string record = padded(any(names), 10) + any(sums) + any(rates)
                + any(dates) + std::string(1, flags[random() % flags.size()]) + any(notes);
            b.Record(record, k % 7 == 0);
        }
        return Read(b);
    }

    Records Read(const testing_support::TableBuilder& b)
    {
        const std::string path = dir.File("t.dbf");
        b.Write(path);
        return ReadFile(path);
    }

    static Records ReadFile(const std::string& path)
    {
        Records records;
        table::RecordFile file(platform::FileSystem::Default());
        if (!file.Open(path, table::RecordFile::Mode::kRead))
            return records;
        records.fields = file.Fields();
        records.length = file.RecordLength();
        for (std::uint32_t k = 1; k <= file.RecordsHeld(); ++k) {
            if (!file.ReadRecord(k))
                break;
            records.bytes.emplace_back(reinterpret_cast<const char*>(file.Record()), records.length);
        }
        return records;
    }

    testing_support::TempDir dir;
};

TEST_F(FastFilterTest, EveryFormAgreesWithTheGeneralEvaluatorOnEveryRecord)
{
    const Records records = Generated();
    std::vector<std::string> conditions;
    const auto add = [&](std::vector<std::string> more) {
        conditions.insert(conditions.end(), more.begin(), more.end());
    };
    add(Conditions("NAME", 'C', { "IVAN", "IVAN      ", "Ivan", "IVAN IVAN ", Oem("ОЛЕГ"),
                                  Ansi("ОЛЕГ"), Oem("ЯЩИК ЯБЛОК"), Ansi("ЯЩИК ЯБЛОК"), "",
                                  "IVAN OLEG  X", Oem("Ё") }));
    add(Conditions("SUM", 'N', { "12.5", "-12.5", "0", "150", "0.1", "12.34567", "-5", "10000000000" }));
    add(Conditions("RATE", 'F', { "1.5", "-2", "300000" }));
    add(Conditions("DT", 'D', { "20010201", "", "19991231" }));
    add(Conditions("FLAG", 'L', {}));
    add(Conditions("NOTE", 'M', { "1" }));
    // Field and function names in any letter case; blanks between tokens.
    add({ "name='Ivan'", "upper( Name ) >= 'IVAN'", "at( 'AN' , upper(name) ) > 0", "Sum > 12" });

    Tally total;
    for (const std::string& text : conditions) {
        const Tally tally = Compare(text, records);
        total.agreed += tally.agreed;
        total.unsure += tally.unsure;
    }
    for (const std::string& text : Groups(conditions, 400)) {
        const Tally tally = Compare(text, records);
        total.agreed += tally.agreed;
        total.unsure += tally.unsure;
    }
    EXPECT_GT(total.agreed, 500000);
    EXPECT_GT(total.unsure, 0); // the records with exponents reached the general evaluator
}

// A scan finds, run by run, exactly the records a test of each would pass, under each
// setting of the deletion filter.
TEST_F(FastFilterTest, FindFirstStopsAtTheRecordsTestWouldPass)
{
    const Records records = Generated();
    std::string run;
    for (const std::string& record : records.bytes)
        run += record;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(run.data());
    const auto count = static_cast<std::uint32_t>(records.bytes.size());
    for (const char* text : { "SUM>12.5", "UPPER(NAME)='IVAN      '", "AT('AN',UPPER(NAME))>0",
             "LEN(NAME)=0", "FLAG=.T.", "DTOC(DT)<'20010202'", "NAME<'Ivan'",
             "(SUM>0).OR.(FLAG=.T.)", "((RATE<2).AND.(LEN(NOTE)>0)).OR.(AT('Iv',NAME)=0)" }) {
        const auto fast = FastFilter::Compile(text, records.fields);
        ASSERT_TRUE(fast) << text;
        for (const int deleted : { 0, 1, 2 }) {
            std::vector<std::uint32_t> expected;
            for (std::uint32_t i = 0; i < count; ++i) {
                const std::uint8_t* record = bytes + std::size_t { i } * records.length;
                const bool marked = record[0] == '*';
                if ((deleted == 1 && marked) || (deleted == 2 && !marked))
                    continue;
                if (fast->Test(record, true) != FastFilter::Answer::kFalse)
                    expected.push_back(i);
            }
            std::vector<std::uint32_t> found;
            for (std::uint32_t i = 0; i < count; ++i) {
                FastFilter::Answer answer = FastFilter::Answer::kFalse;
                i += fast->FindFirst(bytes + std::size_t { i } * records.length, count - i,
                                     records.length, true, deleted, &answer);
                if (i < count) {
                    found.push_back(i);
                    EXPECT_EQ(answer, fast->Test(bytes + std::size_t { i } * records.length, true));
                }
            }
            EXPECT_EQ(found, expected) << text << " deleted " << deleted;
            EXPECT_FALSE(expected.empty()) << text;
        }
    }
}

TEST_F(FastFilterTest, ANumberBeyondRangeFailsTheWholeGroupEvenWhereTheShortCutSkipsIt)
{
    testing_support::TableBuilder b;
    b.Field("FLAG", 'L', 1).Field("SUM", 'N', 8, 2);
    b.Record("T   1e400").Record("T   12.00");
    const Records records = Read(b);
    const auto fast = FastFilter::Compile("(FLAG=.T.).OR.(SUM>1)", records.fields);
    ASSERT_TRUE(fast);
    const auto* first = reinterpret_cast<const std::uint8_t*>(records.bytes[0].data());
    const auto* second = reinterpret_cast<const std::uint8_t*>(records.bytes[1].data());
    EXPECT_EQ(fast->Test(first, false), FastFilter::Answer::kUnsure);
    EXPECT_EQ(fast->Test(second, false), FastFilter::Answer::kTrue);
    const auto general = table::ParseExpression("(FLAG=.T.).OR.(SUM>1)", records.fields);
    EXPECT_FALSE(general->IsTrue(first, records.length, false));
}

TEST_F(FastFilterTest, OtherExpressionsKeepTheGeneralEvaluator)
{
    testing_support::TableBuilder b;
    b.Field("NAME", 'C', 10).Field("SUM", 'N', 8, 2).Field("FLAG", 'L', 1).Field("DT", 'D', 8);
    b.Record("Ivan");
    const Records records = Read(b);
    for (const char* text : { "NAME+NAME='x'", ".NOT.(FLAG=.T.)", "SUM>5+1", "'x'<NAME",
             "LEN(FLAG)=0", "FLAG<.T.", "UPPER(NAME)>5", "SUM>'5'", "VAL(NAME)>1", "NAME='a'='b'",
             "(SUM>1)=(SUM>2)", "LOWER(NAME)='ivan'", "AT(NAME,NAME)>0", "DT>'2001'",
             "AT('A',UPPER(FLAG))>0", "SUM$'x'", "(FLAG=.T.)", "-SUM>1", "NAME" }) {
        if (std::string(text) == "(FLAG=.T.)")
            EXPECT_TRUE(FastFilter::Compile(text, records.fields)) << text;
        else
            EXPECT_FALSE(FastFilter::Compile(text, records.fields)) << text;
    }
}

// Conditions built from the values the real tables hold, compared on all their records.
TEST_F(FastFilterTest, RealTablesAgreeOnConditionsOverTheirOwnValues)
{
    int tables = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(LUMETTA_TEST_DATA "/real")) {
        std::string extension = entry.path().extension().string();
        for (char& c : extension)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!entry.is_regular_file() || extension != ".dbf")
            continue;
        const Records records = ReadFile(entry.path().string());
        if (records.bytes.empty())
            continue;
        ++tables;
        const std::string& sample = records.bytes[records.bytes.size() / 2];
        std::vector<std::string> seen;
        for (const FieldLayout& field : records.fields) {
            // Names an expression can spell, each the first of its name (a later field of
            // the same name is never the one an expression reaches).
            std::string name = field.def.name;
            const bool spelled = !name.empty() && name.size() <= 10
                && std::all_of(name.begin(), name.end(), [](char c) {
                       return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
                   });
            for (char& c : name)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            const bool first = std::find(seen.begin(), seen.end(), name) == seen.end();
            seen.push_back(name);
            if (!spelled || !first)
                continue;
            name = field.def.name;
            std::string value = sample.substr(field.offset, field.width);
            if (value.find_first_of("'\r\n") != std::string::npos || value.find('\0') != std::string::npos)
                continue;
            const char type = field.def.type;
            std::vector<std::string> values = { value };
            if (type == 'N' || type == 'F') {
                char number[64];
                std::snprintf(number, sizeof number, "%.4f", std::atof(value.c_str()));
                values = { number };
            } else if (type != 'C' && type != 'D' && type != 'L' && type != 'M') {
                continue;
            }
            SCOPED_TRACE(entry.path().string() + " " + name + " " + type + " [" + value + "]");
            for (const std::string& text : Conditions(name, type, values))
                Compare(text, records);
        }
    }
    EXPECT_GT(tables, 10);
}

} // namespace
