#include "tablegrid/operations/filter_node.h"

#include "platform/code_page.h"
#include "table/date_format.h"

#include <cstdio>

namespace tablegrid {

namespace {

// A value in quotes the evaluator reads back as it is. A value holding both quotes has no
// such form: it stays in apostrophes and the evaluator refuses the expression.
std::string Quoted(const std::string& value)
{
    if (value.find('\'') != std::string::npos && value.find('"') == std::string::npos)
        return '"' + value + '"';
    return '\'' + value + '\'';
}

// DD.MM.YYYY or DD.MM.YY with two digits for the day and the month, naming a day that
// exists (a two-digit year as the dates of the tables read it).
bool IsDayMonthYear(const std::string& text)
{
    if (text.size() != 10 && text.size() != 8)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dot = i == 2 || i == 5;
        if (dot ? text[i] != '.' : (text[i] < '0' || text[i] > '9'))
            return false;
    }
    table::CalendarDate date;
    if (!table::ParseDate(text, table::DateFormat::kDdMmYyyy, &date))
        return false;
    static constexpr int kDays[] = { 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    const int days = date.month == 2 && !leap ? 28 : kDays[date.month - 1];
    return date.day <= days;
}

const char* ComparisonText(FilterOp op)
{
    switch (op) {
    case FilterOp::kEqual: return "=";
    case FilterOp::kNotEqual: return "#";
    case FilterOp::kLess: return "<";
    case FilterOp::kLessOrEqual: return "<=";
    case FilterOp::kGreater: return ">";
    case FilterOp::kGreaterOrEqual: return ">=";
    default: return "";
    }
}

std::string LeafExpression(const FilterCondition& c, const std::vector<FilterColumn>& columns)
{
    const int index = FindFilterColumn(columns, c.column);
    if (index < 0)
        return {};
    const FilterColumn& column = columns[static_cast<std::size_t>(index)];
    const std::string& field = column.fieldName;
    std::string operand;
    std::string value;
    if (column.type == 'C') {
        if (c.caseSensitive) {
            operand = field;
            value = c.value;
        } else {
            operand = "UPPER(" + field + ")";
            value = c.value;
            platform::ToUpper1251(value);
        }
    }
    switch (c.op) {
    case FilterOp::kEmpty:
        return "LEN(" + field + ")=0";
    case FilterOp::kNotEmpty:
        return "LEN(" + field + ")>0";
    case FilterOp::kTrue:
        return field + "=.T.";
    case FilterOp::kFalse:
        return field + "=.F.";
    case FilterOp::kContains:
        return "AT(" + Quoted(value) + "," + operand + ")>0";
    case FilterOp::kNotContains:
        return "AT(" + Quoted(value) + "," + operand + ")=0";
    default:
        break;
    }
    std::string left;
    std::string right;
    switch (column.type) {
    case 'C':
        if (static_cast<int>(value.size()) < column.width)
            value.append(static_cast<std::size_t>(column.width) - value.size(), ' ');
        left = operand;
        right = Quoted(value);
        break;
    case 'L':
    case 'M':
        left = operand;
        right = Quoted(value);
        break;
    case 'D': {
        table::CalendarDate date;
        char stored[16] = "";
        if (table::ParseDate(c.value, table::DateFormat::kDdMmYyyy, &date))
            std::snprintf(stored, sizeof stored, "%04u%02u%02u", static_cast<unsigned>(date.year),
                static_cast<unsigned>(date.month), static_cast<unsigned>(date.day));
        left = "DTOC(" + field + ")";
        right = std::string("'") + stored + "'";
        break;
    }
    case 'N':
        left = field;
        right = c.value;
        break;
    default:
        break;
    }
    return left + ComparisonText(c.op) + right;
}

} // namespace

std::vector<FilterOp> FilterOpsFor(char type)
{
    using Op = FilterOp;
    switch (type) {
    case 0:
    case 'D':
    case 'N':
        return { Op::kEqual, Op::kNotEqual, Op::kLess, Op::kLessOrEqual, Op::kGreater,
            Op::kGreaterOrEqual };
    case 'L':
        return { Op::kTrue, Op::kFalse };
    default:
        return { Op::kEmpty, Op::kNotEmpty, Op::kEqual, Op::kNotEqual, Op::kLess,
            Op::kLessOrEqual, Op::kGreater, Op::kGreaterOrEqual, Op::kContains,
            Op::kNotContains };
    }
}

bool FilterOpTakesNoValue(FilterOp op)
{
    return op == FilterOp::kEmpty || op == FilterOp::kNotEmpty || op == FilterOp::kTrue
        || op == FilterOp::kFalse;
}

bool IsValidFilterValue(char type, FilterOp op, const std::string& value)
{
    if (FilterOpTakesNoValue(op))
        return true;
    if (type == 'D')
        return IsDayMonthYear(value);
    if (type == 'N') {
        const auto first = value.find_first_not_of(' ');
        if (first == std::string::npos)
            return false;
        std::string number = value.substr(first, value.find_last_not_of(' ') - first + 1);
        if (number.front() == '+' || number.front() == '-')
            number.erase(0, 1);
        return !number.empty() && number.find_first_not_of(".0123456789") == std::string::npos;
    }
    return true;
}

int FindBadSeparator(const std::vector<FilterCondition>& entries)
{
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].isOrSeparator)
            continue;
        if (i == 0 || i + 1 == entries.size() || entries[i - 1].isOrSeparator)
            return static_cast<int>(i);
    }
    return -1;
}

