#include "table/expression_parser.h"

#include "table/expression_functions.h"

#include <algorithm>

namespace table {

namespace {

bool IsOr(Operator op)
{
    return op == Operator::kOr;
}

bool IsAnd(Operator op)
{
    return op == Operator::kAnd;
}

bool IsComparison(Operator op)
{
    switch (op) {
    case Operator::kEqual:
    case Operator::kNotEqual:
    case Operator::kLess:
    case Operator::kLessEqual:
    case Operator::kGreater:
    case Operator::kGreaterEqual:
    case Operator::kContains:
        return true;
    default:
        return false;
    }
}

bool IsAdditive(Operator op)
{
    return op == Operator::kPlus || op == Operator::kMinus;
}

bool IsMultiplicative(Operator op)
{
    return op == Operator::kMultiply || op == Operator::kDivide;
}

bool IsPower(Operator op)
{
    return op == Operator::kPower;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    const auto upper
        = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
        return upper(x) == upper(y);
    });
}

// Field names have at most 10 significant characters; a longer name is never a field.
constexpr std::size_t kMaxFieldName = 10;

class Parser
{
public:
    Parser(
        const std::vector<Token>& tokens, const std::vector<FieldLayout>& fields, ExprError* error)
        : m_tokens(tokens)
        , m_fields(fields)
        , m_error(error)
    { }

    std::unique_ptr<ExprNode> Run()
    {
        auto root = ParseOr();
        if (!root)
            return nullptr;
        const Token& t = Current();
        if (t.kind == TokenKind::kEnd)
            return root;
        return Fail(t.kind == TokenKind::kRightParen ? ExprErrorCode::kUnbalancedParenthesis
                                                     : ExprErrorCode::kOperatorExpected,
            t.position);
    }

    std::size_t RequiredLength() const { return m_requiredLength; }

private:
    using Level = std::unique_ptr<ExprNode> (Parser::*)();

    const Token& Current() const { return m_tokens[m_index]; }

    bool AtOperator(bool (*member)(Operator)) const
    {
        return Current().kind == TokenKind::kOperator && member(Current().op);
    }

    std::nullptr_t Fail(ExprErrorCode code, std::size_t position)
    {
        m_error->code = code;
        m_error->position = position;
        return nullptr;
    }

    // Parentheses, calls and .NOT. nest; each level costs stack in the parser and the
    // evaluator, so the depth is capped.
    bool Enter(std::size_t position)
    {
        if (++m_depth <= kMaxNestingDepth)
            return true;
        Fail(ExprErrorCode::kTooDeep, position);
        return false;
    }

    void Leave() { --m_depth; }

    std::unique_ptr<ExprNode> Chain(Level next, bool (*member)(Operator))
    {
        auto first = (this->*next)();
        if (!first || !AtOperator(member))
            return first;
        std::vector<std::unique_ptr<ExprNode>> operands;
        std::vector<Operator> operators;
        operands.push_back(std::move(first));
        while (AtOperator(member)) {
            operators.push_back(Current().op);
            ++m_index;
            auto operand = (this->*next)();
            if (!operand)
                return nullptr;
            operands.push_back(std::move(operand));
        }
        return std::make_unique<ChainNode>(std::move(operands), std::move(operators));
    }

    std::unique_ptr<ExprNode> ParseOr() { return Chain(&Parser::ParseAnd, IsOr); }
    std::unique_ptr<ExprNode> ParseAnd() { return Chain(&Parser::ParseNot, IsAnd); }

    std::unique_ptr<ExprNode> ParseNot()
    {
        if (Current().kind != TokenKind::kOperator || Current().op != Operator::kNot)
            return ParseComparison();
        if (!Enter(Current().position))
            return nullptr;
        ++m_index;
        auto operand = ParseNot();
        Leave();
        if (!operand)
            return nullptr;
        return std::make_unique<NotNode>(std::move(operand));
    }

    std::unique_ptr<ExprNode> ParseComparison()
    {
        return Chain(&Parser::ParseAdditive, IsComparison);
    }
    std::unique_ptr<ExprNode> ParseAdditive()
    {
        return Chain(&Parser::ParseMultiplicative, IsAdditive);
    }
    std::unique_ptr<ExprNode> ParseMultiplicative()
    {
        return Chain(&Parser::ParsePower, IsMultiplicative);
    }
    std::unique_ptr<ExprNode> ParsePower() { return Chain(&Parser::ParseUnary, IsPower); }

