#include "table/expression_node.h"

#include "table/expression_text.h"
#include "table/leading_number.h"

#include <cassert>
#include <cmath>
#include <string_view>

namespace table {

std::size_t AddBounds(std::size_t a, std::size_t b)
{
    if (a == kUnbounded || b == kUnbounded || a > kUnbounded - b)
        return kUnbounded;
    return a + b;
}

char BinaryResultType(Operator op, char left, char right)
{
    if (left == 0 || left != right)
        return 0;
    switch (op) {
    case Operator::kPlus:
    case Operator::kMinus:
        return (left == 'N' || left == 'C') ? left : 0;
    case Operator::kMultiply:
    case Operator::kDivide:
    case Operator::kPower:
        return left == 'N' ? 'N' : 0;
    case Operator::kLess:
    case Operator::kLessEqual:
    case Operator::kGreater:
    case Operator::kGreaterEqual:
        return (left == 'N' || left == 'C') ? 'L' : 0;
    case Operator::kEqual:
    case Operator::kNotEqual:
        return 'L';
    case Operator::kContains:
        return left == 'C' ? 'L' : 0;
    case Operator::kAnd:
    case Operator::kOr:
        return left == 'L' ? 'L' : 0;
    case Operator::kNone:
    case Operator::kNot:
        break;
    }
    return 0;
}

// --- constants

std::unique_ptr<ConstantNode> ConstantNode::Text(std::string_view text)
{
    auto node = std::make_unique<ConstantNode>();
    node->m_type = 'C';
    node->m_text.assign(text);
    node->m_maxLength = text.size();
    return node;
}

std::unique_ptr<ConstantNode> ConstantNode::Number(double number)
{
    auto node = std::make_unique<ConstantNode>();
    node->m_type = 'N';
    node->m_number = number;
    return node;
}

std::unique_ptr<ConstantNode> ConstantNode::Logical(bool logical)
{
    auto node = std::make_unique<ConstantNode>();
    node->m_type = 'L';
    node->m_logical = logical;
    return node;
}

bool ConstantNode::Evaluate(const EvalContext&, ExprValue* out)
{
    out->type = m_type;
    out->text = m_text;
    out->number = m_number;
    out->logical = m_logical;
    return true;
}

// --- fields

FieldNode::FieldNode(const FieldLayout& field)
    : m_offset(field.offset)
    , m_width(field.width)
    , m_fieldType(field.def.type)
{
    switch (m_fieldType) {
    case 'C':
        m_type = 'C';
        break;
    case 'N':
    case 'F':
        m_type = 'N';
        break;
    case 'L':
        m_type = 'L';
        break;
    default:
        m_type = 0; // D, M and the rest are no operands
        break;
    }
    m_maxLength = m_width;
}

void FieldNode::BecomeArgument(bool numbersAsText)
{
    if (m_fieldType == 'L')
        return;
    if ((m_fieldType == 'N' || m_fieldType == 'F') && !numbersAsText)
        return;
    m_type = 'C';
}

bool FieldNode::Evaluate(const EvalContext& context, ExprValue* out)
{
    const std::string_view stored(
        reinterpret_cast<const char*>(context.record) + m_offset, m_width);
    out->type = m_type;
    switch (m_type) {
    case 'C':
        out->text = stored;
        return true;
    case 'N':
        // Read as the field's value is read everywhere; a number beyond a double's range
        // takes part in no evaluation, whose numbers are always finite.
        out->number = LeadingNumber(stored);
        return std::isfinite(out->number);
    case 'L':
        out->logical = m_width > 0 && (stored[0] == 'T' || stored[0] == 't');
        return true;
    default:
        return false;
    }
}

// --- unary operators

NegateNode::NegateNode(std::unique_ptr<ExprNode> operand)
    : m_operand(std::move(operand))
{
    m_type = m_operand->Type() == 'N' ? 'N' : 0;
}

bool NegateNode::Evaluate(const EvalContext& context, ExprValue* out)
{
    if (m_type == 0 || !m_operand->Evaluate(context, out))
        return false;
    out->number = -out->number;
    return true;
}

NotNode::NotNode(std::unique_ptr<ExprNode> operand)
    : m_operand(std::move(operand))
{
    m_type = m_operand->Type() == 'L' ? 'L' : 0;
}

bool NotNode::Evaluate(const EvalContext& context, ExprValue* out)
{
    if (m_type == 0 || !m_operand->Evaluate(context, out))
        return false;
    out->logical = !out->logical;
    return true;
}

namespace {

// Whether a comparison holds for two values whose order is `order` (negative, 0, positive)
// and which are `equal` (not always order 0: numbers compare as numbers).
bool ComparisonHolds(Operator op, int order, bool equal)
{
    switch (op) {
    case Operator::kEqual:
        return equal;
    case Operator::kNotEqual:
        return !equal;
    case Operator::kLess:
        return order < 0;
    case Operator::kLessEqual:
        return order <= 0;
    case Operator::kGreater:
        return order > 0;
    default:
        return order >= 0;
    }
}

bool ApplyArithmetic(Operator op, ExprValue* acc, const ExprValue& right)
{
    const double l = acc->number;
    const double r = right.number;
    double result = 0;
    switch (op) {
    case Operator::kPlus:
        result = l + r;
        break;
    case Operator::kMinus:
        result = l - r;
        break;
    case Operator::kMultiply:
        result = l * r;
        break;
    case Operator::kDivide:
        result = l / r;
        break;
    case Operator::kPower:
        result = std::pow(l, r);
        break;
    default:
        return false;
    }
    // Infinity and NaN have no place in a field or a comparison: fail instead.
    if (!std::isfinite(result))
        return false;
    acc->number = result;
    return true;
}

bool ApplyComparison(Operator op, ExprValue* acc, const ExprValue& right)
{
    int order = 0; // left against right, for the ordering operators
    bool equal = false;
    switch (acc->type) {
    case 'N':
        equal = acc->number == right.number;
        order = acc->number < right.number ? -1 : acc->number > right.number ? 1 : 0;
        break;
    case 'C':
        order = CompareBytes(acc->text, right.text);
        equal = order == 0;
        break;
    case 'L':
        equal = acc->logical == right.logical;
        break;
    default:
        return false;
    }

    bool result = false;
    switch (op) {
    case Operator::kEqual:
    case Operator::kNotEqual:
    case Operator::kLess:
    case Operator::kLessEqual:
    case Operator::kGreater:
    case Operator::kGreaterEqual:
        result = ComparisonHolds(op, order, equal);
        break;
    case Operator::kContains:
        // "a $ b": a occurs in b; the empty text occurs everywhere, as AT finds it at 1.
        result = right.text.find(acc->text) != std::string_view::npos;
        break;
    case Operator::kAnd:
        result = acc->logical && right.logical;
        break;
    case Operator::kOr:
        result = acc->logical || right.logical;
        break;
    default:
        return false;
    }
    acc->type = 'L';
    acc->logical = result;
    acc->text = {};
    return true;
}

} // namespace

// --- chains of binary operators

ChainNode::ChainNode(
    std::vector<std::unique_ptr<ExprNode>> operands, std::vector<Operator> operators)
    : m_operands(std::move(operands))
    , m_operators(std::move(operators))
{
    assert(m_operands.size() >= 2 && m_operands.size() == m_operators.size() + 1);
    char type = m_operands[0]->Type();
    std::size_t length = m_operands[0]->MaxLength();
    for (std::size_t i = 0; i < m_operators.size(); ++i) {
        type = BinaryResultType(m_operators[i], type, m_operands[i + 1]->Type());
        length = AddBounds(length, m_operands[i + 1]->MaxLength());
    }
    m_type = type;
    if (m_type == 'C') {
        m_maxLength = length;
        // Sized once here so that evaluating never allocates, unless the record decides the
        // length (then the buffer grows on first need, never past kMaxTextLength).
        if (length != kUnbounded)
            m_scratch.reserve(length < kMaxTextLength ? length : kMaxTextLength);
    }
    FindMappedCompare();
}

void ChainNode::FindMappedCompare()
{
    if (m_type != 'L' || m_operators.size() != 1)
        return;
    switch (m_operators[0]) {
    case Operator::kEqual:
    case Operator::kNotEqual:
    case Operator::kLess:
    case Operator::kLessEqual:
    case Operator::kGreater:
    case Operator::kGreaterEqual:
        break;
    default:
        return;
    }
    bool upper = false;
    ExprNode* text = m_operands[0]->CaseArgument(&upper);
    const auto* constant = dynamic_cast<const ConstantNode*>(m_operands[1].get());
    if (!text || !constant || constant->Type() != 'C')
        return;
    const LetterTables& ansi = Letters(false);
    const LetterTables& oem = Letters(true);
    m_mappedCompare.reset(new MappedCompare { text, constant->TextValue(),
        { upper ? &ansi.upper : &ansi.lower, upper ? &oem.upper : &oem.lower } });
}

// UPPER(x) compared with a constant: x has the length of UPPER(x), and the comparison reads
// it through the table UPPER would have used, as CompareBytes orders the converted text.
bool ChainNode::EvaluateMappedCompare(const EvalContext& context, ExprValue* out)
{
    ExprValue text;
    if (!m_mappedCompare->text->Evaluate(context, &text))
        return false;
    const int order = CompareMapped(text.text, *m_mappedCompare->maps[context.oem ? 1 : 0],
                                    m_mappedCompare->constant);
    const bool result = ComparisonHolds(m_operators[0], order, order == 0);
    *out = ExprValue {};
    out->type = 'L';
    out->logical = result;
    return true;
}

bool ChainNode::Evaluate(const EvalContext& context, ExprValue* out)
{
    if (m_type == 0)
        return false;
    if (m_mappedCompare)
        return EvaluateMappedCompare(context, out);
    ExprValue acc;
    if (!m_operands[0]->Evaluate(context, &acc))
        return false;
    bool accInScratch = false;
    for (std::size_t i = 0; i < m_operators.size(); ++i) {
        ExprValue right;
        if (!m_operands[i + 1]->Evaluate(context, &right))
            return false;
        if (!Apply(m_operators[i], &acc, right, &accInScratch))
            return false;
    }
    *out = acc;
    return true;
}

bool ChainNode::Apply(Operator op, ExprValue* acc, const ExprValue& right, bool* accInScratch)
{
    switch (op) {
    case Operator::kPlus:
    case Operator::kMinus:
        if (acc->type == 'C')
            return ApplyText(op, acc, right, accInScratch);
        [[fallthrough]];
    case Operator::kMultiply:
    case Operator::kDivide:
    case Operator::kPower:
        return ApplyArithmetic(op, acc, right);
    default:
        return ApplyComparison(op, acc, right);
    }
}

bool ChainNode::ApplyText(Operator op, ExprValue* acc, const ExprValue& right, bool* accInScratch)
{
    const std::size_t total = acc->text.size() + right.text.size();
    if (total > kMaxTextLength)
        return false;
    if (!*accInScratch) {
        m_scratch.assign(acc->text);
        *accInScratch = true;
    }
    if (op == Operator::kMinus) {
        // The left text loses its trailing blanks, which move to the end of the result.
        m_scratch.resize(TrimTrailingSpaces(m_scratch).size());
        m_scratch.append(right.text);
        m_scratch.resize(total, ' ');
    } else {
        m_scratch.append(right.text);
    }
    acc->text = m_scratch;
    return true;
}

} // namespace table
