#include "table/field_value.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using table::DateFormat;
using table::FieldValue;

class FieldValueTest : public ::testing::Test
{
protected:
    static FieldValue Make(
        char type, std::string_view text, DateFormat form = DateFormat::kYyyyMmDd)
    {
        FieldValue value;
        static_cast<void>(value.Assign(type, text, form));
        return value;
    }
    static bool Accepts(char type, std::string_view text, DateFormat form = DateFormat::kYyyyMmDd)
    {
        FieldValue value;
        return value.Assign(type, text, form);
    }
    static double Number(std::string_view text) { return Make('N', text).number; }

    // All five comparisons at once, as "==<>LG" with '-' for false, so a failure shows
    // the whole picture.
    static std::string Relations(const FieldValue& a, const FieldValue& b)
    {
        std::string r;
        r += a == b ? '=' : '-';
        r += a < b ? '<' : '-';
        r += a > b ? '>' : '-';
        r += a <= b ? 'L' : '-';
        r += a >= b ? 'G' : '-';
        return r;
    }
};

TEST_F(FieldValueTest, StartsAsNoValueWithTheEpochDate)
{
    const FieldValue value;
    EXPECT_EQ(value.type, 0);
    EXPECT_EQ(value.date, "19700101");
    EXPECT_EQ(value.number, 0);
    EXPECT_FALSE(value.logical);
    EXPECT_EQ(value.Text(-1, 0, DateFormat::kDdMmYyyy), "");
}

TEST_F(FieldValueTest, CharacterAndMemoKeepTheTextAsItIs)
{
    EXPECT_EQ(Make('C', "AB  ").text, "AB  ");
    EXPECT_EQ(Make('M', "        12").text, "        12");
    EXPECT_EQ(Make('M', "").type, 'M');
}

TEST_F(FieldValueTest, DatesAreReadInTheGivenFormAndKeptStored)
{
    EXPECT_EQ(Make('D', "01.02.69", DateFormat::kDdMmYy).date, "20690201");
    EXPECT_EQ(Make('D', "12/31/1999", DateFormat::kMmDdYyyy).date, "19991231");

    EXPECT_TRUE(Accepts('D', ""));
    EXPECT_EQ(Make('D', "").type, 'D');
    EXPECT_EQ(Make('D', "").date, "");

    EXPECT_FALSE(Accepts('D', "        "));
    const FieldValue bad = Make('D', "31.13.2001", DateFormat::kDdMmYyyy);
    EXPECT_EQ(bad.type, 0);
    EXPECT_EQ(bad.date, "");
}

TEST_F(FieldValueTest, LogicalWordsInAnyCase)
{
    for (const char* word : { "TRUE", "true", ".TRUE.", ".t.", "T", "t", "Y", "y" }) {
        FieldValue value;
        EXPECT_TRUE(value.Assign('L', word, DateFormat::kYyyyMmDd)) << word;
        EXPECT_TRUE(value.logical) << word;
    }
    for (const char* word : { "FALSE", "False", ".FALSE.", ".f.", "F", "f", "N", "n" }) {
        FieldValue value;
        value.logical = true;
        EXPECT_TRUE(value.Assign('L', word, DateFormat::kYyyyMmDd)) << word;
        EXPECT_FALSE(value.logical) << word;
    }
}

TEST_F(FieldValueTest, OtherLogicalTextsFailButStayLogicalFalse)
{
    for (const char* word : { "?", " ", "", "T ", " T", "TR", "YES", ".T" }) {
        FieldValue value;
        EXPECT_FALSE(value.Assign('L', word, DateFormat::kYyyyMmDd)) << word;
        EXPECT_EQ(value.type, 'L') << word;
        EXPECT_FALSE(value.logical) << word;
    }
}

TEST_F(FieldValueTest, NumbersAreTheLeadingDecimalNumber)
{
    EXPECT_EQ(Number("  12.5abc"), 12.5);
    EXPECT_EQ(Number("\t-3"), -3);
    EXPECT_EQ(Number("+4.25"), 4.25);
    EXPECT_EQ(Number("  -.5"), -0.5);
    EXPECT_EQ(Number("5."), 5);
    EXPECT_EQ(Number("1e3"), 1000);
    EXPECT_EQ(Number("2E-2x"), 0.02);
    EXPECT_EQ(Number("7e"), 7);
    EXPECT_EQ(Number("1,5"), 1);
    EXPECT_EQ(Number("1.2.3"), 1.2);
}

TEST_F(FieldValueTest, TextWithoutANumberIsZeroAndStillAccepted)
{
    for (const char* text : { "", "      ", "abc", "-", ".", "+-1", "inf", "nan", "*****" }) {
        EXPECT_TRUE(Accepts('N', text)) << text;
        EXPECT_EQ(Number(text), 0) << text;
    }
    EXPECT_EQ(Number("0x10"), 0);
}

