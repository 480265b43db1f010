#include "tablegrid/operations/cell_match.h"

#include "platform/code_page.h"
#include "tablegrid/operations/replace_check.h"

#include <gtest/gtest.h>

namespace tablegrid {
namespace {

using table::CodePageId;

// "Иванов" in code page 1251 and its upper case "ИВАНОВ".
const std::string kIvanov = "\xC8\xE2\xE0\xED\xEE\xE2";
const std::string kIvanovUpper = "\xC8\xC2\xC0\xCD\xCE\xC2";

std::vector<std::uint8_t> Stored(std::string ansi, std::size_t width, CodePageId codePage)
{
    if (table::IsOemCodePage(codePage))
        platform::AnsiToOem(ansi);
    ansi.resize(width, ' ');
    return { ansi.begin(), ansi.end() };
}

TEST(CellMatcherTest, ShownTextsByCaseAndWholeWord)
{
    EXPECT_TRUE(CellMatcher("van", false, false).Matches("Ivanov"));
    EXPECT_TRUE(CellMatcher("VAN", false, false).Matches("Ivanov"));
    EXPECT_FALSE(CellMatcher("VAN", true, false).Matches("Ivanov"));
    EXPECT_TRUE(CellMatcher(kIvanovUpper, false, false).Matches(kIvanov));
    EXPECT_FALSE(CellMatcher(kIvanovUpper, true, false).Matches(kIvanov));
    // Whole word: the cell without the blanks around it.
    EXPECT_TRUE(CellMatcher("abc", false, true).Matches(" abc "));
    EXPECT_FALSE(CellMatcher("ab", false, true).Matches(" abc "));
    EXPECT_TRUE(CellMatcher("Memo", false, false).Matches("<Memo>"));
    EXPECT_FALSE(CellMatcher("Memo", false, false).Matches(""));
}

// A character field tested on its stored bytes answers as its shown text would, in both
// code pages and both letter cases; long cells have the text looked for at every kind of
// place (the stored bytes are passed over eight at a time).
TEST(CellMatcherTest, StoredBytesAnswerAsTheShownText)
{
    const std::vector<std::string> cells = { kIvanov, "Ivan Petrov", " abc", "", "a",
        "Sidorov Oleg Petrovich, Moskva " + kIvanov, std::string(35, '-') + "VAN",
        std::string(37, '-') + kIvanovUpper.substr(0, 3),
        "x" + kIvanovUpper + "y" + kIvanov + "z" + kIvanovUpper };
    const std::vector<std::string> finds = { "van", kIvanovUpper, "\xE2\xE0\xED", "abc", "c ",
        "Petrov  ", "", "a" };
    for (CodePageId codePage : { CodePageId::k866, CodePageId::k1251, CodePageId::kNone }) {
        for (const std::string& cell : cells) {
            const auto stored = Stored(cell, 48, codePage);
            for (const std::string& find : finds) {
                for (int flags = 0; flags < 4; ++flags) {
                    const CellMatcher matcher(find, flags & 1, flags & 2);
                    std::string shown = cell;
                    EXPECT_EQ(matcher.MatchesStored(stored.data(), stored.size(), codePage),
                        matcher.Matches(shown))
                        << "cell '" << cell << "' find '" << find << "' flags " << flags
                        << " code page " << static_cast<int>(codePage);
                }
            }
        }
    }
}

TEST(CellMatcherTest, KindsOfCellsRuledOutByTheirCharacters)
{
    const std::string number = "0123456789.-";
    EXPECT_TRUE(CellMatcher("12.5", false, false).CanMatchTextOf(number));
    EXPECT_FALSE(CellMatcher("12a", false, false).CanMatchTextOf(number));
    EXPECT_FALSE(CellMatcher("1 2", false, true).CanMatchTextOf(number));
    EXPECT_TRUE(CellMatcher("", false, false).CanMatchTextOf(number));
}

TEST(ReplaceCheckTest, TheFirstOccurrenceIsReplaced)
{
    EXPECT_EQ(ReplaceFirst("abcabc", "BC", "x", false), std::optional<std::string>("axabc"));
    EXPECT_EQ(ReplaceFirst("abcabc", "BC", "x", true), std::nullopt);
    EXPECT_EQ(ReplaceFirst(kIvanov, kIvanovUpper.substr(0, 2), "Z", false),
        std::optional<std::string>("Z" + kIvanov.substr(2)));
    EXPECT_EQ(ReplaceFirst("abc", "", "x", false), std::nullopt);
}

TEST(ReplaceCheckTest, ReplacementsMustSuitTheColumn)
{
    const table::FieldDef date { "DT", 'D', 8, 0 };
    const auto form = table::DateFormat::kDdMmYyyy;
    EXPECT_TRUE(IsValidReplacement(date, form, "2001", "2002", "03.02.2002"));
    EXPECT_TRUE(IsValidReplacement(date, form, "03.02.2001", "", ""));
    EXPECT_FALSE(IsValidReplacement(date, form, "03", "3", "3.02.2001"));
    EXPECT_FALSE(IsValidReplacement(date, form, "02", "13", "03.13.2001"));

    const table::FieldDef logical { "OK", 'L', 1, 0 };
    EXPECT_TRUE(IsValidReplacement(logical, form, "true", "false", "false"));
    EXPECT_FALSE(IsValidReplacement(logical, form, "t", "f", "frue"));
    EXPECT_FALSE(IsValidReplacement(logical, form, "true", "yes", "yes"));

    const table::FieldDef integer { "N", 'N', 5, 0 };
    const table::FieldDef money { "SUM", 'N', 8, 2 };
    EXPECT_TRUE(IsValidReplacement(integer, form, "1", "2", " 123 "));
    EXPECT_TRUE(IsValidReplacement(integer, form, "1", "", ""));
    EXPECT_FALSE(IsValidReplacement(integer, form, "1", ".5", "12.5"));
    EXPECT_FALSE(IsValidReplacement(integer, form, "1", "9", "999999")); // does not fit
    EXPECT_TRUE(IsValidReplacement(money, form, "1", "2", "-12.50"));
    EXPECT_FALSE(IsValidReplacement(money, form, "1", "x", "x2.50"));

    const table::FieldDef name { "NAME", 'C', 4, 0 };
    EXPECT_TRUE(IsValidReplacement(name, form, "a", "b", "abcd"));
    EXPECT_FALSE(IsValidReplacement(name, form, "a", "bb", "abcde"));
}

} // namespace
} // namespace tablegrid
