#include "table/expression_functions.h"
#include "table/expression_text.h"
#include "tests/table/expression_test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using expression_testing::Eval;
using expression_testing::Logical;
using expression_testing::Number;
using expression_testing::ParseError;
using expression_testing::TestRecord;
using expression_testing::Text;
using table::ExprErrorCode;

class ExpressionFunctionsTest : public ::testing::Test
{
protected:
    ExpressionFunctionsTest()
    {
        r.Add("NAME", 'C', 10).Add("SUM", 'N', 8, 2).Add("FLAG", 'L', 1).Add("DT", 'D', 8);
        r.Put("NAME", "  Ivan").Put("SUM", "   -2.50").Put("FLAG", "T").Put("DT", "20010202");
    }

    TestRecord r;
};

TEST_F(ExpressionFunctionsTest, NamesMatchByTheirLeadingLetters)
{
    EXPECT_EQ(Text("UPP(NAME)", r), "  IVAN    ");
    EXPECT_EQ(Text("upper(NAME)", r), "  IVAN    ");
    EXPECT_EQ(Text("SUBS('abcdef',2,3)", r), "bcd");
    EXPECT_EQ(Text("REPL('ab',2)", r), "abab");
    EXPECT_EQ(Number("Y(DT)", r), 2001); // Y starts only YEAR
    // An exact name wins over longer names it begins.
    EXPECT_EQ(Text("STR('x')", r), "x         ");
    EXPECT_EQ(Number("AT('b','abc')", r), 2);

    // The start of several names is the first of them in the function table, where the
    // functions the program's own expressions use come first.
    const auto idOf = [](const char* name) {
        const table::FunctionInfo* f = table::FindFunction(name);
        return f ? std::optional(f->id) : std::nullopt;
    };
    EXPECT_EQ(idOf("LE"), table::FunctionId::kLen); // not LEFT
    EXPECT_EQ(Number("L(NAME)", r), 6);
    EXPECT_EQ(Text("D(DT)", r), "20010202"); // DTOC before DATE, DAY and DOW
    EXPECT_EQ(Text("S('x')", r), "x         "); // STR before SPACE, SQRT and SUBSTR
    EXPECT_EQ(idOf("C"), table::FunctionId::kCdow);
    EXPECT_EQ(idOf("is"), table::FunctionId::kIsAlpha);

    // So taking the first match never hides a function behind one before it.
    for (const char* name : { "LEN", "AT", "UPPER", "LOWER", "DTOC", "STR", "TRIM", "RTRIM",
                              "LTRIM", "ABS", "ASC", "CDOW", "CHR", "CMONTH", "DATE", "DAY", "DOW",
                              "EXP", "IIF", "INT", "ISALPHA", "ISLOWER", "ISUPPER", "LEFT", "LOG",
                              "MAX", "MIN", "MONTH", "REPLICATE", "RIGHT", "SPACE", "SQRT",
                              "SUBSTR", "VAL", "YEAR" }) {
        const table::FunctionInfo* f = table::FindFunction(name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(f->name, name);
    }

    // A name longer than any function, or one that starts none, is no function.
    for (const char* text : { "UPPERX(NAME)", "Q(NAME)" })
        EXPECT_EQ(ParseError(text, r), ExprErrorCode::kUnknownFunction) << text;

    EXPECT_EQ(table::FindFunction("ltr")->id, table::FunctionId::kLtrim);
    EXPECT_EQ(table::FindFunction("IIF")->id, table::FunctionId::kIif);
    EXPECT_EQ(table::FindFunction(""), nullptr);
}

TEST_F(ExpressionFunctionsTest, LengthAndPosition)
{
    EXPECT_EQ(Number("LEN(NAME)", r), 6); // leading blanks count, trailing do not
    EXPECT_EQ(Number("LEN('')", r), 0);
    EXPECT_EQ(Number("LEN(SUM)", r), 8); // a numeric field gives its stored text
    EXPECT_EQ(Number("AT('an',NAME)", r), 5);
    EXPECT_EQ(Number("AT('x',NAME)", r), 0);
    EXPECT_EQ(Number("AT('',NAME)", r), 1);
    EXPECT_EQ(Number("AT('',  '')", r), 1);
    EXPECT_EQ(Number("AT('abc','ab')", r), 0);
}

// Blanks after the text are skipped eight at a time while there are eight: every count of
// them, after texts of every length with blanks inside, and NUL bytes, which are no blanks.
TEST(ExpressionTrimTest, TrailingBlanksOfEveryCount)
{
    TestRecord r;
    r.Add("NAME", 'C', 40);
    for (std::size_t length = 0; length <= 40; ++length) {
        std::string text(length, 'x');
        for (std::size_t i = 1; i + 1 < length; i += 3)
            text[i] = ' ';
        r.Put("NAME", text);
        EXPECT_EQ(Number("LEN(NAME)", r), static_cast<double>(length)) << length;
        EXPECT_EQ(Text("TRIM(NAME)", r), text) << length;
    }
    r.Put("NAME", std::string("ab\0", 3));
    EXPECT_EQ(Number("LEN(NAME)", r), 3);
}

// UPPER and LOWER convert eight bytes at once where they are all below 0x80; the result must
// be each byte's entry in the case tables, for texts of every length, with a byte from 0x80
// up at every place, and for every byte value, in 1251 and in 866.
TEST(ExpressionCaseTest, UpperAndLowerMapEveryByteAsTheTablesDo)
{
    const std::string ascii = "@AZ[`az{\x7F\x01 Ivanov ivan-Petrovich 09 ~}| Kazan";
    std::vector<std::string> texts;
    texts.push_back(ascii.substr(0, 40));
    for (std::size_t at = 0; at < 40; ++at) {
        std::string text = ascii.substr(0, 40);
        text[at] = static_cast<char>(at % 2 ? 0xE8 : 0x80); // a Cyrillic letter or a sign
        texts.push_back(text);
    }
    for (int first = 0; first < 256; first += 40) {
        std::string text;
        for (int b = first; b < first + 40; ++b)
            text += static_cast<char>(b % 256);
        texts.push_back(text);
    }
    TestRecord r;
    r.Add("NAME", 'C', 40);
    for (const bool oem : { false, true }) {
        const table::LetterTables& letters = table::Letters(oem);
        for (const std::string& text : texts) {
            r.Put("NAME", text);
            for (std::size_t n = 0; n <= 40; ++n) {
                std::string upper;
                std::string lower;
                for (std::size_t i = 0; i < n; ++i) {
                    upper += static_cast<char>(letters.upper[static_cast<unsigned char>(text[i])]);
                    lower += static_cast<char>(letters.lower[static_cast<unsigned char>(text[i])]);
                }
                const std::string count = std::to_string(n);
                ASSERT_EQ(Text("UPPER(LEFT(NAME," + count + "))", r, oem), upper) << n << ' ' << oem;
                ASSERT_EQ(Text("LOWER(LEFT(NAME," + count + "))", r, oem), lower) << n << ' ' << oem;
            }
        }
    }
}

// AT of a constant in UPPER(x) or LOWER(x) searches x through the case table without the
// converted copy: it must find what AT finds in the converted text, at every length of x,
// for needles found and not, empty ones, ones longer than x, in 1251 and in 866 text.
TEST(ExpressionCaseTest, AtInUpperOrLowerFindsWhatItFindsInTheConvertedText)
{
    // Letters of both cases (Latin, 1251 and 866 Cyrillic, YO), digits, signs and blanks.
    const std::string alphabet = "aAbBoOzZ09 .-\xC0\xE0\xC6\xE6\xA8\xB8\x80\xA0\x8E\xAE\xF0\xF1\xB3\xFF";
    std::uint32_t seed = 12345;
    auto next = [&seed](std::size_t bound) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::size_t>((seed >> 16) % bound);
    };
    TestRecord r;
    r.Add("NAME", 'C', 40);
    for (int round = 0; round < 300; ++round) {
        std::string text(40, ' ');
        for (char& c : text)
            c = alphabet[next(alphabet.size())];
        r.Put("NAME", text);
        for (const bool oem : { false, true }) {
            const table::LetterTables& letters = table::Letters(oem);
            for (const char* function : { "UPPER", "LOWER" }) {
                const bool upper = function[0] == 'U';
                const std::size_t length = next(41);
                std::string converted;
                for (std::size_t i = 0; i < length; ++i) {
                    const auto byte = static_cast<unsigned char>(text[i]);
                    converted += static_cast<char>(upper ? letters.upper[byte] : letters.lower[byte]);
                }
                // A piece of the converted text (found), a piece of the text as it is (found
                // only where case does not matter), or bytes of the alphabet (mostly not).
                std::string needle;
                const std::size_t size = next(6);
                const std::size_t from = length > size ? next(length - size + 1) : 0;
                switch (round % 3) {
                case 0:
                    needle = converted.substr(from, size);
                    break;
                case 1:
                    needle = text.substr(from, size);
                    break;
                default:
                    for (std::size_t i = 0; i < size; ++i)
                        needle += alphabet[next(alphabet.size())];
                    break;
                }
                if (needle.find('\'') != std::string::npos)
                    continue;
                std::size_t expected = 0;
                if (converted.size() >= needle.size()) {
                    const std::size_t found = std::string_view(converted).find(needle);
                    expected = found == std::string_view::npos ? 0 : found + 1;
                }
                const std::string expression = "AT('" + needle + "'," + function + "(LEFT(NAME,"
                    + std::to_string(length) + ")))";
                ASSERT_EQ(Number(expression, r, oem), static_cast<double>(expected))
                    << expression << " oem " << oem << " in " << text;
            }
        }
    }
    // A needle whose first byte no byte converts to (a small letter against UPPER) is never
    // found; a needle longer than the text neither; the empty needle is found at 1.
    r.Put("NAME", "abc");
    EXPECT_EQ(Number("AT('a',UPPER(NAME))", r), 0);
    EXPECT_EQ(Number("AT('ABC',UPPER(NAME))", r), 1);
    EXPECT_EQ(Number("AT('ABCD',UPPER(LEFT(NAME,3)))", r), 0);
    EXPECT_EQ(Number("AT('',UPPER(LEFT(NAME,0)))", r), 1);
}

