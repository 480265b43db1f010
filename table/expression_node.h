#pragma once

#include "table/expression.h"
#include "table/expression_tokenizer.h"
#include "table/field_def.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace table {

// What every node sees while one record is evaluated.
struct EvalContext
{
    const std::uint8_t* record = nullptr;
    bool oem = false;
};

// A bound on the length of a character result that depends on the record (REPLICATE, SPACE).
inline constexpr std::size_t kUnbounded = std::numeric_limits<std::size_t>::max();

// Sum of two length bounds, kUnbounded when either is.
std::size_t AddBounds(std::size_t a, std::size_t b);

// One node of a parsed expression. Types are fixed when the tree is built: `Type()` is 'C',
// 'N' or 'L', or 0 for a node whose operands do not fit it, which fails every evaluation.
// A node writes its result into `out`; character results point into the record, a constant
// or the node's own buffer, and stay valid until the node is evaluated again.
class ExprNode
{
public:
    virtual ~ExprNode() = default;

    char Type() const { return m_type; }
    // Longest character result this node can give; kUnbounded when the record decides.
    std::size_t MaxLength() const { return m_maxLength; }

    // REQUIRES: Type() != 0 (callers check the static type first), out != nullptr.
    [[nodiscard]] virtual bool Evaluate(const EvalContext& context, ExprValue* out) = 0;

    // Called on a node that stands directly as a function argument. Only fields change:
    // date and memo fields become their stored text, and numeric fields too when
    // `numbersAsText` is set.
    virtual void BecomeArgument(bool numbersAsText) { (void)numbersAsText; }

    // For a call of UPPER or LOWER that can be evaluated: its argument, `*upper` telling
    // which of the two it is. Null for every other node.
    virtual ExprNode* CaseArgument(bool* upper)
    {
        (void)upper;
        return nullptr;
    }

protected:
    char m_type = 0;
    std::size_t m_maxLength = 0;
};

// A quoted text, a number or a logical constant; owns its text.
class ConstantNode : public ExprNode
{
public:
    static std::unique_ptr<ConstantNode> Text(std::string_view text);
    static std::unique_ptr<ConstantNode> Number(double number);
    static std::unique_ptr<ConstantNode> Logical(bool logical);

    bool Evaluate(const EvalContext& context, ExprValue* out) override;
    // The text of a character constant.
    const std::string& TextValue() const { return m_text; }

private:
    std::string m_text;
    double m_number = 0;
    bool m_logical = false;
};

// A field of the record. As an operand: C gives its bytes as stored (trailing blanks kept),
// N and F the number of their text, L true for 'T' or 't'; D, M and other types have no
// operand value. As a function argument, D, M and other non-logical types give their stored
// text, and N and F too where the function takes text.
class FieldNode : public ExprNode
{
public:
    explicit FieldNode(const FieldLayout& field);

    bool Evaluate(const EvalContext& context, ExprValue* out) override;
    void BecomeArgument(bool numbersAsText) override;

private:
    std::uint32_t m_offset;
    std::uint32_t m_width;
    char m_fieldType;
};

// Unary minus on a number.
class NegateNode : public ExprNode
{
public:
    explicit NegateNode(std::unique_ptr<ExprNode> operand);
    bool Evaluate(const EvalContext& context, ExprValue* out) override;

private:
    std::unique_ptr<ExprNode> m_operand;
};

// .NOT. on a logical.
class NotNode : public ExprNode
{
public:
    explicit NotNode(std::unique_ptr<ExprNode> operand);
    bool Evaluate(const EvalContext& context, ExprValue* out) override;

private:
    std::unique_ptr<ExprNode> m_operand;
};

// Operands joined by operators of one precedence level (a+b-c, x.AND.y.AND.z), applied left
// to right. Kept flat so that long chains cost no recursion. All operands are evaluated
// (no short cut), so a failing operand fails the chain whatever the others give.
// REQUIRES: operands.size() == operators.size() + 1 >= 2.
class ChainNode : public ExprNode
{
public:
    ChainNode(std::vector<std::unique_ptr<ExprNode>> operands, std::vector<Operator> operators);
    bool Evaluate(const EvalContext& context, ExprValue* out) override;

private:
    bool Apply(Operator op, ExprValue* acc, const ExprValue& right, bool* accInScratch);
    bool ApplyText(Operator op, ExprValue* acc, const ExprValue& right, bool* accInScratch);
    void FindMappedCompare();
    bool EvaluateMappedCompare(const EvalContext& context, ExprValue* out);

    std::vector<std::unique_ptr<ExprNode>> m_operands;
    std::vector<Operator> m_operators;
    std::string m_scratch; // the running text of + and -
    // UPPER(x) or LOWER(x) compared (=, #, <, <=, >, >=) with a character constant, as a
    // filter that ignores letter case compares: x read through the case table of 1251 or
    // 866 text, without the converted copy. Null for every other chain.
    struct MappedCompare
    {
        ExprNode* text; // x, owned by the UPPER or LOWER call
        std::string constant;
        const std::array<unsigned char, 256>* maps[2]; // 1251, 866
    };
    std::unique_ptr<MappedCompare> m_mappedCompare;
};

// Result type of `left op right`, 0 when the operator does not take those types.
char BinaryResultType(Operator op, char left, char right);

} // namespace table
