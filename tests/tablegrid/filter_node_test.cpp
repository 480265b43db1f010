#include "tablegrid/operations/filter_node.h"

#include <gtest/gtest.h>

namespace tablegrid {
namespace {

FilterCondition Condition(const std::string& column, FilterOp op, const std::string& value = {},
    bool caseSensitive = false)
{
    FilterCondition c;
    c.column = column;
    c.op = op;
    c.value = value;
    c.caseSensitive = caseSensitive;
    return c;
}

FilterCondition Or()
{
    FilterCondition c;
    c.isOrSeparator = true;
    return c;
}

class FilterExpressionTest : public ::testing::Test
{
protected:
    std::string Of(const std::vector<FilterCondition>& entries)
    {
        return BuildFilterExpression(BuildFilterTree(entries), columns);
    }

    // Titles as the grid shows them (a schema may give other titles than the names).
    std::vector<FilterColumn> columns = {
        { "Name", "NAME", 'C', 8 },
        { "DT", "DT", 'D', 8 },
        { "SUM", "SUM", 'N', 7 },
        { "FLAG", "FLAG", 'L', 1 },
        { "NOTE", "NOTE", 'M', 10 },
    };
};

TEST(FilterTreeTest, ShapesFromTheConditionList)
{
    const FilterCondition a = Condition("A", FilterOp::kEqual, "1");
    const FilterCondition b = Condition("B", FilterOp::kEqual, "2");
    const FilterCondition c = Condition("C", FilterOp::kEqual, "3");
    EXPECT_FALSE(BuildFilterTree({}).HasConditions());
    EXPECT_EQ(BuildFilterTree({ a }).kind, FilterNode::Kind::kLeaf);

    const FilterNode andRun = BuildFilterTree({ a, b });
    ASSERT_EQ(andRun.kind, FilterNode::Kind::kOr);
    ASSERT_EQ(andRun.children.size(), 1u);
    EXPECT_EQ(andRun.children[0].kind, FilterNode::Kind::kAnd);
    EXPECT_EQ(andRun.children[0].children.size(), 2u);

    const FilterNode alternatives = BuildFilterTree({ a, Or(), b, c, Or(), Or(), c });
    ASSERT_EQ(alternatives.children.size(), 3u); // the empty run is dropped
    EXPECT_EQ(alternatives.children[0].kind, FilterNode::Kind::kLeaf);
    EXPECT_EQ(alternatives.children[1].kind, FilterNode::Kind::kAnd);

    // Flattened back: separators between the alternatives.
    const std::vector<FilterCondition> list = { a, Or(), b, c, Or(), c };
    EXPECT_EQ(FlattenFilterTree(BuildFilterTree(list)), list);
    EXPECT_EQ(FlattenFilterTree(BuildFilterTree({ a, b })), (std::vector<FilterCondition> { a, b }));
    EXPECT_EQ(FlattenFilterTree(BuildFilterTree({ a })), (std::vector<FilterCondition> { a }));
    EXPECT_TRUE(FlattenFilterTree(FilterNode()).empty());
}

TEST(FilterValueTest, TheDialogsChecksOfTypedValues)
{
    EXPECT_TRUE(IsValidFilterValue('D', FilterOp::kEqual, "01.02.2001"));
    EXPECT_TRUE(IsValidFilterValue('D', FilterOp::kEqual, "01.02.01"));
    EXPECT_TRUE(IsValidFilterValue('D', FilterOp::kEqual, "29.02.2000"));
    for (const char* bad : { "1.2.2001", "29.02.2001", "31.04.2001", "01/02/2001", "01.13.2001",
             "", "01.02.1000", "20010201" })
        EXPECT_FALSE(IsValidFilterValue('D', FilterOp::kLess, bad)) << bad;
    EXPECT_TRUE(IsValidFilterValue('N', FilterOp::kEqual, " -12.5 "));
    EXPECT_TRUE(IsValidFilterValue('N', FilterOp::kEqual, "+.5"));
    for (const char* bad : { "", "  ", "1e5", "12a", "--1", "-" })
        EXPECT_FALSE(IsValidFilterValue('N', FilterOp::kEqual, bad)) << bad;
    EXPECT_TRUE(IsValidFilterValue('C', FilterOp::kContains, "any'thing"));
    EXPECT_TRUE(IsValidFilterValue('D', FilterOp::kEmpty, "ignored"));

    EXPECT_EQ(FilterOpsFor('L'), (std::vector<FilterOp> { FilterOp::kTrue, FilterOp::kFalse }));
    EXPECT_EQ(FilterOpsFor('N').size(), 6u);
    EXPECT_EQ(FilterOpsFor(0).size(), 6u);
    EXPECT_EQ(FilterOpsFor('M').size(), 10u);
    EXPECT_EQ(FilterOpsFor('C').front(), FilterOp::kEmpty);
}

TEST(FilterValueTest, SeparatorsMustStandBetweenConditions)
{
    const FilterCondition c = Condition("A", FilterOp::kEqual, "1");
    EXPECT_EQ(FindBadSeparator({ c, Or(), c }), -1);
    EXPECT_EQ(FindBadSeparator({}), -1);
    EXPECT_EQ(FindBadSeparator({ Or(), c }), 0);
    EXPECT_EQ(FindBadSeparator({ c, Or() }), 1);
    EXPECT_EQ(FindBadSeparator({ c, Or(), Or(), c }), 2);
}

TEST_F(FilterExpressionTest, EveryOperatorForm)
{
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kEmpty) }), "LEN(NAME)=0");
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kNotEmpty) }), "LEN(NAME)>0");
    EXPECT_EQ(Of({ Condition("FLAG", FilterOp::kTrue) }), "FLAG=.T.");
    EXPECT_EQ(Of({ Condition("FLAG", FilterOp::kFalse) }), "FLAG=.F.");
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kContains, "ivan") }), "AT('IVAN',UPPER(NAME))>0");
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kNotContains, "Iv", true) }), "AT('Iv',NAME)=0");
    EXPECT_EQ(Of({ Condition("DT", FilterOp::kGreater, "01.02.2001") }), "DTOC(DT)>'20010201'");
    EXPECT_EQ(Of({ Condition("DT", FilterOp::kLessOrEqual, "01.02.01") }), "DTOC(DT)<='20010201'");
    EXPECT_EQ(Of({ Condition("DT", FilterOp::kEqual, "1.2.2001") }), "DTOC(DT)=''");
    EXPECT_EQ(Of({ Condition("SUM", FilterOp::kNotEqual, "5") }), "SUM#5");
    EXPECT_EQ(Of({ Condition("SUM", FilterOp::kGreaterOrEqual, "-1.5") }), "SUM>=-1.5");
    EXPECT_EQ(Of({ Condition("SUM", FilterOp::kLess, "2") }), "SUM<2");
    // Cyrillic upper case by code page 1251: "иван" -> "ИВАН".
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kContains, "\xE8\xE2\xE0\xED") }),
        "AT('\xC8\xC2\xC0\xCD',UPPER(NAME))>0");
    // A column no longer there.
    EXPECT_EQ(Of({ Condition("Gone", FilterOp::kEqual, "1") }), "");
}