// UPPER(x) or LOWER(x) compared with a constant reads x through the case table without the
// converted copy: every comparison must answer as it does on the converted text, byte order
// unsigned, a proper prefix less, in 1251 and in 866 text.
TEST(ExpressionCaseTest, ComparingUpperOrLowerAnswersAsOnTheConvertedText)
{
    const std::string alphabet = "aAbBzZ09 \xC0\xE0\xC6\xE6\xA8\xB8\x80\xA0\x8E\xAE\xF0\xFF";
    std::uint32_t seed = 99;
    auto next = [&seed](std::size_t bound) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::size_t>((seed >> 16) % bound);
    };
    const char* const operators[] = { "=", "#", "<", "<=", ">", ">=" };
    TestRecord r;
    r.Add("NAME", 'C', 12);
    for (int round = 0; round < 400; ++round) {
        std::string text(12, ' ');
        for (char& c : text)
            c = alphabet[next(alphabet.size())];
        r.Put("NAME", text);
        const std::size_t length = next(13);
        for (const bool oem : { false, true }) {
            const table::LetterTables& letters = table::Letters(oem);
            for (const char* function : { "UPPER", "LOWER" }) {
                std::string converted;
                for (std::size_t i = 0; i < length; ++i) {
                    const auto byte = static_cast<unsigned char>(text[i]);
                    converted += static_cast<char>(function[0] == 'U' ? letters.upper[byte] : letters.lower[byte]);
                }
                // The converted text itself, a prefix of it, it with more after, or it with
                // one byte changed.
                std::string constant = converted;
                switch (round % 4) {
                case 0:
                    break;
                case 1:
                    constant.resize(next(constant.size() + 1));
                    break;
                case 2:
                    constant += alphabet[next(alphabet.size())];
                    break;
                default:
                    if (!constant.empty())
                        constant[next(constant.size())] = alphabet[next(alphabet.size())];
                    break;
                }
                const int order = std::string_view(converted).compare(constant);
                const bool expected[] = { order == 0, order != 0, order < 0, order <= 0, order > 0,
                    order >= 0 };
                for (int op = 0; op < 6; ++op) {
                    const std::string expression = std::string(function) + "(LEFT(NAME,"
                        + std::to_string(length) + "))" + operators[op] + "\"" + constant + "\"";
                    if (constant.find('"') != std::string::npos)
                        continue;
                    ASSERT_EQ(Logical(expression, r, oem), expected[op])
                        << expression << " oem " << oem << " text " << text;
                }
            }
        }
    }
}

