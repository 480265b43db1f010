#include "table/expression_functions.h"

#include "table/expression_text.h"

#include <algorithm>
#include <cassert>

namespace table {

namespace {

using P = ParamKind;

// The functions the program's own expressions use come first, then the rest of the xBase
// set. Dates are "YYYYMMDD" texts throughout, as a date field gives them.
constexpr FunctionInfo kFunctions[] = {
    { "LEN", FunctionId::kLen, 1, 1, { P::kText } },
    { "AT", FunctionId::kAt, 2, 2, { P::kText, P::kText } },
    { "UPPER", FunctionId::kUpper, 1, 1, { P::kText } },
    { "LOWER", FunctionId::kLower, 1, 1, { P::kText } },
    { "DTOC", FunctionId::kDtoc, 1, 1, { P::kText } },
    { "STR", FunctionId::kStr, 1, 3, { P::kTextOrNumber, P::kNumber, P::kNumber } },
    { "TRIM", FunctionId::kTrim, 1, 1, { P::kText } },
    { "RTRIM", FunctionId::kRtrim, 1, 1, { P::kText } },
    { "LTRIM", FunctionId::kLtrim, 1, 1, { P::kText } },
    { "ABS", FunctionId::kAbs, 1, 1, { P::kNumber } },
    { "ASC", FunctionId::kAsc, 1, 1, { P::kText } },
    { "CDOW", FunctionId::kCdow, 1, 1, { P::kText } },
    { "CHR", FunctionId::kChr, 1, 1, { P::kNumber } },
    { "CMONTH", FunctionId::kCmonth, 1, 1, { P::kText } },
    { "DATE", FunctionId::kDate, 0, 0, {} },
    { "DAY", FunctionId::kDay, 1, 1, { P::kText } },
    { "DOW", FunctionId::kDow, 1, 1, { P::kText } },
    { "EXP", FunctionId::kExp, 1, 1, { P::kNumber } },
    { "IIF", FunctionId::kIif, 3, 3, { P::kLogical, P::kAny, P::kAny } },
    { "INT", FunctionId::kInt, 1, 1, { P::kNumber } },
    { "ISALPHA", FunctionId::kIsAlpha, 1, 1, { P::kText } },
    { "ISLOWER", FunctionId::kIsLower, 1, 1, { P::kText } },
    { "ISUPPER", FunctionId::kIsUpper, 1, 1, { P::kText } },
    { "LEFT", FunctionId::kLeft, 2, 2, { P::kText, P::kNumber } },
    { "LOG", FunctionId::kLog, 1, 1, { P::kNumber } },
    { "MAX", FunctionId::kMax, 2, 2, { P::kAny, P::kAny } },
    { "MIN", FunctionId::kMin, 2, 2, { P::kAny, P::kAny } },
    { "MONTH", FunctionId::kMonth, 1, 1, { P::kText } },
    { "REPLICATE", FunctionId::kReplicate, 2, 2, { P::kText, P::kNumber } },
    { "RIGHT", FunctionId::kRight, 2, 2, { P::kText, P::kNumber } },
    { "SPACE", FunctionId::kSpace, 1, 1, { P::kNumber } },
    { "SQRT", FunctionId::kSqrt, 1, 1, { P::kNumber } },
    { "SUBSTR", FunctionId::kSubstr, 2, 3, { P::kText, P::kNumber, P::kNumber } },
    { "VAL", FunctionId::kVal, 1, 1, { P::kText } },
    { "YEAR", FunctionId::kYear, 1, 1, { P::kText } },
};

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Upper(text[i]) != Upper(prefix[i]))
            return false;
    }
    return true;
}

bool Accepts(ParamKind kind, char type)
{
    switch (kind) {
    case ParamKind::kText:
        return type == 'C';
    case ParamKind::kTextOrNumber:
        return type == 'C' || type == 'N';
    case ParamKind::kNumber:
        return type == 'N';
    case ParamKind::kLogical:
        return type == 'L';
    case ParamKind::kAny:
        return type != 0;
    }
    return false;
}

} // namespace