    // '-' is the one operator that may open an expression; anywhere else an operator where
    // a value belongs is an error (a signed number after an operator is a number token).
    std::unique_ptr<ExprNode> ParseUnary()
    {
        if (Current().kind == TokenKind::kOperator && Current().op == Operator::kMinus
            && OpensExpression()) {
            ++m_index;
            auto operand = ParsePrimary();
            if (!operand)
                return nullptr;
            return std::make_unique<NegateNode>(std::move(operand));
        }
        return ParsePrimary();
    }

    bool OpensExpression() const
    {
        if (m_index == 0)
            return true;
        const TokenKind before = m_tokens[m_index - 1].kind;
        return before == TokenKind::kLeftParen || before == TokenKind::kComma;
    }

    std::unique_ptr<ExprNode> ParsePrimary()
    {
        const Token& t = Current();
        switch (t.kind) {
        case TokenKind::kNumber:
            ++m_index;
            return ConstantNode::Number(t.number);
        case TokenKind::kText:
            ++m_index;
            return ConstantNode::Text(t.text);
        case TokenKind::kLogical:
            ++m_index;
            return ConstantNode::Logical(t.logical);
        case TokenKind::kName:
            return t.call ? ParseCall() : ParseField();
        case TokenKind::kLeftParen:
            return ParseGroup();
        default:
            return Fail(ExprErrorCode::kOperandExpected, t.position);
        }
    }

    std::unique_ptr<ExprNode> ParseGroup()
    {
        const std::size_t open = Current().position;
        if (!Enter(open))
            return nullptr;
        ++m_index;
        auto inner = ParseOr();
        if (!inner)
            return nullptr;
        if (!CloseParenthesis(open))
            return nullptr;
        Leave();
        return inner;
    }

    bool CloseParenthesis(std::size_t open)
    {
        const Token& t = Current();
        if (t.kind == TokenKind::kRightParen) {
            ++m_index;
            return true;
        }
        if (t.kind == TokenKind::kEnd)
            Fail(ExprErrorCode::kUnbalancedParenthesis, open);
        else
            Fail(ExprErrorCode::kOperatorExpected, t.position);
        return false;
    }

    std::unique_ptr<ExprNode> ParseField()
    {
        const Token& t = Current();
        if (t.text.size() <= kMaxFieldName) {
            for (const FieldLayout& field : m_fields) {
                if (!EqualsNoCase(field.def.name, t.text))
                    continue;
                ++m_index;
                m_requiredLength = std::max<std::size_t>(
                    m_requiredLength, std::size_t { field.offset } + field.width);
                return std::make_unique<FieldNode>(field);
            }
        }
        return Fail(ExprErrorCode::kUnknownName, t.position);
    }

    std::unique_ptr<ExprNode> ParseCall()
    {
        const Token& name = Current();
        const FunctionInfo* info = FindFunction(name.text);
        if (info == nullptr)
            return Fail(ExprErrorCode::kUnknownFunction, name.position);
        ++m_index; // the name; the tokenizer saw '(' right after it
        const std::size_t open = Current().position;
        if (!Enter(open))
            return nullptr;
        ++m_index;

        std::vector<std::unique_ptr<ExprNode>> arguments;
        if (Current().kind == TokenKind::kRightParen) {
            ++m_index;
        } else {
            while (true) {
                if (arguments.size() == kMaxArguments)
                    return Fail(ExprErrorCode::kArgumentCount, Current().position);
                auto argument = ParseOr();
                if (!argument)
                    return nullptr;
                arguments.push_back(std::move(argument));
                if (Current().kind != TokenKind::kComma)
                    break;
                ++m_index;
            }
            if (!CloseParenthesis(open))
                return nullptr;
        }
        Leave();
        const int count = static_cast<int>(arguments.size());
        if (count < info->minArguments || count > info->maxArguments)
            return Fail(ExprErrorCode::kArgumentCount, name.position);
        return std::make_unique<FunctionNode>(*info, std::move(arguments));
    }

    const std::vector<Token>& m_tokens;
    const std::vector<FieldLayout>& m_fields;
    ExprError* m_error;
    std::size_t m_index = 0;
    int m_depth = 0;
    std::size_t m_requiredLength = 0;
};

} // namespace

std::unique_ptr<ExprNode> ParseTokens(const std::vector<Token>& tokens,
    const std::vector<FieldLayout>& fields, std::size_t* requiredLength, ExprError* error)
{
    Parser parser(tokens, fields, error);
    auto root = parser.Run();
    *requiredLength = parser.RequiredLength();
    return root;
}

} // namespace table
