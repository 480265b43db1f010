#include "table/expression_tokenizer.h"

#include <gtest/gtest.h>

namespace {

using table::ExprError;
using table::ExprErrorCode;
using table::Operator;
using table::Token;
using table::TokenKind;

class ExpressionTokenizerTest : public ::testing::Test
{
protected:
    std::vector<Token> Tokens(std::string_view text)
    {
        std::vector<Token> tokens;
        EXPECT_TRUE(table::Tokenize(text, &tokens, &error)) << text;
        return tokens;
    }

    ExprErrorCode Refused(std::string_view text)
    {
        std::vector<Token> tokens;
        error = {};
        EXPECT_FALSE(table::Tokenize(text, &tokens, &error)) << text;
        return error.code;
    }

    ExprError error;
};

TEST_F(ExpressionTokenizerTest, QuotesEndAtTheFirstMatchingDelimiterWithoutEscapes)
{
    auto t = Tokens("'a\"b' \"c'd\" ''");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].kind, TokenKind::kText);
    EXPECT_EQ(t[0].text, "a\"b");
    EXPECT_EQ(t[1].text, "c'd");
    EXPECT_EQ(t[2].text, "");
    EXPECT_EQ(t[3].kind, TokenKind::kEnd);

    EXPECT_EQ(Refused("NAME='abc"), ExprErrorCode::kUnterminatedQuote);
    EXPECT_EQ(error.position, 5u);
    EXPECT_EQ(Refused("\"it's"), ExprErrorCode::kUnterminatedQuote);
}

TEST_F(ExpressionTokenizerTest, SignBelongsToANumberOnlyAtAStartOrAfterAnOperator)
{
    auto t = Tokens("-5");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].kind, TokenKind::kNumber);
    EXPECT_EQ(t[0].number, -5);

    t = Tokens("A-5");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[1].kind, TokenKind::kOperator);
    EXPECT_EQ(t[1].op, Operator::kMinus);
    EXPECT_EQ(t[2].number, 5);

    t = Tokens("A*-5.25");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[2].kind, TokenKind::kNumber);
    EXPECT_EQ(t[2].number, -5.25);

    t = Tokens("SUM=+3");
    EXPECT_EQ(t[2].number, 3);

    t = Tokens("MAX(1,-2)");
    EXPECT_EQ(t[4].number, -2);

    // The first minus opens the expression; the second follows an operator.
    t = Tokens("--5");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].op, Operator::kMinus);
    EXPECT_EQ(t[1].number, -5);

    // A blank between sign and digits leaves the sign an operator.
    t = Tokens("- 5");
    EXPECT_EQ(t[0].kind, TokenKind::kOperator);
}

TEST_F(ExpressionTokenizerTest, NumbersTakeOnePointAndLeaveDotWordsAlone)
{
    auto t = Tokens("12.5 .5 7.");
    EXPECT_EQ(t[0].number, 12.5);
    EXPECT_EQ(t[1].number, 0.5);
    EXPECT_EQ(t[2].number, 7);

    // A second point starts another number; the parser refuses the pair.
    t = Tokens("1.2.3");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].number, 1.2);
    EXPECT_EQ(t[1].number, 0.3);

    t = Tokens("N=1.AND.M=2");
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(t[2].number, 1);
    EXPECT_EQ(t[3].op, Operator::kAnd);

    EXPECT_EQ(Refused("1e999999"), ExprErrorCode::kBadNumber);
    EXPECT_EQ(Refused("12AB"), ExprErrorCode::kBadNumber);
    EXPECT_EQ(Refused(std::string(400, '9')), ExprErrorCode::kBadNumber);
}

TEST_F(ExpressionTokenizerTest, DotWordsInAnyCaseAndTheLongLogicalSpellingsAsText)
{
    auto t = Tokens(".T. .f. .and. .OR. .Not. .TRUE. .false.");
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(t[0].kind, TokenKind::kLogical);
    EXPECT_TRUE(t[0].logical);
    EXPECT_EQ(t[1].kind, TokenKind::kLogical);
    EXPECT_FALSE(t[1].logical);
    EXPECT_EQ(t[2].op, Operator::kAnd);
    EXPECT_EQ(t[3].op, Operator::kOr);
    EXPECT_EQ(t[4].op, Operator::kNot);
    EXPECT_EQ(t[5].kind, TokenKind::kText);
    EXPECT_EQ(t[5].text, ".TRUE.");
    EXPECT_EQ(t[6].kind, TokenKind::kText);
    EXPECT_EQ(t[6].text, ".false.");

    EXPECT_EQ(Refused(".X."), ExprErrorCode::kBadDotWord);
    EXPECT_EQ(Refused(".AND"), ExprErrorCode::kBadDotWord);
    EXPECT_EQ(Refused(". T."), ExprErrorCode::kBadDotWord);
}

} // namespace