TEST_F(ExpressionFunctionsTest, TrimsAndDtoc)
{
    EXPECT_EQ(Text("TRIM(NAME)", r), "  Ivan");
    EXPECT_EQ(Text("RTRIM(NAME)", r), "  Ivan");
    EXPECT_EQ(Text("LTRIM(NAME)", r), "Ivan    ");
    EXPECT_EQ(Text("LTRIM(TRIM(NAME))", r), "Ivan");
    EXPECT_EQ(Text("TRIM('   ')", r), "");
    EXPECT_EQ(Text("DTOC(DT)", r), "20010202");
    EXPECT_EQ(Text("DTOC('abc')", r), "abc");
    r.Put("DT", "");
    EXPECT_EQ(Text("DTOC(DT)", r), "        ");
}

TEST_F(ExpressionFunctionsTest, StrOfStoredTextAndOfNumbers)
{
    EXPECT_EQ(Text("STR(SUM)", r), "   -2.50  ");
    EXPECT_EQ(Text("STR('12345678901')", r), "**********");
    // Only leading blanks are given up to fit, so wide numeric fields keep distinct keys.
    EXPECT_EQ(Text("STR('     1234.56')", r), "   1234.56");
    EXPECT_EQ(Text("STR('  x12345678901')", r), "**********");
    EXPECT_EQ(Text("STR(NAME)", r), "  Ivan    ");
    EXPECT_EQ(Text("STR(SUM*2)", r), "        -5");
    EXPECT_EQ(Text("STR(3.14159,8,2)", r), "    3.14");
    EXPECT_EQ(Text("STR(2.5,3)", r), "  2"); // to nearest even, as the double is exact
    EXPECT_EQ(Text("STR(-0.2,4)", r), "   0");
    EXPECT_EQ(Text("STR(123456,4)", r), "****");
    EXPECT_EQ(Text("STR(1,2,40)", r), "**");
    EXPECT_EQ(Text("STR('ab',4)", r), "ab  ");
    EXPECT_FALSE(Eval("STR(1,0)", r));
    EXPECT_FALSE(Eval("STR(1,1e9)", r));
    EXPECT_FALSE(Eval("STR(FLAG)", r));
}

