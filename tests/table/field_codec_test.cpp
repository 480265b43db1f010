#include "table/field_codec.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

using table::DateFormat;
using table::FieldDef;

FieldDef Field(char type, std::uint8_t length, std::uint8_t decimals = 0)
{
    FieldDef field;
    field.name = "F";
    field.type = type;
    field.length = length;
    field.decimals = decimals;
    return field;
}

class FieldCodecTest : public ::testing::Test
{
protected:
    // Writes into a field whose bytes are all '#' beforehand, so untouched bytes show.
    bool Write(const FieldDef& field, std::string_view text)
    {
        m_bytes.assign(field.StorageWidth(), '#');
        return table::WriteFieldText(field, text, m_bytes.data());
    }
    std::string Stored() const { return std::string(m_bytes.begin(), m_bytes.end()); }
    std::string Untouched() const { return std::string(m_bytes.size(), '#'); }

    // The value of `stored` read as `field` (the bytes are padded or cut to its width).
    static table::FieldValue Read(const FieldDef& field, std::string stored)
    {
        stored.resize(field.StorageWidth(), ' ');
        return table::ReadFieldValue(field, reinterpret_cast<const std::uint8_t*>(stored.data()));
    }

    // Writes and reads back, failing the test when the write is refused.
    table::FieldValue RoundTrip(const FieldDef& field, std::string_view text)
    {
        EXPECT_TRUE(Write(field, text)) << text;
        return table::ReadFieldValue(field, m_bytes.data());
    }

    std::vector<std::uint8_t> m_bytes;
};

TEST_F(FieldCodecTest, NumbersAreRightAlignedAroundTheFieldsPoint)
{
    ASSERT_TRUE(Write(Field('N', 8, 2), "3.14159"));
    EXPECT_EQ(Stored(), "    3.14"); // surplus digits dropped, not rounded
    ASSERT_TRUE(Write(Field('N', 6, 2), "7"));
    EXPECT_EQ(Stored(), "  7.00");
    ASSERT_TRUE(Write(Field('N', 8, 2), "-3.5"));
    EXPECT_EQ(Stored(), "   -3.50");
    ASSERT_TRUE(Write(Field('N', 6, 2), "123"));
    EXPECT_EQ(Stored(), "123.00");
    ASSERT_TRUE(Write(Field('N', 6, 2), "  7"));
    EXPECT_EQ(Stored(), "  7.00");
    ASSERT_TRUE(Write(Field('F', 10, 3), "1.5"));
    EXPECT_EQ(Stored(), "     1.500");
    // Nothing before the point: the field keeps a bare point and zero fraction.
    ASSERT_TRUE(Write(Field('N', 6, 2), ""));
    EXPECT_EQ(Stored(), "   .00");
    ASSERT_TRUE(Write(Field('N', 3, 2), ".5"));
    EXPECT_EQ(Stored(), ".50");
}

TEST_F(FieldCodecTest, NumbersWithoutDecimalsDropTheFraction)
{
    ASSERT_TRUE(Write(Field('N', 5), "12"));
    EXPECT_EQ(Stored(), "   12");
    ASSERT_TRUE(Write(Field('N', 4), "3.99"));
    EXPECT_EQ(Stored(), "   3");
    ASSERT_TRUE(Write(Field('N', 5), "12345"));
    EXPECT_EQ(Stored(), "12345");
    ASSERT_TRUE(Write(Field('N', 3), ""));
    EXPECT_EQ(Stored(), "   ");
}

TEST_F(FieldCodecTest, RefusedNumbersLeaveTheFieldUntouched)
{
    const struct
    {
        FieldDef field;
        const char* text;
    } refused[] = {
        { Field('N', 6, 2), "1234567" }, // longer than the field
        { Field('N', 6), "1234567" },
        { Field('N', 6, 2), "12a" }, // not a numeric character
        { Field('N', 6, 2), "1,5" },
        { Field('F', 6, 2), "1e3" },
        { Field('N', 6, 2), "1234" }, // fits the field, not before its point
        { Field('N', 6, 2), "123456" },
        { Field('N', 3, 2), "5" }, // no room at all before the point
        { Field('N', 2, 2), "" }, // no room for the point itself
        { Field('N', 2, 5), "" },
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(Write(c.field, c.text)) << c.text;
        EXPECT_EQ(Stored(), Untouched()) << c.text;
    }
}

TEST_F(FieldCodecTest, CharactersArePaddedOrCut)
{
    ASSERT_TRUE(Write(Field('C', 5), "ABCDEFG"));
    EXPECT_EQ(Stored(), "ABCDE");
    ASSERT_TRUE(Write(Field('C', 5), "AB"));
    EXPECT_EQ(Stored(), "AB   ");
    ASSERT_TRUE(Write(Field('C', 5), ""));
    EXPECT_EQ(Stored(), "     ");
    // A character field's width takes the decimal byte as its high byte.
    const std::string text(310, 'x');
    ASSERT_TRUE(Write(Field('C', 0x2C, 1), text));
    EXPECT_EQ(Stored(), text.substr(0, 300));
}

