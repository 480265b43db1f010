#include "table/expression.h"

#include "table/field_value.h"
#include "tests/table/expression_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using expression_testing::Eval;
using expression_testing::Logical;
using expression_testing::Number;
using expression_testing::ParseError;
using expression_testing::TestRecord;
using expression_testing::Text;
using table::ExprErrorCode;

// A record with one field of every type the evaluator distinguishes.
class ExpressionTest : public ::testing::Test
{
protected:
    ExpressionTest()
    {
        r.Add("NAME", 'C', 10)
            .Add("SUM", 'N', 8, 2)
            .Add("RATE", 'F', 6, 1)
            .Add("FLAG", 'L', 1)
            .Add("DT", 'D', 8)
            .Add("NOTE", 'M', 10)
            .Add("CODE", 'C', 4);
        r.Put("NAME", "IVAN").Put("SUM", "    5.00").Put("RATE", "  -1.5").Put("FLAG", "T");
        r.Put("DT", "20010202").Put("NOTE", "        17").Put("CODE", "Ivan");
    }

    TestRecord r;
};

TEST_F(ExpressionTest, OperandsFollowTheirFieldType)
{
    EXPECT_EQ(Text("NAME", r), "IVAN      "); // trailing blanks kept
    EXPECT_EQ(Number("SUM", r), 5);
    EXPECT_EQ(Number("RATE", r), -1.5);
    EXPECT_EQ(Logical("FLAG", r), true);
    EXPECT_EQ(Text("name", r), "IVAN      "); // names without regard to case

    r.Put("SUM", "        ");
    EXPECT_EQ(Number("SUM", r), 0);
    r.Put("SUM", "   12abc");
    EXPECT_EQ(Number("SUM", r), 12);
}

TEST_F(ExpressionTest, NumericFieldsHoldTheValueTheirCellsShow)
{
    // Whatever a stored text means as a value, it means in a filter too: exponents
    // included, which some writers use in N and F fields.
    for (const char* stored : { "1.5E+03", "  2e2", "-1.5e-2", "+4.25", "  -.5", "   7e", "12.5x",
                                "00000123456789012345", "1e400", "-1E400", "1e-400" }) {
        table::FieldValue shown;
        (void)shown.Assign('N', stored, table::DateFormat::kYyyyMmDd);
        TestRecord n;
        n.Add("V", 'N', 20).Add("W", 'F', 20).Put("V", stored).Put("W", stored);
        if (std::isfinite(shown.number)) {
            EXPECT_EQ(Number("V", n), shown.number) << stored;
            EXPECT_EQ(Number("W", n), shown.number) << stored;
            EXPECT_EQ(Number(std::string("VAL('") + stored + "')", n), shown.number) << stored;
        } else {
            // No number beyond a double's range enters an evaluation.
            EXPECT_EQ(Number("V", n), std::nullopt) << stored;
        }
    }
    r.Put("SUM", " 1.5E+03");
    EXPECT_EQ(Logical("SUM>1000", r), true);
    EXPECT_EQ(Logical("SUM=1500", r), true);
}

TEST_F(ExpressionTest, LogicalFieldsAreTrueOnlyForTOrLowerT)
{
    for (const char* stored : { "T", "t" }) {
        r.Put("FLAG", stored);
        EXPECT_EQ(Logical("FLAG=.T.", r), true) << stored;
    }
    for (const char* stored : { "Y", "y", "?", " ", "F" }) {
        r.Put("FLAG", stored);
        EXPECT_EQ(Logical("FLAG=.T.", r), false) << stored;
        EXPECT_EQ(Logical("FLAG=.F.", r), true) << stored;
    }
}

TEST_F(ExpressionTest, DateAndMemoFieldsAreOnlyFunctionArguments)
{
    EXPECT_FALSE(Eval("DT>'20010201'", r));
    EXPECT_FALSE(Eval("DT", r));
    EXPECT_FALSE(Eval("NOTE='x'", r));
    EXPECT_EQ(Text("DTOC(DT)", r), "20010202");
    EXPECT_EQ(Number("LEN(NOTE)", r), 10);

    auto e = table::ParseExpression("DT='20010202'", r.fields);
    ASSERT_TRUE(e); // a type error parses, then fails every evaluation
    EXPECT_EQ(e->ResultType(), 0);
}