TEST_F(ExpressionFunctionsTest, NumericFunctions)
{
    EXPECT_EQ(Number("ABS(SUM)", r), 2.5); // as a number where the function takes one
    EXPECT_EQ(Number("INT(-2.7)", r), -2);
    EXPECT_EQ(Number("EXP(0)", r), 1);
    EXPECT_EQ(Number("SQRT(16)", r), 4);
    EXPECT_EQ(Number("MAX(SUM,1)", r), 1);
    EXPECT_EQ(Number("MIN(SUM,1)", r), -2.5);
    EXPECT_EQ(Number("VAL('  -12.5xyz')", r), -12.5);
    EXPECT_EQ(Number("VAL('abc')", r), 0);
    EXPECT_EQ(Number("VAL(SUM)", r), -2.5);
    EXPECT_EQ(Number("ASC('A')", r), 65);
    EXPECT_EQ(Number("ASC('\xC0')", r), 192);
    EXPECT_EQ(Number("ASC('')", r), 0);
    for (const char* text : { "LOG(0)", "LOG(-1)", "SQRT(-1)", "EXP(1000)", "ABS('x')" })
        EXPECT_FALSE(Eval(text, r)) << text;
}

TEST_F(ExpressionFunctionsTest, CharacterBuilders)
{
    EXPECT_EQ(Text("CHR(65)", r), "A");
    EXPECT_EQ(Text("CHR(200)", r), "\xC8");
    EXPECT_FALSE(Eval("CHR(256)", r));
    EXPECT_FALSE(Eval("CHR(-1)", r));
    EXPECT_EQ(Text("REPLICATE('ab',3)", r), "ababab");
    EXPECT_EQ(Text("REPLICATE('ab',0)", r), "");
    EXPECT_EQ(Text("REPLICATE('ab',-4)", r), "");
    EXPECT_EQ(Text("REPLICATE('',1000)", r), "");
    EXPECT_EQ(Text("SPACE(2.9)", r), "  ");
    EXPECT_EQ(Text("SPACE(-1)", r), "");
    EXPECT_EQ(Text("MAX('abc','abd')", r), "abd");
    EXPECT_EQ(Text("MIN(NAME,'b')", r), "  Ivan    ");
    EXPECT_FALSE(Eval("MAX(FLAG,FLAG)", r));
    EXPECT_FALSE(Eval("MAX(1,'a')", r));
}

