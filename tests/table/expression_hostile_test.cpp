#include "table/expression.h"
#include "tests/table/expression_test_support.h"

#include <gtest/gtest.h>
#include <random>

namespace {

using expression_testing::Eval;
using expression_testing::Number;
using expression_testing::ParseError;
using expression_testing::TestRecord;
using expression_testing::Text;
using table::ExprErrorCode;

std::string Repeat(std::string_view unit, int times)
{
    std::string s;
    for (int i = 0; i < times; ++i)
        s += unit;
    return s;
}

class ExpressionHostileTest : public ::testing::Test
{
protected:
    ExpressionHostileTest()
    {
        r.Add("NAME", 'C', 10).Add("SUM", 'N', 8, 2).Add("WIDE", 'C', 65535);
        r.Put("NAME", "Ivan").Put("SUM", "12").Put("WIDE", "x");
    }

    TestRecord r;
};

TEST_F(ExpressionHostileTest, NestingIsCappedNotFollowedIntoTheStack)
{
    const int cap = table::kMaxNestingDepth;
    EXPECT_EQ(Number(Repeat("(", cap) + "1" + Repeat(")", cap), r), 1);
    EXPECT_EQ(
        ParseError(Repeat("(", cap + 1) + "1" + Repeat(")", cap + 1), r), ExprErrorCode::kTooDeep);
    EXPECT_EQ(ParseError(Repeat("(", 1000), r), ExprErrorCode::kTooDeep);
    EXPECT_EQ(
        ParseError(Repeat("UPPER(", 200) + "NAME" + Repeat(")", 200), r), ExprErrorCode::kTooDeep);
    EXPECT_EQ(ParseError(Repeat(".NOT.", 400) + ".T.", r), ExprErrorCode::kTooDeep);
    EXPECT_EQ(ParseError(Repeat("(", 100000), r), ExprErrorCode::kTooLong);
}

TEST_F(ExpressionHostileTest, LongChainsStayFlat)
{
    // A thousand operands in one chain: no nesting, so no cap, and no deep recursion.
    EXPECT_EQ(Number("1" + Repeat("+1", 1000), r), 1001);
    const auto joined = Text("NAME" + Repeat("+NAME", 300), r);
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->size(), 3010u);
}

TEST_F(ExpressionHostileTest, TextLengthOfTheExpressionIsCapped)
{
    const std::string longest = "'" + std::string(table::kMaxExpressionLength - 2, 'a') + "'";
    EXPECT_EQ(Text(longest, r)->size(), table::kMaxExpressionLength - 2);
    EXPECT_EQ(ParseError(longest + " ", r), ExprErrorCode::kTooLong);
    EXPECT_EQ(ParseError("'" + std::string(1000, 'a'), r), ExprErrorCode::kUnterminatedQuote);
}

TEST_F(ExpressionHostileTest, MalformedNumbersAndSigns)
{
    EXPECT_EQ(ParseError("1e999999", r), ExprErrorCode::kBadNumber);
    EXPECT_EQ(ParseError("SUM>1e5", r), ExprErrorCode::kBadNumber);
    EXPECT_EQ(ParseError(std::string(320, '9'), r), ExprErrorCode::kBadNumber);
    EXPECT_EQ(Number("--5", r), 5);
    EXPECT_EQ(ParseError("---5", r), ExprErrorCode::kOperandExpected);
    EXPECT_EQ(ParseError("SUM--5", r), ExprErrorCode::kNone); // SUM minus -5
    EXPECT_EQ(Number("SUM--5", r), 17);
}

TEST_F(ExpressionHostileTest, NumericOverflowAndDomainErrorsFail)
{
    for (const char* text :
        { "1/0", "0/0", "SUM/(SUM-12)", "10**400", "(-8)**0.5", "0**-1", "EXP(710)" }) {
        EXPECT_FALSE(Eval(text, r)) << text;
    }
    EXPECT_FALSE(Eval("1" + std::string(308, '0') + "*10", r));
    EXPECT_EQ(Number("10**300", r), 1e300);
}

TEST_F(ExpressionHostileTest, TextResultsAreCapped)
{
    const double cap = static_cast<double>(table::kMaxTextLength);
    EXPECT_FALSE(Eval("REPLICATE('x',1e9)", r));
    EXPECT_FALSE(Eval("REPLICATE('x',1e300)", r));
    EXPECT_FALSE(Eval("REPLICATE('abc',50000)", r));
    EXPECT_FALSE(Eval("SPACE(1e9)", r));
    EXPECT_FALSE(Eval("STR(1,1e9)", r));
    EXPECT_EQ(Text("SPACE(-1)", r), "");
    EXPECT_EQ(Text("REPLICATE('x'," + std::to_string(static_cast<long>(cap)) + ")", r)->size(),
        table::kMaxTextLength);

    // The widest field twice fits; three times does not, nor a wide text minus another.
    EXPECT_EQ(Text("WIDE+WIDE", r)->size(), 2u * 65535);
    EXPECT_FALSE(Eval("WIDE+WIDE+WIDE", r));
    EXPECT_FALSE(Eval("WIDE-WIDE-WIDE", r));
    EXPECT_FALSE(Eval("UPPER(WIDE+WIDE)+NAME", r));
    EXPECT_EQ(Number("LEN(UPPER(WIDE))", r), 1);
}

// Random byte strings and random token soup: whatever comes, parse and evaluate return.
TEST_F(ExpressionHostileTest, RandomInputNeverCrashes)
{
    std::mt19937 random(20240601);
    const char* vocabulary[] = {
        "NAME",
        "SUM",
        "WIDE",
        "(",
        ")",
        ",",
        "'a'",
        "\"b",
        "1",
        "-",
        "+",
        "*",
        "/",
        "**",
        "=",
        "#",
        "<>",
        "<",
        ">=",
        "$",
        ".AND.",
        ".OR.",
        ".NOT.",
        ".T.",
        ".TRUE.",
        "UPPER(",
        "LEN(",
        "AT(",
        "STR(",
        "SUBSTR(",
        "IIF(",
        "REPLICATE(",
        "SPACE(",
        "1e9",
        "0",
        " ",
        "DTOC(",
        "MAX(",
        "VAL(",
        "CHR(",
        "-1",
    };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            if (round % 3 == 0)
                text += static_cast<char>(random() % 256);
            else
                text += vocabulary[random() % std::size(vocabulary)];
        }
        auto e = table::ParseExpression(text, r.fields);
        if (!e)
            continue;
        table::ExprValue v;
        for (bool oem : { false, true }) {
            if (e->Evaluate(r.bytes.data(), r.bytes.size(), oem, &v)) {
                EXPECT_EQ(v.type, e->ResultType()) << text;
                EXPECT_LE(v.text.size(), table::kMaxTextLength) << text;
            }
        }
    }
}

} // namespace
