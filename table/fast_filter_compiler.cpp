// The compiling half of the filter's fast form: the tokens of a filter text read as the forms
// the program builds, into the leaves and groups that fast_filter.cpp tests.

#include "table/fast_filter.h"

#include "table/expression_functions.h"
#include "table/expression_text.h"
#include "table/expression_tokenizer.h"
#include "table/leading_number.h"

#include <algorithm>
#include <cmath>

namespace table {

namespace {

constexpr std::uint64_t kMantissaLimit = FastFilter::kMantissaLimit;
constexpr const double* kPowersOfTen = FastFilter::kPowersOfTen;

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    const auto upper
        = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
        return upper(x) == upper(y);
    });
}

// The comparison code of an operator token; -1 for every other operator.
int ComparisonCode(Operator op)
{
    switch (op) {
    case Operator::kEqual: return 0;
    case Operator::kNotEqual: return 1;
    case Operator::kLess: return 2;
    case Operator::kLessEqual: return 3;
    case Operator::kGreater: return 4;
    case Operator::kGreaterEqual: return 5;
    default: return -1;
    }
}

// The first mantissa m below kMantissaLimit for which `holds(m / 10^decimals)` is true, as
// a double division gives it; kMantissaLimit when there is none. REQUIRES: holds is false
// up to some m and true from there on (the division never decreases as m grows).
template <typename Holds>
std::uint64_t FirstMantissa(int decimals, Holds holds)
{
    std::uint64_t low = 0;
    std::uint64_t high = kMantissaLimit;
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        if (holds(static_cast<double>(middle) / kPowersOfTen[decimals]))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

} // namespace

// Recognises the program's filter forms in the tokens of a text; fails (and the text keeps
// the general evaluator) at the first token that is not where those forms put it.
class FastFilterCompiler
{
public:
    FastFilterCompiler(const std::vector<Token>& tokens, const std::vector<FieldLayout>& fields,
                       FastFilter& filter)
        : m_tokens(tokens)
        , m_fields(fields)
        , m_filter(filter)
    {
    }

    bool Run()
    {
        const int root = Or();
        if (root < 0 || Current().kind != TokenKind::kEnd)
            return false;
        m_filter.m_entry = m_filter.Emit(root, FastFilter::kPass, FastFilter::kFail);
        // A lone comparison is always made, and fails by itself where its number does.
        if (m_filter.m_steps.size() == 1)
            m_filter.m_numberFields.clear();
        return true;
    }

private:
    using Leaf = FastFilter::Leaf;
    using Node = FastFilter::Node;

    const Token& Current() const { return m_tokens[m_at]; }
    bool AtOperator(Operator op) const
    {
        return Current().kind == TokenKind::kOperator && Current().op == op;
    }
    bool Take(TokenKind kind)
    {
        if (Current().kind != kind)
            return false;
        ++m_at;
        return true;
    }

    // A chain of one connective, each operand one level down; a lone operand stands as it is.
    int Chain(Operator connective, Node::Kind kind, int (FastFilterCompiler::*operand)())
    {
        const int first = (this->*operand)();
        if (first < 0 || !AtOperator(connective))
            return first;
        Node node;
        node.kind = kind;
        node.children.push_back(first);
        while (AtOperator(connective)) {
            ++m_at;
            const int next = (this->*operand)();
            if (next < 0)
                return -1;
            node.children.push_back(next);
        }
        m_filter.m_nodes.push_back(std::move(node));
        return static_cast<int>(m_filter.m_nodes.size()) - 1;
    }

    int Or() { return Chain(Operator::kOr, Node::Kind::kOr, &FastFilterCompiler::And); }
    int And() { return Chain(Operator::kAnd, Node::Kind::kAnd, &FastFilterCompiler::Primary); }

    int Primary()
    {
        if (Current().kind != TokenKind::kLeftParen)
            return Comparison();
        if (++m_depth > kMaxNestingDepth)
            return -1;
        ++m_at;
        const int inner = Or();
        if (inner < 0 || !Take(TokenKind::kRightParen))
            return -1;
        --m_depth;
        return inner;
    }

    // The field a name token names, as the parser finds it: the first of that name.
    const FieldLayout* Field()
    {
        const Token& t = Current();
        if (t.kind != TokenKind::kName || t.call || t.text.size() > 10)
            return nullptr;
        for (const FieldLayout& field : m_fields) {
            if (EqualsNoCase(field.def.name, t.text)) {
                ++m_at;
                return &field;
            }
        }
        return nullptr;
    }

    // A field standing as a function's argument: every type but L gives its stored text.
    const FieldLayout* TextArgument()
    {
        const FieldLayout* field = Field();
        return field && field->def.type != 'L' ? field : nullptr;
    }

    // NAME( of a function call: the function it calls.
    const FunctionInfo* Call()
    {
        const Token& t = Current();
        if (t.kind != TokenKind::kName || !t.call)
            return nullptr;
        const FunctionInfo* info = FindFunction(t.text);
        ++m_at;
        return info && Take(TokenKind::kLeftParen) ? info : nullptr;
    }