// A compared character value is padded to the field's width, so a C(8) field holding abc
// equals 'abc'; a longer one is left as typed (it can equal nothing).
TEST_F(FilterExpressionTest, CharacterComparisonsPadToTheFieldWidth)
{
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kEqual, "abc") }), "UPPER(NAME)='ABC     '");
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kLess, "Abc", true) }), "NAME<'Abc     '");
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kEqual, "abcdefghij", true) }), "NAME='abcdefghij'");
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kEqual, "", true) }), "NAME='        '");
}

TEST_F(FilterExpressionTest, AValueWithAnApostropheIsInDoubleQuotes)
{
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kContains, "d'Arc", true) }), "AT(\"d'Arc\",NAME)>0");
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kEqual, "O'Hara", true) }), "NAME=\"O'Hara  \"");
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kContains, "\"", true) }), "AT('\"',NAME)>0");
    // Both quotes: no quoted form, the evaluator refuses it.
    EXPECT_EQ(Of({ Condition("Name", FilterOp::kContains, "'\"", true) }), "AT(''\"',NAME)>0");
}

TEST_F(FilterExpressionTest, GroupsJoinWithAndAndOr)
{
    const FilterCondition a = Condition("SUM", FilterOp::kEqual, "1");
    const FilterCondition b = Condition("SUM", FilterOp::kEqual, "2");
    const FilterCondition c = Condition("SUM", FilterOp::kEqual, "3");
    EXPECT_EQ(Of({ a, b }), "((SUM=1).AND.(SUM=2))");
    EXPECT_EQ(Of({ a, Or(), b }), "(SUM=1).OR.(SUM=2)");
    EXPECT_EQ(Of({ a, b, Or(), c, Or(), a }), "((SUM=1).AND.(SUM=2)).OR.(SUM=3).OR.(SUM=1)");
    EXPECT_EQ(Of({ a, Or(), Condition("Gone", FilterOp::kEqual, "1") }), "(SUM=1).OR.()");
    EXPECT_EQ(Of({}), "");
}

} // namespace
} // namespace tablegrid
