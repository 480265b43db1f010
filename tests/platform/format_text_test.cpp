#include "platform/format_text.h"

#include <gtest/gtest.h>

namespace {

using platform::FormatText;

TEST(FormatTextTest, FillsTheSlotsOfTheProgramsTexts)
{
    EXPECT_EQ(FormatText("Table %s", { "/data/GOODS" }), "Table /data/GOODS");
    EXPECT_EQ(FormatText("Row  %d  of  %d,   Column  %d  of  %d", { 1, 200000, 3, 12 }),
        "Row  1  of  200000,   Column  3  of  12");
    EXPECT_EQ(FormatText("%u byte(s)", { 4294967295u }), "4294967295 byte(s)");
    EXPECT_EQ(FormatText("%s_%d_%s", { "Bkm", 17, "NAME" }), "Bkm_17_NAME");
    EXPECT_EQ(FormatText("Search complete.\n\n%i replaces have been done.", { 0 }),
        "Search complete.\n\n0 replaces have been done.");
}

// The field list of the properties dialog lines up by the widths of its slots.
TEST(FormatTextTest, WidthsRightAlignAndFlagsLeftAlignOrPadWithZeros)
{
    EXPECT_EQ(FormatText("%3d  %11s    %9s    %3d   %3d", { 1, "NAME", "Character", 20, 0 }),
        "  1         NAME    Character     20     0");
    EXPECT_EQ(FormatText("%11s|", { "LONGFIELDNAM" }), "LONGFIELDNAM|") << "never cut";
    EXPECT_EQ(FormatText("%-5s|%-4d|", { "ab", 7 }), "ab   |7   |");
    EXPECT_EQ(FormatText("%05d %03d %05s", { -42, 7, "ab" }), "-0042 007    ab");
}

TEST(FormatTextTest, APercentSignIsWrittenByDoublingIt)
{
    EXPECT_EQ(FormatText("100%% of %s", { "rows" }), "100% of rows");
    EXPECT_EQ(FormatText("50%", {}), "50%");
}

// A translated text may be wrong or hostile; it can only ever show a wrong text.
TEST(FormatTextTest, AFaultyTextIsCopiedWhereItCannotBeFilled)
{
    EXPECT_EQ(FormatText("%s and %s", { "one" }), "one and %s");
    EXPECT_EQ(FormatText("%n%x%.2f%ls%p", { 1, 2, 3 }), "%n%x%.2f%ls%p");
    EXPECT_EQ(FormatText("%99999s", { "x" }), "%99999s");
    EXPECT_EQ(FormatText("%", { "x" }), "%");
    EXPECT_EQ(FormatText("no slots", { "extra", 1 }), "no slots");
}

// A translation that chose another kind of slot still shows the value.
TEST(FormatTextTest, ASlotTakesAnArgumentOfTheOtherKind)
{
    EXPECT_EQ(FormatText("found %d records of %s", { "12", 40 }), "found 12 records of 40");
    EXPECT_EQ(FormatText("%04d", { "12" }), "  12") << "zeros pad numbers only";
}

TEST(FormatTextTest, TextsKeepTheirBytes)
{
    const std::string table = "\xD2\xE0\xE1\xEB\xE8\xF6\xE0 %s"; // "Таблица %s" in 1251
    EXPECT_EQ(FormatText(table, { std::string("C:\\\xC4\xC0\xCD\xCD\xDB\xC5") }),
        "\xD2\xE0\xE1\xEB\xE8\xF6\xE0 C:\\\xC4\xC0\xCD\xCD\xDB\xC5");
    EXPECT_EQ(FormatText("[%s]", { std::string_view("a\0b", 3) }), std::string("[a\0b]", 5));
}

} // namespace
