#include "table/expression.h"

#include "table/expression_node.h"
#include "table/expression_parser.h"
#include "table/expression_tokenizer.h"

namespace table {

Expression::Expression(std::unique_ptr<ExprNode> root, std::size_t requiredLength)
    : m_root(std::move(root))
    , m_requiredLength(requiredLength)
{ }

Expression::~Expression() = default;

char Expression::ResultType() const
{
    return m_root->Type();
}

bool Expression::Evaluate(const std::uint8_t* record, std::size_t length, bool oem, ExprValue* out)
{
    *out = ExprValue {};
    if (m_root->Type() == 0
        || (m_requiredLength > 0 && (record == nullptr || length < m_requiredLength)))
        return false;
    const EvalContext context { record, oem };
    if (!m_root->Evaluate(context, out)) {
        *out = ExprValue {};
        return false;
    }
    return true;
}

bool Expression::IsTrue(const std::uint8_t* record, std::size_t length, bool oem)
{
    ExprValue value;
    return Evaluate(record, length, oem, &value) && value.type == 'L' && value.logical;
}

std::unique_ptr<Expression> ParseExpression(
    std::string_view text, const std::vector<FieldLayout>& fields, ExprError* error)
{
    ExprError local;
    ExprError* e = error != nullptr ? error : &local;
    *e = ExprError {};
    if (text.size() > kMaxExpressionLength) {
        *e = { ExprErrorCode::kTooLong, kMaxExpressionLength };
        return nullptr;
    }
    std::vector<Token> tokens;
    if (!Tokenize(text, &tokens, e))
        return nullptr;
    if (tokens.size() == 1) { // only the end: the text is empty or blank
        *e = { ExprErrorCode::kEmpty, 0 };
        return nullptr;
    }
    std::size_t requiredLength = 0;
    auto root = ParseTokens(tokens, fields, &requiredLength, e);
    if (!root)
        return nullptr;
    return std::make_unique<Expression>(std::move(root), requiredLength);
}

} // namespace table