TEST_F(ExpressionFunctionsTest, LeftRightAndSubstrClampTheirCounts)
{
    EXPECT_EQ(Text("LEFT('abcdef',2)", r), "ab");
    EXPECT_EQ(Text("LEFT('abc',-1)", r), "");
    EXPECT_EQ(Text("RIGHT('abcdef',2)", r), "ef");
    EXPECT_EQ(Text("RIGHT('abc',999999999999)", r), "abc");
    EXPECT_EQ(Text("SUBSTR('abcdef',3)", r), "cdef");
    EXPECT_EQ(Text("SUBSTR('abcdef',3,2)", r), "cd");
    EXPECT_EQ(Text("SUBSTR('abcdef',6,5)", r), "f");
    EXPECT_EQ(Text("SUBSTR('abcdef',7)", r), "");
    EXPECT_EQ(Text("SUBSTR('abcdef',2,-1)", r), "");
    EXPECT_FALSE(Eval("SUBSTR('abcdef',0)", r));
    EXPECT_FALSE(Eval("SUBSTR('abcdef',-999999999999)", r));
}

TEST_F(ExpressionFunctionsTest, DatesAreEightDigitTexts)
{
    EXPECT_EQ(Number("YEAR(DT)", r), 2001);
    EXPECT_EQ(Number("MONTH(DT)", r), 2);
    EXPECT_EQ(Number("DAY(DT)", r), 2);
    EXPECT_EQ(Number("DOW(DT)", r), 6); // a Friday
    EXPECT_EQ(Text("CDOW(DT)", r), "Friday");
    EXPECT_EQ(Text("CMONTH(DT)", r), "February");
    EXPECT_EQ(Text("CDOW('19700101')", r), "Thursday");
    EXPECT_EQ(Text("CDOW('20000229')", r), "Tuesday");
    EXPECT_EQ(Text("CDOW('16000101')", r), "Saturday");

    for (const char* stored : { "", "2001020", "20011302", "20010200", "2001O202" }) {
        r.Put("DT", stored);
        EXPECT_EQ(Number("YEAR(DT)", r), 0) << stored;
        EXPECT_EQ(Number("DOW(DT)", r), 0) << stored;
        EXPECT_EQ(Text("CDOW(DT)", r), "") << stored;
        EXPECT_EQ(Text("CMONTH(DT)", r), "") << stored;
    }

    const auto today = Text("DATE()", r);
    ASSERT_TRUE(today);
    ASSERT_EQ(today->size(), 8u);
    EXPECT_GE(*today, "20240101");
    EXPECT_EQ(Number("MONTH(DATE())", r) > 0, true);
}