TEST_F(FieldCodecTest, DatesMustNameADateAndAreStoredCanonically)
{
    ASSERT_TRUE(Write(Field('D', 8), "20010231"));
    EXPECT_EQ(Stored(), "20010231");
    ASSERT_TRUE(Write(Field('D', 8), "2001 1 2"));
    EXPECT_EQ(Stored(), "20010102");
    ASSERT_TRUE(Write(Field('D', 8), "00690201"));
    EXPECT_EQ(Stored(), "20690201");
    // A blank text clears the date.
    ASSERT_TRUE(Write(Field('D', 8), ""));
    EXPECT_EQ(Stored(), "        ");
    ASSERT_TRUE(Write(Field('D', 8), "  "));
    EXPECT_EQ(Stored(), "        ");

    for (const char* bad : { "20011301", "2001-1-1", "05000101", "2001010", "abcdefgh" }) {
        EXPECT_FALSE(Write(Field('D', 8), bad)) << bad;
        EXPECT_EQ(Stored(), Untouched()) << bad;
    }
}

TEST_F(FieldCodecTest, LogicalsNeedAKnownFirstCharacter)
{
    for (const char* good : { "?", "F", "N", "T", "Y", "f", "n", "t", "y" }) {
        ASSERT_TRUE(Write(Field('L', 1), good)) << good;
        EXPECT_EQ(Stored(), good);
    }
    ASSERT_TRUE(Write(Field('L', 1), "True"));
    EXPECT_EQ(Stored(), "T");
    for (const char* bad : { "", " T", "X", "1", ".T." }) {
        EXPECT_FALSE(Write(Field('L', 1), bad)) << bad;
        EXPECT_EQ(Stored(), Untouched()) << bad;
    }
}

TEST_F(FieldCodecTest, MemoAndUnknownFieldsAreNeverWritten)
{
    for (char type : { 'M', 'B', 'O', 'I', 'c' }) {
        EXPECT_FALSE(Write(Field(type, 10), "1")) << type;
        EXPECT_EQ(Stored(), Untouched()) << type;
    }
}

TEST_F(FieldCodecTest, ReadingTakesTheBytesExactlyAsStored)
{
    EXPECT_EQ(Read(Field('C', 5), "AB").text, "AB   ");
    EXPECT_EQ(Read(Field('N', 8, 2), "   12.50").number, 12.5);
    EXPECT_EQ(Read(Field('N', 8, 2), "").type, 'N');
    EXPECT_EQ(Read(Field('N', 8, 2), "").number, 0);
    EXPECT_EQ(Read(Field('F', 7, 3), "  1.500").number, 1.5);
    EXPECT_EQ(Read(Field('F', 7, 3), "  1.500").type, 'N');
    EXPECT_EQ(Read(Field('D', 8), "20010231").date, "20010231");
    EXPECT_EQ(Read(Field('L', 1), "t").logical, true);
    EXPECT_EQ(Read(Field('B', 10), "         7").type, 0);
}

TEST_F(FieldCodecTest, BlankDatesAndUnknownLogicalsReadAsTheirFallbacks)
{
    const table::FieldValue date = Read(Field('D', 8), "        ");
    EXPECT_EQ(date.type, 0);
    EXPECT_EQ(date.DisplayText(0, DateFormat::kDdMmYyyy), "");

    const table::FieldValue logical = Read(Field('L', 1), "?");
    EXPECT_EQ(logical.type, 'L');
    EXPECT_EQ(logical.DisplayText(0, DateFormat::kDdMmYyyy), "false");
    EXPECT_EQ(logical.Text(-1, 0, DateFormat::kDdMmYyyy), ".F.");

    const table::FieldValue memo = Read(Field('M', 10), "        12");
    EXPECT_EQ(memo.DisplayText(0, DateFormat::kDdMmYyyy), "<Memo>");
    EXPECT_EQ(Read(Field('M', 10), "").DisplayText(0, DateFormat::kDdMmYyyy), "");
}

TEST_F(FieldCodecTest, WrittenTextsReadBackAsTheirValues)
{
    EXPECT_EQ(RoundTrip(Field('C', 6), "Hello").text, "Hello ");
    EXPECT_EQ(RoundTrip(Field('N', 8, 2), "3.14159").number, 3.14);
    EXPECT_EQ(RoundTrip(Field('N', 5), "-42").number, -42);
    EXPECT_EQ(RoundTrip(Field('F', 12, 4), "-0.5").number, -0.5);
    EXPECT_EQ(
        RoundTrip(Field('D', 8), "19991231").Text(-1, 0, DateFormat::kDdMmYyyy), "31.12.1999");
    EXPECT_TRUE(RoundTrip(Field('L', 1), "y").logical);
    EXPECT_FALSE(RoundTrip(Field('L', 1), "N").logical);
    EXPECT_EQ(RoundTrip(Field('D', 8), "").type, 0);
}

TEST_F(FieldCodecTest, ANumbersOwnTextFitsItsFieldAndReadsBackEqual)
{
    const FieldDef field = Field('N', 10, 3);
    for (double number : { 0.0, 1.5, -12.125, 123456.0, -99999.999 }) {
        table::FieldValue value;
        value.type = 'N';
        value.number = number;
        const std::string text = value.Text(field.length, field.decimals, DateFormat::kYyyyMmDd);
        ASSERT_TRUE(Write(field, text)) << text;
        EXPECT_EQ(Stored(), text);
        EXPECT_TRUE(table::ReadFieldValue(field, m_bytes.data()) == value) << text;
    }
}

} // namespace
