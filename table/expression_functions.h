#pragma once

#include "table/expression_node.h"
#include "table/expression_text.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace table {

enum class FunctionId {
    kLen,
    kAt,
    kUpper,
    kLower,
    kDtoc,
    kStr,
    kTrim,
    kRtrim,
    kLtrim,
    kAbs,
    kAsc,
    kCdow,
    kChr,
    kCmonth,
    kDate,
    kDay,
    kDow,
    kExp,
    kIif,
    kInt,
    kIsAlpha,
    kIsLower,
    kIsUpper,
    kLeft,
    kLog,
    kMax,
    kMin,
    kMonth,
    kReplicate,
    kRight,
    kSpace,
    kSqrt,
    kSubstr,
    kVal,
    kYear,
};

// What a function takes in one argument position.
enum class ParamKind {
    kText, // character; fields of every type but L give their stored text
    kTextOrNumber, // as kText, or a computed number (STR)
    kNumber,
    kLogical,
    kAny, // character, numeric or logical (IIF branches, MAX, MIN)
};

inline constexpr int kMaxArguments = 3;
// STR's width when none is given.
inline constexpr std::size_t kStrDefaultWidth = 10;
// The longest name CDOW or CMONTH gives: Wednesday, September.
inline constexpr std::size_t kLongestDateName = 9;

struct FunctionInfo
{
    std::string_view name;
    FunctionId id;
    int minArguments;
    int maxArguments;
    ParamKind params[kMaxArguments];
};

// The function a name written before '(' stands for: the first function, in the order of
// FunctionId, whose name begins with it (SUBS for SUBSTR, LE for LEN rather than LEFT, S for STR), the
// functions the program's own expressions use coming first. Letter case does not matter.
// Nothing when no function begins with it.
const FunctionInfo* FindFunction(std::string_view name);

// A call of a function. Arguments that do not fit the function make the node's type 0; the
// argument count is the parser's to check.
class FunctionNode : public ExprNode
{
public:
    // REQUIRES: info.minArguments <= arguments.size() <= info.maxArguments.
    FunctionNode(const FunctionInfo& info, std::vector<std::unique_ptr<ExprNode>> arguments);

    bool Evaluate(const EvalContext& context, ExprValue* out) override;
    ExprNode* CaseArgument(bool* upper) override;

private:
    void SetResultType();
    bool EvaluateIif(const EvalContext& context, ExprValue* out);
    bool EvaluateCase(const EvalContext& context, ExprValue* out);
    void FindMappedSearch();
    bool EvaluateMappedAt(const EvalContext& context, ExprValue* out);
    bool Call(const EvalContext& context, const ExprValue* args, ExprValue* out);
    bool CallText(const EvalContext& context, const ExprValue* args, ExprValue* out);
    bool CallNumber(const ExprValue* args, ExprValue* out);
    bool CallDate(const ExprValue* args, ExprValue* out);
    bool Str(const ExprValue* args, ExprValue* out);
    bool Repeat(std::string_view unit, double count, ExprValue* out);

    const FunctionInfo& m_info;
    std::vector<std::unique_ptr<ExprNode>> m_arguments;
    std::string m_scratch; // results the function builds (UPPER, STR, SPACE, ...)
    // The arguments' values of the evaluation under way. Kept here rather than made and
    // cleared each evaluation, which cost more than a short function's work: each slot
    // only ever takes the values of its own argument node, which sets what its type needs.
    ExprValue m_args[kMaxArguments];
    // AT(constant, UPPER(x)) and AT(constant, LOWER(x)), as a filter that ignores letter
    // case looks for a text: x searched through the case table of 1251 or 866 text, without
    // the upper-case copy. Null for every other call.
    struct MappedAt
    {
        ExprNode* text; // x, owned by the UPPER or LOWER call
        MappedSearch search[2];
    };
    std::unique_ptr<MappedAt> m_mappedAt;
    // The case tables of 1251 and of 866 text, for UPPER and LOWER.
    const LetterTables* m_letters[2] = { nullptr, nullptr };
};

} // namespace table