TEST_F(ExpressionTest, OperatorsRefuseMixedTypes)
{
    EXPECT_FALSE(Eval("SUM='5'", r));
    EXPECT_FALSE(Eval("NAME=5", r));
    EXPECT_FALSE(Eval("FLAG<.T.", r));
    EXPECT_FALSE(Eval("NAME*2", r));
    EXPECT_FALSE(Eval("'a'.AND..T.", r));
    EXPECT_FALSE(Eval("-NAME", r));
    EXPECT_FALSE(Eval(".NOT.NAME", r));
    EXPECT_FALSE(Eval("'a'$5", r));
    EXPECT_EQ(Logical("FLAG#.F.", r), true);
    EXPECT_EQ(Logical("FLAG<>.T.", r), false);
}

TEST_F(ExpressionTest, NumericOperatorsAndComparisons)
{
    EXPECT_EQ(Number("SUM+1", r), 6);
    EXPECT_EQ(Number("SUM-RATE", r), 6.5);
    EXPECT_EQ(Number("SUM*RATE", r), -7.5);
    EXPECT_EQ(Number("SUM/2", r), 2.5);
    EXPECT_EQ(Number("2**10", r), 1024);
    EXPECT_EQ(Number("2^3", r), 8);
    EXPECT_EQ(Logical("SUM#5", r), false);
    EXPECT_EQ(Logical("SUM<>5", r), false);
    EXPECT_EQ(Logical("SUM=5", r), true);
    EXPECT_EQ(Logical("SUM<5", r), false);
    EXPECT_EQ(Logical("SUM<=5", r), true);
    EXPECT_EQ(Logical("SUM>4.99", r), true);
    EXPECT_EQ(Logical("SUM>=5.01", r), false);
    EXPECT_EQ(Logical("SUM=-3", r), false);
}

TEST_F(ExpressionTest, CharacterEqualityIsExactIncludingLength)
{
    EXPECT_EQ(Logical("NAME='IVAN'", r), false);
    EXPECT_EQ(Logical("NAME='IVAN      '", r), true);
    EXPECT_EQ(Logical("NAME#'IVAN'", r), true);
    EXPECT_EQ(Logical("CODE='Ivan'", r), true);
    EXPECT_EQ(Logical("CODE=\"Ivan\"", r), true);
    EXPECT_EQ(Logical("'.TRUE.'=.TRUE.", r), true); // the long spelling is text
    EXPECT_FALSE(Eval("FLAG=.TRUE.", r));
}

TEST_F(ExpressionTest, CharacterOrderIsByUnsignedBytesWithPrefixesLess)
{
    EXPECT_EQ(Logical("'AB'<'AB '", r), true);
    EXPECT_EQ(Logical("'AB '>'AB'", r), true);
    EXPECT_EQ(Logical("'AB'<'AC'", r), true);
    EXPECT_EQ(Logical("'B'>'AZZ'", r), true);
    EXPECT_EQ(Logical("''<'A'", r), true);
    EXPECT_EQ(Logical("'AB'<='AB'", r), true);
    EXPECT_EQ(Logical("'AB'>='AB'", r), true);
    EXPECT_EQ(Logical("'AB'<='AA'", r), false);
    // Bytes above 0x7F sort after ASCII: signed chars would put them first.
    EXPECT_EQ(Logical("'\xC0'>'z'", r), true);
    EXPECT_EQ(Logical("'\xFF'>'\x80'", r), true);
}

TEST_F(ExpressionTest, TextPlusJoinsAndMinusMovesTrailingBlanksToTheEnd)
{
    EXPECT_EQ(Text("NAME+CODE", r), "IVAN      Ivan");
    EXPECT_EQ(Text("NAME-CODE", r), "IVANIvan      ");
    EXPECT_EQ(Text("'a '-'b '-'c'", r), "abc  ");
    EXPECT_EQ(Text("'  '-'x'", r), "x  ");
    EXPECT_EQ(Text("''+''", r), "");
}