TEST_F(FieldValueTest, NumbersBeyondADoubleSaturate)
{
    EXPECT_EQ(Number("1e400"), HUGE_VAL);
    EXPECT_EQ(Number("-1e400"), -HUGE_VAL);
    EXPECT_EQ(Number(std::string(400, '9')), HUGE_VAL);
    EXPECT_EQ(Number("1e-400"), 0);
    EXPECT_EQ(Number("0." + std::string(400, '0') + "1"), 0);
}

TEST_F(FieldValueTest, FloatFieldsGiveNumbersOtherTypesNoValue)
{
    const FieldValue f = Make('F', " 1.500");
    EXPECT_EQ(f.type, 'N');
    EXPECT_EQ(f.number, 1.5);

    for (char type : { 'B', 'O', 'X', 'c' }) {
        FieldValue value;
        EXPECT_FALSE(value.Assign(type, "1", DateFormat::kYyyyMmDd)) << type;
        EXPECT_EQ(value.type, 0) << type;
    }
    EXPECT_TRUE(Accepts(0, "anything"));
}

TEST_F(FieldValueTest, AssignForgetsThePreviousValue)
{
    FieldValue value = Make('C', "left over");
    ASSERT_TRUE(value.Assign('N', "3", DateFormat::kYyyyMmDd));
    EXPECT_EQ(value.text, "");
    ASSERT_TRUE(value.Assign('L', "T", DateFormat::kYyyyMmDd));
    EXPECT_EQ(value.number, 0);
    ASSERT_TRUE(value.Assign('C', "x", DateFormat::kYyyyMmDd));
    EXPECT_FALSE(value.logical);
    EXPECT_EQ(value.date, "19700101");
}

TEST_F(FieldValueTest, TextCutsCharactersOnlyForAWidth)
{
    const FieldValue value = Make('C', "ABCDEF ");
    EXPECT_EQ(value.Text(-1, 0, DateFormat::kYyyyMmDd), "ABCDEF ");
    EXPECT_EQ(value.Text(3, 0, DateFormat::kYyyyMmDd), "ABC");
    EXPECT_EQ(value.Text(0, 0, DateFormat::kYyyyMmDd), "");
    EXPECT_EQ(value.Text(20, 0, DateFormat::kYyyyMmDd), "ABCDEF ");
}

TEST_F(FieldValueTest, TextOfDatesAndLogicals)
{
    const FieldValue date = Make('D', "20010231");
    EXPECT_EQ(date.Text(-1, 0, DateFormat::kDdMmYyyy), "31.02.2001");
    EXPECT_EQ(date.Text(-1, 0, DateFormat::kMmDdYy), "02/31/01");
    EXPECT_EQ(Make('D', "").Text(-1, 0, DateFormat::kDdMmYyyy), "");
    FieldValue damaged = date;
    damaged.date = "2001023";
    EXPECT_EQ(damaged.Text(-1, 0, DateFormat::kDdMmYyyy), "");

    EXPECT_EQ(Make('L', "y").Text(-1, 0, DateFormat::kYyyyMmDd), ".T.");
    EXPECT_EQ(Make('L', "?").Text(-1, 0, DateFormat::kYyyyMmDd), ".F.");
}

TEST_F(FieldValueTest, NumberTextWithoutWidthHasExactlyTheDecimals)
{
    const auto text = [](double number, int decimals) {
        FieldValue value;
        value.type = 'N';
        value.number = number;
        return value.Text(-1, decimals, DateFormat::kYyyyMmDd);
    };
    EXPECT_EQ(text(12.5, 2), "12.50");
    EXPECT_EQ(text(0, 2), "0.00");
    EXPECT_EQ(text(-3, 0), "-3");
    EXPECT_EQ(text(999.9999, 0), "1000");
    EXPECT_EQ(text(1e20, 0), "100000000000000000000");
    EXPECT_EQ(text(3.14159, -1), "3");
    // Rounding follows the binary value: 2.675 is stored just below it.
    EXPECT_EQ(text(2.675, 2), "2.67");
    EXPECT_EQ(text(0.5, 0), "0");
    EXPECT_EQ(text(1.5, 0), "2");
    // Small fractions take no padding of any kind.
    EXPECT_EQ(text(0.001, 0), "0");
    EXPECT_EQ(text(1e-9, 2), "0.00");
    EXPECT_EQ(text(HUGE_VAL, 2), "inf");
}

