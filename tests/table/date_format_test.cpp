#include "table/date_format.h"

#include <gtest/gtest.h>

namespace {

using table::CalendarDate;
using table::DateFormat;

class DateFormatTest : public ::testing::Test
{
protected:
    // The parsed date, or {0, 0, 0} when the text does not parse.
    static CalendarDate Parse(std::string_view text, DateFormat form)
    {
        CalendarDate date;
        return table::ParseDate(text, form, &date) ? date : CalendarDate {};
    }
};

TEST_F(DateFormatTest, ParseTakesEachPartAtItsFormsPosition)
{
    const CalendarDate expected { 2001, 2, 3 };
    EXPECT_EQ(Parse("20010203", DateFormat::kYyyyMmDd), expected);
    EXPECT_EQ(Parse("02/03/01", DateFormat::kMmDdYy), expected);
    EXPECT_EQ(Parse("02/03/2001", DateFormat::kMmDdYyyy), expected);
    EXPECT_EQ(Parse("03.02.01", DateFormat::kDdMmYy), expected);
    EXPECT_EQ(Parse("03.02.2001", DateFormat::kDdMmYyyy), expected);
}

TEST_F(DateFormatTest, ParseLooksNeitherAtSeparatorsNorAtTheMonthsLength)
{
    EXPECT_EQ(Parse("31.02.2001", DateFormat::kDdMmYyyy), (CalendarDate { 2001, 2, 31 }));
    EXPECT_EQ(Parse("31x02x2001", DateFormat::kDdMmYyyy), (CalendarDate { 2001, 2, 31 }));
    EXPECT_EQ(Parse("01.13.2001", DateFormat::kDdMmYyyy), CalendarDate {});
    EXPECT_EQ(Parse("32.01.2001", DateFormat::kDdMmYyyy), CalendarDate {});
    EXPECT_EQ(Parse("00.01.2001", DateFormat::kDdMmYyyy), CalendarDate {});
}

TEST_F(DateFormatTest, TwoDigitYearsWidenAroundSeventy)
{
    EXPECT_EQ(Parse("01.02.69", DateFormat::kDdMmYy), (CalendarDate { 2069, 2, 1 }));
    EXPECT_EQ(Parse("01.02.70", DateFormat::kDdMmYy), (CalendarDate { 1970, 2, 1 }));
    EXPECT_EQ(Parse("01.02.00", DateFormat::kDdMmYy), (CalendarDate { 2000, 2, 1 }));
    // A long form with a short year is widened too.
    EXPECT_EQ(Parse("01.02.0099", DateFormat::kDdMmYyyy), (CalendarDate { 1999, 2, 1 }));
}

TEST_F(DateFormatTest, YearsFrom100To1000AreRefused)
{
    EXPECT_EQ(Parse("09990101", DateFormat::kYyyyMmDd), CalendarDate {});
    EXPECT_EQ(Parse("10000101", DateFormat::kYyyyMmDd), CalendarDate {});
    EXPECT_EQ(Parse("01000101", DateFormat::kYyyyMmDd), CalendarDate {});
    EXPECT_EQ(Parse("10010101", DateFormat::kYyyyMmDd), (CalendarDate { 1001, 1, 1 }));
    EXPECT_EQ(Parse("00990101", DateFormat::kYyyyMmDd), (CalendarDate { 1999, 1, 1 }));
}

TEST_F(DateFormatTest, PartsSkipLeadingBlanksAndStopAtANonDigit)
{
    EXPECT_EQ(Parse("2001 1 2", DateFormat::kYyyyMmDd), (CalendarDate { 2001, 1, 2 }));
    EXPECT_EQ(Parse(" 1. 2.2001", DateFormat::kDdMmYyyy), (CalendarDate { 2001, 2, 1 }));
    EXPECT_EQ(Parse("01.02.20x1", DateFormat::kDdMmYyyy), (CalendarDate { 2020, 2, 1 }));
    // "1." is day 1, ".2" is month 0.
    EXPECT_EQ(Parse("1.2.2001", DateFormat::kDdMmYyyy), CalendarDate {});
    EXPECT_EQ(Parse("        ", DateFormat::kYyyyMmDd), CalendarDate {});
    EXPECT_EQ(Parse("-1.02.2001", DateFormat::kDdMmYyyy), CalendarDate {});
}

TEST_F(DateFormatTest, TextsShorterThanEightCharactersAreRefused)
{
    EXPECT_EQ(Parse("1.2.01", DateFormat::kDdMmYy), CalendarDate {});
    EXPECT_EQ(Parse("2001010", DateFormat::kYyyyMmDd), CalendarDate {});
    EXPECT_EQ(Parse("", DateFormat::kDdMmYyyy), CalendarDate {});
    // Eight characters are enough even for a four-digit-year form: the year part is cut.
    EXPECT_EQ(Parse("02/01/20", DateFormat::kMmDdYyyy), (CalendarDate { 2020, 2, 1 }));
}

TEST_F(DateFormatTest, AFormOutsideTheFiveParsesNothing)
{
    EXPECT_EQ(Parse("20010203", static_cast<DateFormat>(5)), CalendarDate {});
    EXPECT_EQ(table::DateFormatFromNumber(5), std::nullopt);
    EXPECT_EQ(table::DateFormatFromNumber(-1), std::nullopt);
    EXPECT_EQ(table::DateFormatFromNumber(3), DateFormat::kDdMmYy);
    EXPECT_EQ(static_cast<int>(table::kDefaultDateFormat), 4);
}

TEST_F(DateFormatTest, FormatPrintsEachFormWithZeroPadding)
{
    const CalendarDate date { 2069, 2, 1 };
    EXPECT_EQ(table::FormatDate(date, DateFormat::kYyyyMmDd), "20690201");
    EXPECT_EQ(table::FormatDate(date, DateFormat::kMmDdYy), "02/01/69");
    EXPECT_EQ(table::FormatDate(date, DateFormat::kMmDdYyyy), "02/01/2069");
    EXPECT_EQ(table::FormatDate(date, DateFormat::kDdMmYy), "01.02.69");
    EXPECT_EQ(table::FormatDate(date, DateFormat::kDdMmYyyy), "01.02.2069");
    EXPECT_EQ(table::FormatDate({ 2000, 12, 31 }, DateFormat::kDdMmYy), "31.12.00");
    EXPECT_EQ(table::StoredDateText({ 1001, 1, 9 }), "10010109");
}

TEST_F(DateFormatTest, StoredAndDisplayFormsConvertBothWays)
{
    EXPECT_EQ(table::StoredDateToDisplay("20010231", DateFormat::kDdMmYyyy), "31.02.2001");
    EXPECT_EQ(table::StoredDateToDisplay("19991231", DateFormat::kMmDdYy), "12/31/99");
    EXPECT_EQ(table::StoredDateToDisplay("        ", DateFormat::kDdMmYyyy), "");
    EXPECT_EQ(table::StoredDateToDisplay("", DateFormat::kDdMmYyyy), "");
    EXPECT_EQ(table::DisplayDateToStored("31.12.99", DateFormat::kDdMmYy), "19991231");
    EXPECT_EQ(table::DisplayDateToStored("12/31/1999", DateFormat::kMmDdYyyy), "19991231");
    EXPECT_EQ(table::DisplayDateToStored("31.13.1999", DateFormat::kDdMmYyyy), "");
}

TEST_F(DateFormatTest, EditedDateIsTrimmedInPlaceAndNeedsTheFormsSeparators)
{
    std::string text = " \t01.02.2001  ";
    EXPECT_TRUE(table::ValidateEditedDate(text, DateFormat::kDdMmYyyy));
    EXPECT_EQ(text, "01.02.2001");

    text = "  01/02/2001 ";
    EXPECT_FALSE(table::ValidateEditedDate(text, DateFormat::kDdMmYyyy));
    EXPECT_EQ(text, "01/02/2001"); // trimmed even when refused
    EXPECT_TRUE(table::ValidateEditedDate(text, DateFormat::kMmDdYyyy));

    text = "02.01.01";
    EXPECT_FALSE(table::ValidateEditedDate(text, DateFormat::kMmDdYy));
    EXPECT_TRUE(table::ValidateEditedDate(text, DateFormat::kDdMmYy));

    // Form 0 has no separators; the parse alone decides.
    text = "20010201";
    EXPECT_TRUE(table::ValidateEditedDate(text, DateFormat::kYyyyMmDd));
}

TEST_F(DateFormatTest, EditedDateRefusesShortAndInvalidTexts)
{
    for (const char* bad : { "", "   ", "1.2", "01.02.", "01.02.1", "31.13.2001", "01.02.0500" }) {
        std::string text = bad;
        EXPECT_FALSE(table::ValidateEditedDate(text, DateFormat::kDdMmYyyy)) << bad;
    }
}

} // namespace