TEST_F(ExpressionTest, ContainsAndNot)
{
    EXPECT_EQ(Logical("'VA'$NAME", r), true);
    EXPECT_EQ(Logical("'va'$NAME", r), false);
    EXPECT_EQ(Logical("''$NAME", r), true);
    EXPECT_EQ(Logical("NAME$'x'", r), false);
    EXPECT_EQ(Logical(".NOT.FLAG", r), false);
    EXPECT_EQ(Logical(".NOT. .NOT. FLAG", r), true);
    EXPECT_EQ(Logical(".NOT. SUM=5", r), false); // .NOT. binds looser than a comparison
}

TEST_F(ExpressionTest, PrecedenceAndLeftToRightChains)
{
    EXPECT_EQ(Number("2+3*4", r), 14);
    EXPECT_EQ(Number("2*3**2", r), 18);
    EXPECT_EQ(Number("(2+3)*4", r), 20);
    EXPECT_EQ(Number("10-4-3", r), 3);
    EXPECT_EQ(Number("64/4/2", r), 8);
    EXPECT_EQ(Number("2**3**2", r), 64);
    EXPECT_EQ(Number("-2**2", r), 4); // the opening minus binds tightest
    EXPECT_EQ(Number("-SUM*2", r), -10);
    EXPECT_EQ(Number("--5", r), 5);
    EXPECT_EQ(Logical(".T..OR..F..AND..F.", r), true); // .AND. before .OR.
    EXPECT_EQ(Logical("(.T..OR..F.).AND..F.", r), false);
    EXPECT_EQ(Logical("SUM=5.AND.FLAG", r), true);
}

TEST_F(ExpressionTest, AllOperandsOfAChainAreEvaluated)
{
    // No short cut: a failing operand fails the whole chain, as a filter must see it.
    EXPECT_FALSE(Eval(".T..OR.(1/0=1)", r));
    EXPECT_FALSE(Eval(".F..AND.(1/0=1)", r));
}

TEST_F(ExpressionTest, ResultTypeComesFromTheOutermostNode)
{
    const std::pair<const char*, char> cases[] = {
        { "NAME", 'C' },
        { "SUM", 'N' },
        { "FLAG", 'L' },
        { "SUM>1", 'L' },
        { "NAME+CODE", 'C' },
        { "LEN(NAME)", 'N' },
        { "(NAME)", 'C' },
        { "SUM.AND.FLAG", 0 },
        { "DT", 0 },
        { "SUM+'x'", 0 },
        { "IIF(FLAG,1,2)", 'N' },
        { "IIF(FLAG,1,'x')", 0 },
        { "STR(SUM)", 'C' },
        { "DTOC(DT)", 'C' },
    };
    for (const auto& [text, type] : cases) {
        auto e = table::ParseExpression(text, r.fields);
        ASSERT_TRUE(e) << text;
        EXPECT_EQ(e->ResultType(), type) << text;
    }
}

TEST_F(ExpressionTest, ParseFailures)
{
    const std::pair<const char*, ExprErrorCode> cases[] = {
        { "", ExprErrorCode::kEmpty },
        { "   ", ExprErrorCode::kEmpty },
        { "NAMEX='a'", ExprErrorCode::kUnknownName },
        { "NAME='a'.AND.LONGFIELDNAME=1", ExprErrorCode::kUnknownName },
        { "FOO(NAME)", ExprErrorCode::kUnknownFunction },
        { "UPPER (NAME)", ExprErrorCode::kUnknownName },
        { "(NAME='a'", ExprErrorCode::kUnbalancedParenthesis },
        { "NAME='a')", ExprErrorCode::kUnbalancedParenthesis },
        { "()", ExprErrorCode::kOperandExpected },
        { "(NAME='a').AND.()", ExprErrorCode::kOperandExpected },
        { "=NAME", ExprErrorCode::kOperandExpected },
        { "+SUM", ExprErrorCode::kOperandExpected },
        { "SUM+-RATE", ExprErrorCode::kOperandExpected },
        { "SUM>", ExprErrorCode::kOperandExpected },
        { "SUM 5", ExprErrorCode::kOperatorExpected },
        { "SUM!=5", ExprErrorCode::kUnexpectedCharacter },
        { "NAME='O'Brien'", ExprErrorCode::kUnterminatedQuote },
        { "NAME='O'Brien", ExprErrorCode::kOperatorExpected },
        { "LEN()", ExprErrorCode::kArgumentCount },
        { "AT('a')", ExprErrorCode::kArgumentCount },
        { "SUBSTR('a',1,1,1)", ExprErrorCode::kArgumentCount },
        { "DATE(1)", ExprErrorCode::kArgumentCount },
        { "LEN(NAME", ExprErrorCode::kUnbalancedParenthesis },
        { "LEN(NAME,", ExprErrorCode::kOperandExpected },
    };
    for (const auto& [text, code] : cases)
        EXPECT_EQ(ParseError(text, r), code) << text;

    std::size_t position = 0;
    EXPECT_EQ(ParseError("NAME='a'.AND.X=1", r, &position), ExprErrorCode::kUnknownName);
    EXPECT_EQ(position, 13u);
}

