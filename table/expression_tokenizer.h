#pragma once

#include "table/expression.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace table {

enum class TokenKind {
    kName, // field or function name
    kText, // quoted text, or .TRUE. / .FALSE. (read as their own spelling)
    kNumber, // unsigned digits, or signed at the start of an expression or after an operator
    kLogical, // .T. / .F.
    kOperator,
    kLeftParen,
    kRightParen,
    kComma,
    kEnd,
};

enum class Operator {
    kNone,
    kPlus,
    kMinus,
    kMultiply,
    kDivide,
    kPower, // ** and ^
    kEqual,
    kNotEqual, // # and <>
    kLess,
    kLessEqual,
    kGreater,
    kGreaterEqual,
    kContains, // $
    kAnd,
    kOr,
    kNot,
};

// One token. `text` is a view into the expression text: the name, or the characters between
// the quotes. A name immediately followed by '(' is a function call (`call`).
struct Token
{
    TokenKind kind = TokenKind::kEnd;
    std::size_t position = 0;
    std::string_view text;
    double number = 0;
    bool logical = false;
    bool call = false;
    Operator op = Operator::kNone;
};

// Splits an expression text into tokens, ending with one kEnd token. Blanks between tokens
// are skipped. False with `error` filled when a quote is unterminated, a number is malformed
// or too large, a dot word is unknown or a byte starts no token.
// REQUIRES: tokens != nullptr, error != nullptr.
[[nodiscard]] bool Tokenize(std::string_view text, std::vector<Token>* tokens, ExprError* error);

} // namespace table
