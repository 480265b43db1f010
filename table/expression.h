#pragma once

#include "table/field_def.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace table {

class ExprNode;

// Limits that keep a hostile or broken expression from exhausting the stack or memory.
//
// kMaxExpressionLength: longer texts are refused before tokenizing. It is the length an
//   index key may have; the table refuses filter texts beyond 2048 bytes on its own.
// kMaxNestingDepth: parentheses, function calls and .NOT. nested inside one another; the
//   parser and the evaluator recurse once per level, so this bounds both stacks. A chain
//   of one operator level (a+b+c, x.AND.y.AND.z) is kept flat and does not count.
// kMaxTextLength: the longest character value an evaluation may produce (twice the widest
//   character field). A longer result - REPLICATE('x', 1e9), SPACE(1e6), a concatenation
//   of many wide fields - fails the evaluation instead of growing memory.
inline constexpr std::size_t kMaxExpressionLength = 4096;
inline constexpr int kMaxNestingDepth = 64;
inline constexpr std::size_t kMaxTextLength = 128 * 1024;

// Why a text did not parse, and where (byte offset into the text).
enum class ExprErrorCode {
    kNone = 0,
    kEmpty, // nothing but blanks
    kTooLong, // more than kMaxExpressionLength bytes
    kUnterminatedQuote, // a ' or " without its closing partner
    kBadNumber, // digits running into letters, or too large for a double
    kBadDotWord, // .X. that is none of .T. .F. .AND. .OR. .NOT. .TRUE. .FALSE.
    kUnexpectedCharacter, // a byte that starts no token
    kUnknownName, // a name that is no field of the table
    kUnknownFunction, // NAME( matching no function, or the start of several
    kArgumentCount, // a function given too few or too many arguments
    kOperandExpected, // an operator, ')' , ',' or the end where a value must stand
    kOperatorExpected, // two values side by side
    kUnbalancedParenthesis, // a '(' without ')' or the other way round
    kTooDeep, // nesting beyond kMaxNestingDepth
};

struct ExprError
{
    ExprErrorCode code = ExprErrorCode::kNone;
    std::size_t position = 0;
};

// The value of one evaluation. `type` is 'C', 'N' or 'L'; only the member of that type means
// anything. `text` points into the record, the expression's text or the expression's own
// buffers: it stays valid until the next Evaluate of the same expression or its destruction.
struct ExprValue
{
    char type = 0;
    std::string_view text;
    double number = 0;
    bool logical = false;
};

// An xBase expression parsed against a table's fields, evaluated against record buffers of
// that table. Parse once, evaluate per record: the tree keeps its own scratch buffers, sized
// at parse time from the field widths, so evaluating comparisons, LEN, AT, UPPER, DTOC, STR
// and .AND./.OR. groups of them allocates nothing. Only REPLICATE, SPACE and STR with a
// length argument, whose result size depends on the record, grow a buffer (up to
// kMaxTextLength) the first time a larger result is seen.
//
// Type errors (a numeric field compared with a quoted text, a date field used directly by an
// operator) do not fail the parse; they make every evaluation fail, and ResultType() is 0.
// Numeric results are always finite: a division by zero, an overflowing ** or EXP, LOG or
// SQRT outside their domain fail the evaluation.
//
// Not thread-safe: an evaluation writes the expression's buffers.
class Expression
{
public:
    // Made by ParseExpression. `requiredLength`: the record bytes the fields used reach.
    Expression(std::unique_ptr<ExprNode> root, std::size_t requiredLength);
    ~Expression();
    Expression(const Expression&) = delete;
    Expression& operator=(const Expression&) = delete;

    // 'C', 'N' or 'L'; 0 when no evaluation can succeed.
    char ResultType() const;

    // Evaluates against one record buffer (the deletion flag at record[0]). `oem` is set for
    // tables in code page 866 and changes UPPER, LOWER and the ISALPHA, ISUPPER and ISLOWER letter tests, which then
    // see the text as code page 1251 would. False when the evaluation fails (type error,
    // numeric overflow, text beyond kMaxTextLength, a record shorter than the fields used);
    // a failed evaluation counts as "not true". REQUIRES: out != nullptr.
    [[nodiscard]] bool Evaluate(
        const std::uint8_t* record, std::size_t length, bool oem, ExprValue* out);

    // True only when the expression evaluates to the logical true; what a filter asks.
    [[nodiscard]] bool IsTrue(const std::uint8_t* record, std::size_t length, bool oem);

private:
    std::unique_ptr<ExprNode> m_root;
    std::size_t m_requiredLength;
};

// Parses `text` against the fields of a table. Gives nullptr when the text is empty, longer
// than kMaxExpressionLength, or does not parse (unknown names, unknown functions, unbalanced
// parentheses or quotes, an operator where a value must stand); `error`, when not null,
// receives why and where.
[[nodiscard]] std::unique_ptr<Expression> ParseExpression(
    std::string_view text, const std::vector<FieldLayout>& fields, ExprError* error = nullptr);

} // namespace table
