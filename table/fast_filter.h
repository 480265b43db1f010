#pragma once

#include "table/field_def.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace table {

class MappedSearch;

// The filter expressions the program builds, recognised once when a filter is set and
// then tested straight on record bytes, without the general evaluator's values and calls:
// comparisons of a field with a constant (text compared byte-wise, UPPER through the case
// table of the table's code page, DTOC as the stored date text, numbers as their values),
// LEN(F) and AT('X', F) or AT('X', UPPER(F)) compared with a number, F=.T. and F=.F., and
// groups of them joined by .AND. and .OR. with parentheses, cut short as soon as the group's
// answer is known.
//
// Compile() gives nothing for every other text; that text keeps the general evaluator. For
// the texts it takes, Test() gives the general evaluator's answer ("is the expression
// true") for every record - or kUnsure for the rare record whose answer needs the general
// evaluator: one that passes here but whose numeric field holds an exponent, which could
// overflow and so make the whole expression fail in the general evaluator even where a
// short cut skipped that field.
//
// REQUIRES: records given to Test() are records of the table whose fields were given to
// Compile() (every field lies inside them). Not copyable; Test() changes nothing.
class FastFilter
{
public:
    enum class Answer { kFalse, kTrue, kUnsure };

    // `text` as the table keeps it (in the table's code page), already accepted by the
    // general parser.
    static std::unique_ptr<FastFilter> Compile(std::string_view text,
                                               const std::vector<FieldLayout>& fields);
    ~FastFilter();
    FastFilter(const FastFilter&) = delete;
    FastFilter& operator=(const FastFilter&) = delete;

    // `oem`: the table's text is code page 866 (UPPER folds through its case table).
    Answer Test(const std::uint8_t* record, bool oem) const;

    // For a scan: the first of `count` records of `length` bytes from `run` whose answer is
    // not kFalse (in `*answer`), leaving out records marked for deletion when `deleted` is
    // 1 and unmarked ones when it is 2; `count` when there is none.
    std::uint32_t FindFirst(const std::uint8_t* run, std::uint32_t count, std::size_t length,
                            bool oem, int deleted, Answer* answer) const;

    // Plain stored numbers have at most 15 digits, which a double carries exactly.
    static constexpr std::uint64_t kMantissaLimit = 1000000000000000u;
    static constexpr double kPowersOfTen[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
        1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15 };

    // A plain stored number as its digits: (-)mantissa / 10^decimals.
    struct Digits
    {
        std::uint64_t mantissa = 0;
        int decimals = 0;
        bool negative = false;
    };
    // For one count of decimals: the mantissas from `reached` on read as at least the
    // constant, those from `passed` on as more than it.
    struct Bounds
    {
        std::uint64_t reached = 0;
        std::uint64_t passed = 0;
    };

    // One comparison of the filter.
    struct Leaf
    {
        enum class Kind { kText, kFoldedText, kNumber, kLength, kFind, kFoldedFind, kLogical };
        Kind kind = Kind::kText;
        int op = 0; // a comparison: 0 =, 1 #, 2 <, 3 <=, 4 >, 5 >=
        std::uint32_t offset = 0;
        std::uint32_t width = 0;
        std::string text;  // the text compared with, or looked for
        double number = 0; // the number compared with
        bool logical = false;
        std::unique_ptr<MappedSearch> folded[2]; // kFoldedFind: for 1251 and 866 text
        Bounds bounds[2][16]; // kNumber: for positive and negative texts, by decimals
    };

    // A node of the group tree: a leaf, or an .AND. / .OR. of children.
    struct Node
    {
        enum class Kind { kLeaf, kAnd, kOr };
        Kind kind = Kind::kLeaf;
        int leaf = -1;                // kLeaf: index into the leaves
        std::vector<int> children;    // kAnd, kOr: node indexes
    };

    // One comparison of the short-cut code: where to go next when it holds and when not
    // (another step, or kPass / kFail).
    struct Step
    {
        int leaf = 0;
        int onTrue = 0;
        int onFalse = 0;
    };
    static constexpr int kPass = -1;
    static constexpr int kFail = -2;

private:
    FastFilter();
    int Emit(int node, int onTrue, int onFalse);
    int Cost(int node) const;
    bool TestLeaf(const Leaf& leaf, const std::uint8_t* record, bool oem) const;
    template <Leaf::Kind kKind>
    bool TestAs(const Leaf& leaf, const std::uint8_t* record, bool oem) const;
    bool NumbersAreSafe(const std::uint8_t* record) const;

    friend class FastFilterCompiler;
    std::vector<Leaf> m_leaves;
    std::vector<Node> m_nodes;
    std::vector<Step> m_steps; // the tree as short-cut code
    int m_entry = kFail;
    // Numeric fields read as numbers, wide enough to hold an exponent that overflows.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_numberFields; // offset, width
    const std::array<unsigned char, 256>* m_upper[2] = { nullptr, nullptr }; // 1251, 866
};

} // namespace table
