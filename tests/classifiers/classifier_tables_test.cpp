#include "classifiers/classifier_tables.h"

#include "tablegrid/operations/filter_node.h"

#include <gtest/gtest.h>

namespace {

using classifiers::IsClassifierTable;
using classifiers::IsRegionCode;
using tablegrid::FilterNode;

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

// The tree as the table gets it: the two conditions on CODE, compared as stored
// (case-sensitive, no UPPER), for a KLADR CODE C(13) and a STREET CODE C(17).
TEST(ClassifierTablesTest, SelectionsAreTwoConditionsOnCode)
{
    const std::vector<tablegrid::FilterColumn> kladr = { { "CODE", "CODE", 'C', 13 } };
    const std::vector<tablegrid::FilterColumn> street = { { "CODE", "CODE", 'C', 17 } };
    const auto expression = [](const FilterNode& tree, const auto& columns) {
        EXPECT_EQ(tree.kind, FilterNode::Kind::kAnd);
        for (const FilterNode& leaf : tree.children)
            EXPECT_EQ(leaf.condition.fieldType, 'C');
        return tablegrid::BuildFilterExpression(tree, columns);
    };
    EXPECT_EQ(expression(classifiers::RegionSelectionFilter("7700000000000"), kladr),
        "(CODE>='7700000000000').AND.(CODE<='77999999999  ')");
    // A settlement's streets carry its code without the actuality digits, then four street
    // digits and two of their own: street 0123 of the settlement is among them.
    EXPECT_EQ(expression(classifiers::SettlementSelectionFilter("5000300000100"), street),
        "(CODE>='50003000001000000').AND.(CODE<='50003000001999999')");
    EXPECT_EQ(expression(classifiers::RegionSelectionFilter("7"), kladr),
        "(CODE>='7            ').AND.(CODE<='7999999999   ')");
}

} // namespace
