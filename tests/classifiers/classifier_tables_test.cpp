#include "classifiers/classifier_tables.h"

#include "tablegrid/operations/filter_node.h"

#include <gtest/gtest.h>

namespace {

using classifiers::IsClassifierTable;
using classifiers::IsRegionCode;
using tablegrid::FilterCondition;
using tablegrid::FilterNode;
using tablegrid::FilterOp;

TEST(ClassifierTablesTest, RegionCodesAreTwoDigitsAndZeros)
{
    const struct
    {
        const char* code;
        bool region;
    } cases[] = {
        { "7700000000000", true },
        { "5000000000000", true },
        { "7700100000000", false },  // a district
        { "5001000000000", false },  // district 010: nine zeros at the end, still a district
        { "7700000100000", false },  // a city of the region
        { "7700000000051", false },  // a region under an earlier name
        { "77000000000", true },     // a code without actuality digits
        { "7700000000", false },     // too short to hold nine zeros after the region
        { "00000", false },
        { "", false },
        { "770000000000 ", false },  // a blank is no zero
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsRegionCode(c.code), c.region) << c.code;
}

TEST(ClassifierTablesTest, TablesAreKnownByFileNameInAnyCase)
{
    EXPECT_TRUE(IsClassifierTable("/data/kladr/Region.dbf", "Region"));
    EXPECT_TRUE(IsClassifierTable("/data/kladr/REGION.DBF", "Region"));
    EXPECT_TRUE(IsClassifierTable("/data/kladr/region.dbf", "Region"));
    EXPECT_TRUE(IsClassifierTable("/data/KLADR.DBF", "Kladr"));
    EXPECT_FALSE(IsClassifierTable("/data/kladr/REGION2.DBF", "Region"));
    EXPECT_FALSE(IsClassifierTable("/data/region/kladr.dbf", "Region"));
    EXPECT_FALSE(IsClassifierTable("", "Region"));
}

FilterCondition Code(FilterOp op, const char* value)
{
    FilterCondition c;
    c.column = "CODE";
    c.op = op;
    c.caseSensitive = true;
    c.value = value;
    c.fieldType = 'C';
    return c;
}

FilterNode And(const FilterCondition& low, const FilterCondition& high)
{
    FilterNode node;
    node.kind = FilterNode::Kind::kAnd;
    for (const FilterCondition& c : { low, high }) {
        FilterNode leaf;
        leaf.kind = FilterNode::Kind::kLeaf;
        leaf.condition = c;
        node.children.push_back(leaf);
    }
    return node;
}

TEST(ClassifierTablesTest, SelectionsAreTwoConditionsOnCode)
{
    EXPECT_EQ(classifiers::RegionSelectionFilter("7700000000000"),
        And(Code(FilterOp::kGreaterOrEqual, "7700000000000"), Code(FilterOp::kLessOrEqual, "77999999999")));
    // A settlement's streets carry its code without the actuality digits, then four street
    // digits and two of their own: street 0123 of the settlement is among them.
    EXPECT_EQ(classifiers::SettlementSelectionFilter("5000300000100"),
        And(Code(FilterOp::kGreaterOrEqual, "50003000001000000"),
            Code(FilterOp::kLessOrEqual, "50003000001999999")));
    // Short codes are taken as they are.
    EXPECT_EQ(classifiers::RegionSelectionFilter("7"),
        And(Code(FilterOp::kGreaterOrEqual, "7"), Code(FilterOp::kLessOrEqual, "7999999999")));
}

TEST(ClassifierTablesTest, SelectionExpressionsKeepEveryChildOfTheParent)
{
    // What the table is given for a KLADR CODE C(13) and a STREET CODE C(17).
    const std::vector<tablegrid::FilterColumn> kladr = { { "CODE", "CODE", 'C', 13 } };
    EXPECT_EQ(tablegrid::BuildFilterExpression(classifiers::RegionSelectionFilter("7700000000000"), kladr),
        "(CODE>='7700000000000').AND.(CODE<='77999999999  ')");
    const std::vector<tablegrid::FilterColumn> street = { { "CODE", "CODE", 'C', 17 } };
    EXPECT_EQ(tablegrid::BuildFilterExpression(
                  classifiers::SettlementSelectionFilter("7700000000000"), street),
        "(CODE>='77000000000000000').AND.(CODE<='77000000000999999')");
}

} // namespace
