#include "classifiers/classifier_tables.h"

#include "platform/code_page.h"
#include "platform/file_system.h"

namespace classifiers {
namespace {

using tablegrid::FilterCondition;
using tablegrid::FilterNode;
using tablegrid::FilterOp;

// The digits before a code's district, and the digits of a settlement's code without its
// actuality digits.
constexpr std::size_t kRegionDigits = 2;
constexpr std::size_t kSettlementDigits = 11;
constexpr std::size_t kRegionZeros = 9;

FilterNode CodeCondition(FilterOp op, std::string value)
{
    FilterNode leaf;
    leaf.kind = FilterNode::Kind::kLeaf;
    FilterCondition& c = leaf.condition;
    c.isOrSeparator = false;
    c.column = kCodeField;
    c.op = op;
    c.caseSensitive = true;
    c.value = std::move(value);
    c.fieldType = 'C';
    return leaf;
}

FilterNode Between(std::string low, std::string high)
{
    FilterNode group;
    group.kind = FilterNode::Kind::kAnd;
    group.children.push_back(CodeCondition(FilterOp::kGreaterOrEqual, std::move(low)));
    group.children.push_back(CodeCondition(FilterOp::kLessOrEqual, std::move(high)));
    return group;
}

} // namespace

bool IsClassifierTable(const std::string& path, std::string_view name)
{
    std::string base = platform::BaseNameOf(path);
    std::string wanted(name);
    platform::ToUpper1251(base);
    platform::ToUpper1251(wanted);
    return base == wanted;
}

bool IsRegionCode(std::string_view code)
{
    if (code.size() < kRegionDigits + kRegionZeros)
        return false;
    return code.find_first_not_of('0', kRegionDigits) == std::string_view::npos;
}

FilterNode RegionSelectionFilter(const std::string& regionCode)
{
    return Between(regionCode, regionCode.substr(0, kRegionDigits) + std::string(kRegionZeros, '9'));
}

FilterNode SettlementSelectionFilter(const std::string& settlementCode)
{
    const std::string settlement = settlementCode.substr(0, kSettlementDigits);
    return Between(settlement + "000000", settlement + "999999");
}

} // namespace classifiers
