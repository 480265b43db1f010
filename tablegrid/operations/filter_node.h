#pragma once

#include <string>
#include <vector>

namespace tablegrid {

// The operators of a filter condition, numbered as the filter keeps them.
enum class FilterOp {
    kEmpty = 0,
    kNotEmpty = 1,
    kTrue = 2,
    kFalse = 3,
    kEqual = 4,
    kNotEqual = 5,
    kLess = 6,
    kLessOrEqual = 7,
    kGreater = 8,
    kGreaterOrEqual = 9,
    kContains = 10,
    kNotContains = 11,
};

// One entry of a filter's condition list: a condition on a column (by the title the grid
// shows), or an OR separator between groups of conditions. Texts in code page 1251.
struct FilterCondition
{
    bool isOrSeparator = false;
    std::string column;
    FilterOp op = FilterOp::kEqual;
    bool caseSensitive = false; // character columns only
    std::string value;          // as typed; empty for kEmpty..kFalse
    char fieldType = 0;         // the column's type letter when the condition was made

    friend bool operator==(const FilterCondition&, const FilterCondition&) = default;
};

// The conditions of a filter as a tree: a leaf holds one condition, an AND group conditions
// that must all hold, an OR group alternatives. A new node is an empty AND group (no
// filter).
struct FilterNode
{
    enum class Kind { kLeaf = 0, kAnd = 1, kOr = 2 };

    Kind kind = Kind::kAnd;
    std::vector<FilterNode> children;
    FilterCondition condition; // of a leaf

    void Clear() { *this = FilterNode(); }
    // A leaf, or a group with children.
    bool HasConditions() const { return kind == Kind::kLeaf || !children.empty(); }

    friend bool operator==(const FilterNode&, const FilterNode&) = default;
};

// What the builder needs of a grid column: the title a condition names it by, the field
// name used in expressions, the field's type letter and width.
struct FilterColumn
{
    std::string title;
    std::string fieldName;
    char type = 0;
    int width = 0;
};

// The operators the Filter dialog offers for a column of type letter `type`, in its order:
// dates and numbers (and a column not found, type 0) the six comparisons; logicals true and
// false; characters, memos and every other type empty, not empty, the comparisons,
// contains and does not contain.
std::vector<FilterOp> FilterOpsFor(char type);
// Whether a typed value may make a condition: a date as DD.MM.YYYY or DD.MM.YY, a number
// (blanks around it and one leading sign aside) only of ".0123456789". Other types take any
// value. Operators without a value take any text (it is dropped).
bool IsValidFilterValue(char type, FilterOp op, const std::string& value);
// The first entry that spoils a condition list: a separator first, after another one, or
// last. -1 when the list is good.
int FindBadSeparator(const std::vector<FilterCondition>& entries);
// Whether the operator is one that takes no value.
bool FilterOpTakesNoValue(FilterOp op);

// The tree of a condition list: no conditions, an empty AND group; one condition, a leaf;
// more entries, an OR group of the runs between separators (a run of one condition a leaf,
// a longer run an AND group), empty runs dropped.
FilterNode BuildFilterTree(const std::vector<FilterCondition>& entries);
// The condition list of a tree, separators between the OR group's children.
std::vector<FilterCondition> FlattenFilterTree(const FilterNode& root);

// The first column titled `title`, byte for byte; -1 when there is none.
int FindFilterColumn(const std::vector<FilterColumn>& columns, const std::string& title);

// The expression of a tree, in code page 1251 (the table converts it for a DOS table). A
// condition on a column no longer there gives the empty text, which makes its group "()"
// and the whole expression one the evaluator refuses.
//
// A character value compared (=, #, <, <=, >, >=) is padded with blanks to the field's width,
// so that "Ivan" equals a C(20) field holding Ivan, as a user reads it. A value is quoted
// with '"' when it holds an apostrophe (and no '"'), else with '\''.
std::string BuildFilterExpression(const FilterNode& node, const std::vector<FilterColumn>& columns);

} // namespace tablegrid