const FunctionInfo* FindFunction(std::string_view name)
{
    if (name.empty())
        return nullptr;
    // No name of the table begins another name before it, so the first match is also the
    // function of exactly that name when there is one.
    for (const FunctionInfo& f : kFunctions) {
        if (StartsWithNoCase(f.name, name))
            return &f;
    }
    return nullptr;
}

FunctionNode::FunctionNode(
    const FunctionInfo& info, std::vector<std::unique_ptr<ExprNode>> arguments)
    : m_info(info)
    , m_arguments(std::move(arguments))
{
    assert(static_cast<int>(m_arguments.size()) >= info.minArguments
        && static_cast<int>(m_arguments.size()) <= info.maxArguments);
    for (std::size_t i = 0; i < m_arguments.size(); ++i) {
        const ParamKind kind = m_info.params[i];
        m_arguments[i]->BecomeArgument(
            kind == ParamKind::kText || kind == ParamKind::kTextOrNumber);
    }
    SetResultType();
    if (m_info.id == FunctionId::kUpper || m_info.id == FunctionId::kLower) {
        m_letters[0] = &Letters(false);
        m_letters[1] = &Letters(true);
    }
    if (m_info.id == FunctionId::kAt && m_type != 0)
        FindMappedSearch();
}

ExprNode* FunctionNode::CaseArgument(bool* upper)
{
    if (m_type == 0 || (m_info.id != FunctionId::kUpper && m_info.id != FunctionId::kLower))
        return nullptr;
    *upper = m_info.id == FunctionId::kUpper;
    return m_arguments[0].get();
}

// AT of a character constant in UPPER(x) or LOWER(x) that can be evaluated.
void FunctionNode::FindMappedSearch()
{
    const auto* needle = dynamic_cast<const ConstantNode*>(m_arguments[0].get());
    bool upper = false;
    ExprNode* text = m_arguments[1]->CaseArgument(&upper);
    if (!needle || needle->Type() != 'C' || !text)
        return;
    const LetterTables& ansi = Letters(false);
    const LetterTables& oem = Letters(true);
    m_mappedAt.reset(new MappedAt { text,
        { MappedSearch(needle->TextValue(), upper ? ansi.upper : ansi.lower),
            MappedSearch(needle->TextValue(), upper ? oem.upper : oem.lower) } });
}

void FunctionNode::SetResultType()
{
    m_type = 0;
    for (std::size_t i = 0; i < m_arguments.size(); ++i) {
        if (!Accepts(m_info.params[i], m_arguments[i]->Type()))
            return;
    }
    const auto argLength = [this](std::size_t i) { return m_arguments[i]->MaxLength(); };
    bool buildsText = false;
    switch (m_info.id) {
    case FunctionId::kLen:
    case FunctionId::kAt:
    case FunctionId::kAbs:
    case FunctionId::kAsc:
    case FunctionId::kDay:
    case FunctionId::kDow:
    case FunctionId::kExp:
    case FunctionId::kInt:
    case FunctionId::kLog:
    case FunctionId::kMonth:
    case FunctionId::kSqrt:
    case FunctionId::kVal:
    case FunctionId::kYear:
        m_type = 'N';
        break;
    case FunctionId::kIsAlpha:
    case FunctionId::kIsLower:
    case FunctionId::kIsUpper:
        m_type = 'L';
        break;
    case FunctionId::kUpper:
    case FunctionId::kLower:
        buildsText = true;
        [[fallthrough]];
    case FunctionId::kDtoc:
    case FunctionId::kTrim:
    case FunctionId::kRtrim:
    case FunctionId::kLtrim:
    case FunctionId::kLeft:
    case FunctionId::kRight:
    case FunctionId::kSubstr:
        m_type = 'C';
        m_maxLength = argLength(0);
        break;
    case FunctionId::kStr:
        m_type = 'C';
        m_maxLength = m_arguments.size() == 1 ? kStrDefaultWidth : kUnbounded;
        buildsText = true;
        break;
    case FunctionId::kCdow:
    case FunctionId::kCmonth:
        m_type = 'C';
        m_maxLength = kLongestDateName;
        break;
    case FunctionId::kChr:
        m_type = 'C';
        m_maxLength = 1;
        buildsText = true;
        break;
    case FunctionId::kDate:
        m_type = 'C';
        m_maxLength = 8;
        buildsText = true;
        break;
    case FunctionId::kReplicate:
    case FunctionId::kSpace:
        m_type = 'C';
        m_maxLength = kUnbounded;
        buildsText = true;
        break;
    case FunctionId::kIif:
    case FunctionId::kMax:
    case FunctionId::kMin: {
        // The two values that may come out must be of one type; MAX and MIN order them, so
        // logicals are out.
        const std::size_t first = m_info.id == FunctionId::kIif ? 1 : 0;
        const char a = m_arguments[first]->Type();
        const char b = m_arguments[first + 1]->Type();
        if (a != b || (a == 'L' && m_info.id != FunctionId::kIif))
            return;
        m_type = a;
        m_maxLength = std::max(argLength(first), argLength(first + 1));
        break;
    }
    }
    if (buildsText && m_maxLength != kUnbounded)
        m_scratch.reserve(std::min(m_maxLength, kMaxTextLength));
}