    // The left side of a comparison, into `leaf`; the constant type it must be compared
    // with comes back ('C', 'N' or 'L'), 0 when the side is no form known here.
    char LeftSide(Leaf& leaf)
    {
        if (!Current().call) {
            const FieldLayout* field = Field();
            if (!field)
                return 0;
            leaf.offset = field->offset;
            leaf.width = field->width;
            switch (field->def.type) {
            case 'C': leaf.kind = Leaf::Kind::kText; return 'C';
            case 'N':
            case 'F': leaf.kind = Leaf::Kind::kNumber; return 'N';
            case 'L': leaf.kind = Leaf::Kind::kLogical; return 'L';
            default: return 0;
            }
        }
        const FunctionInfo* info = Call();
        if (!info)
            return 0;
        char type = 0;
        switch (info->id) {
        case FunctionId::kUpper:
        case FunctionId::kDtoc:
        case FunctionId::kLen: {
            const FieldLayout* field = TextArgument();
            if (!field)
                return 0;
            leaf.offset = field->offset;
            leaf.width = field->width;
            leaf.kind = info->id == FunctionId::kUpper ? Leaf::Kind::kFoldedText
                : info->id == FunctionId::kDtoc        ? Leaf::Kind::kText
                                                       : Leaf::Kind::kLength;
            type = info->id == FunctionId::kLen ? 'N' : 'C';
            break;
        }
        case FunctionId::kAt: {
            if (Current().kind != TokenKind::kText)
                return 0;
            leaf.text.assign(Current().text);
            ++m_at;
            if (!Take(TokenKind::kComma))
                return 0;
            bool folded = false;
            if (Current().call) {
                const FunctionInfo* inner = Call();
                if (!inner || inner->id != FunctionId::kUpper)
                    return 0;
                folded = true;
            }
            const FieldLayout* field = TextArgument();
            if (!field || (folded && !Take(TokenKind::kRightParen)))
                return 0;
            leaf.offset = field->offset;
            leaf.width = field->width;
            leaf.kind = folded ? Leaf::Kind::kFoldedFind : Leaf::Kind::kFind;
            type = 'N';
            break;
        }
        default:
            return 0;
        }
        return Take(TokenKind::kRightParen) ? type : 0;
    }

    int Comparison()
    {
        Leaf leaf;
        const char type = LeftSide(leaf);
        if (type == 0 || Current().kind != TokenKind::kOperator)
            return -1;
        leaf.op = ComparisonCode(Current().op);
        ++m_at;
        const Token& right = Current();
        if (leaf.op < 0)
            return -1;
        switch (type) {
        case 'C':
            if (right.kind != TokenKind::kText)
                return -1;
            leaf.text.assign(right.text);
            break;
        case 'N':
            if (right.kind != TokenKind::kNumber)
                return -1;
            leaf.number = right.number;
            break;
        default: // logical: only = and # (and <>) take logical operands
            if (right.kind != TokenKind::kLogical || leaf.op > 1)
                return -1;
            leaf.logical = right.logical;
            break;
        }
        ++m_at;
        // What follows must end the comparison, as the program writes it: anything else (a
        // second comparison, arithmetic) is left to the general evaluator.
        const Token& next = Current();
        if (!(next.kind == TokenKind::kEnd || next.kind == TokenKind::kRightParen
                || (next.kind == TokenKind::kOperator
                    && (next.op == Operator::kAnd || next.op == Operator::kOr))))
            return -1;
        if (leaf.kind == Leaf::Kind::kNumber && leaf.width >= 5) {
            // "1e309" is the shortest text that reads beyond a double's range.
            auto& fields = m_filter.m_numberFields;
            const std::pair<std::uint32_t, std::uint32_t> span { leaf.offset, leaf.width };
            if (std::find(fields.begin(), fields.end(), span) == fields.end())
                fields.push_back(span);
        }
        if (leaf.kind == Leaf::Kind::kNumber) {
            for (int sign = 0; sign < 2; ++sign) {
                const double c = sign == 0 ? leaf.number : -leaf.number;
                for (int decimals = 0; decimals <= 15; ++decimals) {
                    FastFilter::Bounds& bounds = leaf.bounds[sign][decimals];
                    bounds.reached = FirstMantissa(decimals, [c](double v) { return v >= c; });
                    bounds.passed = FirstMantissa(decimals, [c](double v) { return v > c; });
                }
            }
        }
        if (leaf.kind == Leaf::Kind::kFoldedFind) {
            leaf.folded[0] = std::make_unique<MappedSearch>(leaf.text, Letters(false).upper);
            leaf.folded[1] = std::make_unique<MappedSearch>(leaf.text, Letters(true).upper);
        }
        m_filter.m_leaves.push_back(std::move(leaf));
        Node node;
        node.leaf = static_cast<int>(m_filter.m_leaves.size()) - 1;
        m_filter.m_nodes.push_back(std::move(node));
        return static_cast<int>(m_filter.m_nodes.size()) - 1;
    }

    const std::vector<Token>& m_tokens;
    const std::vector<FieldLayout>& m_fields;
    FastFilter& m_filter;
    std::size_t m_at = 0;
    int m_depth = 0;
};

std::unique_ptr<FastFilter> FastFilter::Compile(std::string_view text,
                                                const std::vector<FieldLayout>& fields)
{
    std::vector<Token> tokens;
    ExprError error;
    if (text.size() > kMaxExpressionLength || !Tokenize(text, &tokens, &error))
        return nullptr;
    std::unique_ptr<FastFilter> filter(new FastFilter);
    if (!FastFilterCompiler(tokens, fields, *filter).Run())
        return nullptr;
    filter->m_upper[0] = &Letters(false).upper;
    filter->m_upper[1] = &Letters(true).upper;
    return filter;
}

} // namespace table