FilterNode BuildFilterTree(const std::vector<FilterCondition>& entries)
{
    FilterNode root;
    if (entries.empty())
        return root;
    if (entries.size() == 1) {
        if (!entries.front().isOrSeparator) {
            root.kind = FilterNode::Kind::kLeaf;
            root.condition = entries.front();
        }
        return root;
    }
    root.kind = FilterNode::Kind::kOr;
    std::vector<FilterCondition> run;
    auto closeRun = [&] {
        if (run.size() == 1) {
            FilterNode leaf;
            leaf.kind = FilterNode::Kind::kLeaf;
            leaf.condition = run.front();
            root.children.push_back(std::move(leaf));
        } else if (run.size() > 1) {
            FilterNode group;
            group.kind = FilterNode::Kind::kAnd;
            for (FilterCondition& condition : run) {
                FilterNode leaf;
                leaf.kind = FilterNode::Kind::kLeaf;
                leaf.condition = std::move(condition);
                group.children.push_back(std::move(leaf));
            }
            root.children.push_back(std::move(group));
        }
        run.clear();
    };
    for (const FilterCondition& entry : entries) {
        if (entry.isOrSeparator)
            closeRun();
        else
            run.push_back(entry);
    }
    closeRun();
    return root;
}

std::vector<FilterCondition> FlattenFilterTree(const FilterNode& root)
{
    std::vector<FilterCondition> entries;
    auto leavesOf = [&entries](const FilterNode& node) {
        if (node.kind == FilterNode::Kind::kLeaf) {
            entries.push_back(node.condition);
            return;
        }
        for (const FilterNode& child : node.children) {
            if (child.kind == FilterNode::Kind::kLeaf)
                entries.push_back(child.condition);
        }
    };
    switch (root.kind) {
    case FilterNode::Kind::kLeaf:
    case FilterNode::Kind::kAnd:
        leavesOf(root);
        break;
    case FilterNode::Kind::kOr:
        for (std::size_t i = 0; i < root.children.size(); ++i) {
            if (i > 0) {
                FilterCondition separator;
                separator.isOrSeparator = true;
                entries.push_back(separator);
            }
            leavesOf(root.children[i]);
        }
        break;
    }
    return entries;
}

int FindFilterColumn(const std::vector<FilterColumn>& columns, const std::string& title)
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].title == title)
            return static_cast<int>(i);
    }
    return -1;
}

std::string BuildFilterExpression(const FilterNode& node, const std::vector<FilterColumn>& columns)
{
    if (node.kind == FilterNode::Kind::kLeaf)
        return LeafExpression(node.condition, columns);
    std::string text;
    const char* connector = node.kind == FilterNode::Kind::kAnd ? ".AND." : ".OR.";
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        if (i > 0)
            text += connector;
        text += "(" + BuildFilterExpression(node.children[i], columns) + ")";
    }
    return text;
}

} // namespace tablegrid