// The shapes the filter builder writes, on the records its conditions are meant for.
TEST_F(ExpressionTest, FilterBuilderShapes)
{
    r.Put("NAME", "          ");
    EXPECT_EQ(Logical("LEN(NAME)=0", r), true);
    EXPECT_EQ(Logical("LEN(NAME)>0", r), false);
    r.Put("NAME", "        .");
    EXPECT_EQ(Logical("LEN(NAME)=0", r), false);

    r.Put("NAME", "Ivan");
    EXPECT_EQ(Logical("UPPER(NAME)='IVAN'", r), false); // width 10: six blanks follow
    EXPECT_EQ(Logical("UPPER(CODE)='IVAN'", r), true);
    EXPECT_EQ(Logical("AT('IVAN',UPPER(NAME))>0", r), true);
    EXPECT_EQ(Logical("AT('IVAN',UPPER(CODE))>0", r), true);
    EXPECT_EQ(Logical("AT('PETR',UPPER(NAME))=0", r), true);

    EXPECT_EQ(Logical("DTOC(DT)>'20010201'", r), true);
    r.Put("DT", "20010201");
    EXPECT_EQ(Logical("DTOC(DT)>'20010201'", r), false);
    r.Put("DT", "        ");
    for (const char* digits : { "'0'", "'19000101'", "'20010201'" })
        EXPECT_EQ(Logical(std::string("DTOC(DT)<") + digits, r), true) << digits;

    EXPECT_EQ(Logical("((UPPER(NAME)='IVAN      ').AND.(SUM>=5)).OR.(FLAG=.F.)", r), true);
    EXPECT_EQ(Logical("(SUM#5).OR.(FLAG=.F.).OR.(LEN(CODE)=0)", r), false);
    EXPECT_EQ(Logical("((SUM=5).AND.(FLAG=.T.).AND.(CODE='Ivan'))", r), true);
}

TEST_F(ExpressionTest, IndexKeyOfTextDateAndNumber)
{
    TestRecord k;
    k.Add("NAME", 'C', 3).Add("DT", 'D', 8).Add("CNT", 'N', 5);
    k.Put("NAME", "AB ").Put("DT", "20010203").Put("CNT", "   12");
    const auto key = Text("NAME+DTOC(DT)+STR(CNT)", k);
    ASSERT_TRUE(key);
    EXPECT_EQ(*key, "AB 20010203   12     ");
    EXPECT_EQ(key->size(), 21u);
}

TEST_F(ExpressionTest, EvaluationRefusesAShortRecord)
{
    auto e = table::ParseExpression("CODE='Ivan'", r.fields);
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->IsTrue(r.bytes.data(), r.bytes.size(), false));
    EXPECT_FALSE(e->IsTrue(r.bytes.data(), r.bytes.size() - 1, false));
    EXPECT_FALSE(e->IsTrue(nullptr, 0, false));

    auto constant = table::ParseExpression("1+1", r.fields);
    ASSERT_TRUE(constant);
    table::ExprValue v;
    ASSERT_TRUE(constant->Evaluate(nullptr, 0, false, &v)); // needs no record at all
    EXPECT_EQ(v.number, 2);
}

} // namespace
