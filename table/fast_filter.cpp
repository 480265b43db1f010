#include "table/fast_filter.h"

#include "table/expression_functions.h"
#include "table/expression_text.h"
#include "table/expression_tokenizer.h"
#include "table/leading_number.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace table {

namespace {

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

bool Holds(int op, int order)
{
    switch (op) {
    case 0: return order == 0;
    case 1: return order != 0;
    case 2: return order < 0;
    case 3: return order <= 0;
    case 4: return order > 0;
    default: return order >= 0;
    }
}

int NumberOrder(double a, double b)
{
    return a < b ? -1 : a > b ? 1 : 0;
}

// Whether the bytes hold an exponent mark, e or E: only then can a stored number read
// beyond a double's range. Eight bytes at a time.
bool HoldsExponentMark(const std::uint8_t* at, std::uint32_t width)
{
    constexpr std::uint64_t kEach = 0x0101010101010101u;
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    const auto marked = [&](std::uint64_t word) {
        // (b | 0x20) == 'e' for e and E; a zero byte of the difference marks one.
        const std::uint64_t diff = (word | (kEach * 0x20)) ^ (kEach * 'e');
        return ((diff - kEach) & ~diff & kHigh) != 0;
    };
    std::uint32_t i = 0;
    for (; i + 8 <= width; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, at + i, 8);
        if (marked(word))
            return true;
    }
    for (; i < width; ++i) {
        if ((at[i] | 0x20) == 'e')
            return true;
    }
    return false;
}

constexpr double kPowersOfTen[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10,
    1e11, 1e12, 1e13, 1e14, 1e15 };
constexpr std::uint64_t kMantissaLimit = 1000000000000000u; // 15 digits