TEST_F(FieldValueTest, NumberTextRightAlignsInAGivenWidthWithoutCutting)
{
    FieldValue value = Make('N', "12.5");
    EXPECT_EQ(value.Text(8, 2, DateFormat::kYyyyMmDd), "   12.50");
    EXPECT_EQ(value.Text(5, 2, DateFormat::kYyyyMmDd), "12.50");
    EXPECT_EQ(value.Text(3, 2, DateFormat::kYyyyMmDd), "12.50");
    EXPECT_EQ(value.Text(0, 1, DateFormat::kYyyyMmDd), "12.5");
    value.number = -7;
    EXPECT_EQ(value.Text(4, 0, DateFormat::kYyyyMmDd), "  -7");
    value.number = 1.0 / 3;
    EXPECT_EQ(value.Text(30, 20, DateFormat::kYyyyMmDd), "        0.33333333333333331483");
}

TEST_F(FieldValueTest, DisplayTextOfGridCells)
{
    EXPECT_EQ(Make('L', "T").DisplayText(0, DateFormat::kDdMmYyyy), "true");
    EXPECT_EQ(Make('L', "?").DisplayText(0, DateFormat::kDdMmYyyy), "false");
    EXPECT_EQ(Make('M', "         7").DisplayText(0, DateFormat::kDdMmYyyy), "<Memo>");
    EXPECT_EQ(Make('M', "          ").DisplayText(0, DateFormat::kDdMmYyyy), "");
    EXPECT_EQ(Make('M', "").DisplayText(0, DateFormat::kDdMmYyyy), "");
    EXPECT_EQ(Make('N', "  3").DisplayText(2, DateFormat::kDdMmYyyy), "3.00");
    EXPECT_EQ(Make('D', "20010203").DisplayText(0, DateFormat::kDdMmYy), "03.02.01");
    EXPECT_EQ(Make('C', "AB  ").DisplayText(0, DateFormat::kDdMmYyyy), "AB  ");
    EXPECT_EQ(Make('D', "        ").DisplayText(0, DateFormat::kDdMmYyyy), "");
    EXPECT_EQ(Make('B', "         7").DisplayText(0, DateFormat::kDdMmYyyy), "");
}

TEST_F(FieldValueTest, CharactersCompareAsUnsignedBytesWithPrefixesFirst)
{
    EXPECT_EQ(Relations(Make('C', "AB"), Make('C', "AB ")), "-<-L-");
    EXPECT_EQ(Relations(Make('C', "AB "), Make('C', "AB ")), "=--LG");
    EXPECT_EQ(Relations(Make('C', "B"), Make('C', "AZ")), "-->-G");
    // Cyrillic bytes of 1251 are above 0x7F: they sort after every ASCII letter.
    EXPECT_EQ(Relations(Make('C', "\xC0"), Make('C', "z")), "-->-G");
    EXPECT_EQ(Relations(Make('M', "   1"), Make('M', "   2")), "-<-L-");
    EXPECT_EQ(Relations(Make('C', ""), Make('C', "")), "=--LG");
}

TEST_F(FieldValueTest, DatesLogicalsAndNumbersCompareByTheirType)
{
    EXPECT_EQ(Relations(Make('D', "20010201"), Make('D', "20010301")), "-<-L-");
    EXPECT_EQ(Relations(Make('D', ""), Make('D', "19000101")), "-<-L-");
    EXPECT_EQ(
        Relations(Make('D', "01.02.01", DateFormat::kDdMmYy), Make('D', "20010201")), "=--LG");
    EXPECT_EQ(Relations(Make('L', "F"), Make('L', "T")), "-<-L-");
    EXPECT_EQ(Relations(Make('L', "?"), Make('L', "n")), "=--LG");
    // Numerically 2 < 10, although the text "10" sorts before "2".
    EXPECT_EQ(Relations(Make('N', "2"), Make('N', "10")), "-<-L-");
    EXPECT_EQ(Relations(Make('N', " 2.50"), Make('N', "2.5")), "=--LG");
    EXPECT_EQ(Relations(Make('N', "-0"), Make('N', "0")), "=--LG");
}

TEST_F(FieldValueTest, ValuesOfDifferentTypesOrOfNoTypeAreNeverRelated)
{
    EXPECT_EQ(Relations(Make('N', "1"), Make('C', "1")), "-----");
    EXPECT_EQ(Relations(Make('C', "1"), Make('M', "1")), "-----");
    EXPECT_EQ(Relations(Make('D', "20010101"), Make('C', "20010101")), "-----");
    EXPECT_EQ(Relations(FieldValue {}, FieldValue {}), "-----");
    FieldValue nan;
    nan.type = 'N';
    nan.number = std::nan("");
    EXPECT_EQ(Relations(nan, nan), "-----");
}

} // namespace