bool FunctionNode::Evaluate(const EvalContext& context, ExprValue* out)
{
    if (m_type == 0)
        return false;
    switch (m_info.id) {
    case FunctionId::kIif:
        return EvaluateIif(context, out);
    case FunctionId::kUpper:
    case FunctionId::kLower:
        return EvaluateCase(context, out);
    case FunctionId::kAt:
        if (m_mappedAt)
            return EvaluateMappedAt(context, out);
        break;
    default:
        break;
    }
    ExprValue* args = m_args;
    for (std::size_t i = 0; i < m_arguments.size(); ++i) {
        if (!m_arguments[i]->Evaluate(context, &args[i]))
            return false;
    }
    out->type = m_type;
    out->text = {};
    out->number = 0;
    out->logical = false;
    return Call(context, args, out);
}

// UPPER and LOWER, which every condition of a filter that ignores letter case calls once a
// record, straight to the case tables.
bool FunctionNode::EvaluateCase(const EvalContext& context, ExprValue* out)
{
    ExprValue text;
    if (!m_arguments[0]->Evaluate(context, &text))
        return false;
    CaseMapped(text.text, *m_letters[context.oem ? 1 : 0], m_info.id == FunctionId::kUpper,
               &m_scratch);
    *out = ExprValue {};
    out->type = m_type;
    out->text = m_scratch;
    return true;
}

// AT(constant, UPPER(x)): x has the length of UPPER(x), and the search reads it through the
// table UPPER would have used.
bool FunctionNode::EvaluateMappedAt(const EvalContext& context, ExprValue* out)
{
    ExprValue& text = m_args[1];
    if (!m_mappedAt->text->Evaluate(context, &text))
        return false;
    const std::size_t found = m_mappedAt->search[context.oem ? 1 : 0].Find(text.text);
    *out = ExprValue {};
    out->type = 'N';
    out->number = found == std::string_view::npos ? 0 : static_cast<double>(found + 1);
    return true;
}

// Only the chosen branch is evaluated, so IIF can guard a branch that would fail.
bool FunctionNode::EvaluateIif(const EvalContext& context, ExprValue* out)
{
    ExprValue condition;
    if (!m_arguments[0]->Evaluate(context, &condition))
        return false;
    return m_arguments[condition.logical ? 1 : 2]->Evaluate(context, out);
}

bool FunctionNode::Call(const EvalContext& context, const ExprValue* args, ExprValue* out)
{
    switch (m_type) {
    case 'N':
        switch (m_info.id) {
        case FunctionId::kDay:
        case FunctionId::kDow:
        case FunctionId::kMonth:
        case FunctionId::kYear:
            return CallDate(args, out);
        default:
            return CallNumber(args, out);
        }
    case 'C':
    case 'L':
        return CallText(context, args, out);
    }
    return false;
}

} // namespace table