// A stored number of the plain form - blanks, an optional sign, at most 15 digits with an
// optional point, blanks - as its digits: LeadingNumber reads it as the digits as one
// integer divided once by 10^decimals. False for any other text.
bool PlainDigits(const std::uint8_t* p, std::uint32_t width, FastFilter::Digits* digits)
{
    std::uint32_t i = 0;
    while (i < width && p[i] == ' ')
        ++i;
    digits->negative = false;
    if (i < width && (p[i] == '-' || p[i] == '+')) {
        digits->negative = p[i] == '-';
        ++i;
    }
    std::uint64_t mantissa = 0;
    int count = 0;
    int decimals = 0;
    for (; i < width && static_cast<unsigned>(p[i] - '0') < 10u; ++i, ++count)
        mantissa = mantissa * 10 + (p[i] - '0');
    if (i < width && p[i] == '.') {
        for (++i; i < width && static_cast<unsigned>(p[i] - '0') < 10u; ++i, ++count, ++decimals)
            mantissa = mantissa * 10 + (p[i] - '0');
    }
    while (i < width && p[i] == ' ')
        ++i;
    if (i != width || count > 15)
        return false;
    digits->mantissa = mantissa;
    digits->decimals = decimals;
    return true;
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

FastFilter::FastFilter() = default;
FastFilter::~FastFilter() = default;

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

bool FastFilter::NumbersAreSafe(const std::uint8_t* record) const
{
    for (const auto& [offset, width] : m_numberFields) {
        if (HoldsExponentMark(record + offset, width))
            return false;
    }
    return true;
}

// The code of a node, going to onTrue when it holds and to onFalse when not; its entry
// step comes back. A group's children are emitted last to first, so each knows where the
// next one starts: in an .AND. a child that holds goes on to the next, in an .OR. one that
// fails does.
int FastFilter::Emit(int index, int onTrue, int onFalse)
{
    const Node& node = m_nodes[static_cast<std::size_t>(index)];
    if (node.kind == Node::Kind::kLeaf) {
        m_steps.push_back({ node.leaf, onTrue, onFalse });
        return static_cast<int>(m_steps.size()) - 1;
    }
    // Cheap comparisons first: no comparison here can fail (a number that could is caught
    // by Test), so the order decides only how soon a group's answer is known.
    // Children are made left to right, so their indexes keep the written order among equals.
    std::vector<int> children = node.children;
    std::sort(children.begin(), children.end(), [this](int a, int b) {
        const int costA = Cost(a);
        const int costB = Cost(b);
        return costA != costB ? costA < costB : a < b;
    });
    const bool all = node.kind == Node::Kind::kAnd;
    int entry = Emit(children.back(), onTrue, onFalse);
    for (std::size_t i = children.size() - 1; i-- > 0;)
        entry = all ? Emit(children[i], entry, onFalse) : Emit(children[i], onTrue, entry);
    return entry;
}

// A rough price of testing a node: its comparisons' kinds, summed.
int FastFilter::Cost(int index) const
{
    const Node& node = m_nodes[static_cast<std::size_t>(index)];
    if (node.kind != Node::Kind::kLeaf) {
        int sum = 0;
        for (const int child : node.children)
            sum += Cost(child);
        return sum;
    }
    const Leaf& leaf = m_leaves[static_cast<std::size_t>(node.leaf)];
    switch (leaf.kind) {
    case Leaf::Kind::kLogical: return 1;
    case Leaf::Kind::kText: return 2;
    case Leaf::Kind::kLength: return 3;
    case Leaf::Kind::kNumber: return 4;
    case Leaf::Kind::kFoldedText: return 4;
    case Leaf::Kind::kFind: return 6;
    case Leaf::Kind::kFoldedFind: return 8;
    }
    return 8;
}

FastFilter::Answer FastFilter::Test(const std::uint8_t* record, bool oem) const
{
    if (m_steps.size() == 1)
        return TestLeaf(m_leaves.front(), record, oem) ? Answer::kTrue : Answer::kFalse;
    int at = m_entry;
    while (at >= 0) {
        const Step& step = m_steps[static_cast<std::size_t>(at)];
        at = TestLeaf(m_leaves[static_cast<std::size_t>(step.leaf)], record, oem) ? step.onTrue
                                                                                   : step.onFalse;
    }
    if (at == kFail)
        return Answer::kFalse; // false, or failing in the general evaluator: not true either way
    // A number read beyond a double's range fails the general evaluation of the whole
    // expression, even in a comparison the short cut never reached.
    return m_numberFields.empty() || NumbersAreSafe(record) ? Answer::kTrue : Answer::kUnsure;
}

template <FastFilter::Leaf::Kind kKind>
inline bool FastFilter::TestAs(const Leaf& leaf, const std::uint8_t* record, bool oem) const
{
    const std::uint8_t* bytes = record + leaf.offset;
    const std::string_view stored(reinterpret_cast<const char*>(bytes), leaf.width);
    const std::size_t size = leaf.text.size();
    const auto* text = reinterpret_cast<const std::uint8_t*>(leaf.text.data());
    using Kind = Leaf::Kind;
    if constexpr (kKind == Kind::kText) {
        // Equal only when both texts are the same bytes, length included.
        if (leaf.op <= 1)
            return (leaf.width == size && std::memcmp(bytes, text, size) == 0) == (leaf.op == 0);
        const int order = std::memcmp(bytes, text, std::min<std::size_t>(leaf.width, size));
        if (order != 0)
            return Holds(leaf.op, order);
        return Holds(leaf.op, leaf.width < size ? -1 : leaf.width > size ? 1 : 0);
    } else if constexpr (kKind == Kind::kFoldedText) {
        const std::array<unsigned char, 256>& upper = *m_upper[oem ? 1 : 0];
        if (leaf.op <= 1 && leaf.width != size)
            return leaf.op == 1;
        const std::size_t n = std::min<std::size_t>(leaf.width, size);
        for (std::size_t i = 0; i < n; ++i) {
            const unsigned char mapped = upper[bytes[i]];
            if (mapped != text[i])
                return Holds(leaf.op, mapped < text[i] ? -1 : 1);
        }
        return Holds(leaf.op, leaf.width < size ? -1 : leaf.width > size ? 1 : 0);
    } else if constexpr (kKind == Kind::kNumber) {
        Digits digits;
        if (!PlainDigits(bytes, leaf.width, &digits)) {
            // A number beyond a double's range fails the general evaluation, which is not
            // true; a group that still passes is sent back by Test.
            const double value = LeadingNumber(stored);
            return std::isfinite(value) && Holds(leaf.op, NumberOrder(value, leaf.number));
        }
        // The digits decide: for their count of decimals, the mantissas whose value falls
        // below, on or above the constant are three runs worked out when compiling. A
        // negative value -x is to the constant c as c's negation is to x.
        const Bounds& bounds = leaf.bounds[digits.negative ? 1 : 0][digits.decimals];
        const int order = digits.mantissa < bounds.reached ? -1
            : digits.mantissa < bounds.passed             ? 0
                                                          : 1;
        return Holds(leaf.op, digits.negative ? -order : order);
    } else if constexpr (kKind == Kind::kLength)
        return Holds(leaf.op,
                     NumberOrder(static_cast<double>(TrimTrailingSpaces(stored).size()), leaf.number));
    else if constexpr (kKind == Kind::kFind) {
        std::size_t position = 0;
        if (leaf.width >= size) {
            const std::size_t found = stored.find(leaf.text);
            position = found == std::string_view::npos ? 0 : found + 1;
        }
        return Holds(leaf.op, NumberOrder(static_cast<double>(position), leaf.number));
    } else if constexpr (kKind == Kind::kFoldedFind) {
        const std::size_t found = leaf.folded[oem ? 1 : 0]->Find(stored);
        const double position = found == std::string_view::npos ? 0 : static_cast<double>(found + 1);
        return Holds(leaf.op, NumberOrder(position, leaf.number));
    } else if constexpr (kKind == Kind::kLogical) {
        const bool value = leaf.width > 0 && (bytes[0] == 'T' || bytes[0] == 't');
        return (value == leaf.logical) == (leaf.op == 0);
    } else {
        return false;
    }
}


inline bool FastFilter::TestLeaf(const Leaf& leaf, const std::uint8_t* record, bool oem) const
{
    switch (leaf.kind) {
    case Leaf::Kind::kText: return TestAs<Leaf::Kind::kText>(leaf, record, oem);
    case Leaf::Kind::kFoldedText: return TestAs<Leaf::Kind::kFoldedText>(leaf, record, oem);
    case Leaf::Kind::kNumber: return TestAs<Leaf::Kind::kNumber>(leaf, record, oem);
    case Leaf::Kind::kLength: return TestAs<Leaf::Kind::kLength>(leaf, record, oem);
    case Leaf::Kind::kFind: return TestAs<Leaf::Kind::kFind>(leaf, record, oem);
    case Leaf::Kind::kFoldedFind: return TestAs<Leaf::Kind::kFoldedFind>(leaf, record, oem);
    case Leaf::Kind::kLogical: return TestAs<Leaf::Kind::kLogical>(leaf, record, oem);
    }
    return false;
}

// The first record of a run not marked (or marked) as `deleted` asks whose `test` holds.
template <typename Test>
std::uint32_t FirstOf(const std::uint8_t* run, std::uint32_t count, std::size_t length,
                      int deleted, Test test)
{
    for (std::uint32_t i = 0; i < count; ++i, run += length) {
        if (deleted != 0 && (run[0] == '*') != (deleted == 2))
            continue;
        if (test(run))
            return i;
    }
    return count;
}

std::uint32_t FastFilter::FindFirst(const std::uint8_t* run, std::uint32_t count,
                                    std::size_t length, bool oem, int deleted,
                                    Answer* answer) const
{
    *answer = Answer::kTrue;
    if (m_steps.size() == 1) {
        // One comparison: its kind is settled once for the whole run.
        const Leaf& leaf = m_leaves.front();
        const auto as = [&]<Leaf::Kind kKind>() {
            return FirstOf(run, count, length, deleted,
                           [&](const std::uint8_t* r) { return TestAs<kKind>(leaf, r, oem); });
        };
        switch (leaf.kind) {
        case Leaf::Kind::kText: return as.template operator()<Leaf::Kind::kText>();
        case Leaf::Kind::kFoldedText: return as.template operator()<Leaf::Kind::kFoldedText>();
        case Leaf::Kind::kNumber: return as.template operator()<Leaf::Kind::kNumber>();
        case Leaf::Kind::kLength: return as.template operator()<Leaf::Kind::kLength>();
        case Leaf::Kind::kFind: return as.template operator()<Leaf::Kind::kFind>();
        case Leaf::Kind::kFoldedFind: return as.template operator()<Leaf::Kind::kFoldedFind>();
        case Leaf::Kind::kLogical: return as.template operator()<Leaf::Kind::kLogical>();
        }
        return count;
    }
    return FirstOf(run, count, length, deleted, [&](const std::uint8_t* r) {
        *answer = Test(r, oem);
        return *answer != Answer::kFalse;
    });
}

} // namespace table
