// The testing half of the filter's fast form: compiled leaves and groups run on record
// bytes (fast_filter_compiler.cpp makes them).

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

} // namespace

FastFilter::FastFilter() = default;
FastFilter::~FastFilter() = default;

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