TEST_F(ExpressionFunctionsTest, IifEvaluatesOnlyTheChosenBranch)
{
    EXPECT_EQ(Number("IIF(FLAG,1,1/0)", r), 1);
    EXPECT_FALSE(Eval("IIF(.NOT.FLAG,1,1/0)", r));
    EXPECT_EQ(Text("IIF(SUM<0,'neg','pos')", r), "neg");
    EXPECT_EQ(Logical("IIF(FLAG,.F.,.T.)", r), false);
    EXPECT_FALSE(Eval("IIF(NAME,1,2)", r));
    EXPECT_EQ(Text("IIF(FLAG,DT,'x')", r), "20010202"); // an argument: the stored date
}

TEST_F(ExpressionFunctionsTest, LetterTestsLookAtTheFirstCharacter)
{
    EXPECT_EQ(Logical("ISALPHA('a1')", r), true);
    EXPECT_EQ(Logical("ISALPHA('1a')", r), false);
    EXPECT_EQ(Logical("ISALPHA('')", r), false);
    EXPECT_EQ(Logical("ISUPPER('\xC6')", r), true); // 1251 capital ZHE
    EXPECT_EQ(Logical("ISLOWER('\xE6')", r), true); // 1251 small zhe
    EXPECT_EQ(Logical("ISLOWER('\xC6')", r), false);
    EXPECT_EQ(Logical("ISUPPER(NAME)", r), false); // a blank first
}

// Cyrillic text of a DOS table: 866 letters are case-mapped as their 1251 counterparts and
// written back in 866.
TEST(ExpressionOemTest, UpperAndLowerOfDosText)
{
    TestRecord r;
    r.Add("NAME", 'C', 8);
    // "Иван ёж" and a box-drawing bar, in 866.
    r.Put("NAME", "\x88\xA2\xA0\xAD \xF1\xA6\xB3");

    EXPECT_EQ(expression_testing::Text("UPPER(NAME)", r, true), "\x88\x82\x80\x8D \xF0\x86\xB3");
    EXPECT_EQ(expression_testing::Text("LOWER(NAME)", r, true), "\xA8\xA2\xA0\xAD \xF1\xA6\xB3");
    // Read as 1251 the same bytes are other letters (0xA2 a small short U, 0xF1 a small
    // ES, 0xB3 a small Ukrainian I) and other signs.
    EXPECT_EQ(expression_testing::Text("UPPER(NAME)", r, false), "\x88\xA1\xA0\xAD \xD1\xA6\xB2");

    auto e = table::ParseExpression("AT('\x88\x82\x80\x8D',UPPER(NAME))>0", r.fields);
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->IsTrue(r.bytes.data(), r.bytes.size(), true));
    EXPECT_FALSE(e->IsTrue(r.bytes.data(), r.bytes.size(), false));

    table::ExprValue v;
    auto alpha = table::ParseExpression("ISALPHA(NAME)", r.fields);
    ASSERT_TRUE(alpha);
    ASSERT_TRUE(alpha->Evaluate(r.bytes.data(), r.bytes.size(), true, &v));
    EXPECT_TRUE(v.logical);
    ASSERT_TRUE(alpha->Evaluate(r.bytes.data(), r.bytes.size(), false, &v));
    EXPECT_FALSE(v.logical); // 0x88 is the euro sign in 1251
}

TEST(ExpressionOemTest, AnsiTextUpperCase)
{
    TestRecord r;
    r.Add("NAME", 'C', 6);
    r.Put("NAME", "\xE8\xE2\xE0\xED\xB8z"); // "иванёz" in 1251
    EXPECT_EQ(expression_testing::Text("UPPER(NAME)", r), "\xC8\xC2\xC0\xCD\xA8Z");
    EXPECT_EQ(expression_testing::Text("LOWER(UPPER(NAME))", r), "\xE8\xE2\xE0\xED\xB8z");
}

} // namespace
