#include "table/expression.h"
#include "tests/table/expression_test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <new>

// Every allocation through the global operator new of this test program is counted, so a
// test can tell whether a piece of code allocated. Replacing the operator is program-wide;
// it only counts and otherwise behaves as the standard one.
namespace {
std::size_t g_allocations = 0;
}

void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return ::operator new(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

using expression_testing::TestRecord;

class ExpressionAllocationTest : public ::testing::Test
{
protected:
    ExpressionAllocationTest()
    {
        r.Add("NAME", 'C', 30).Add("SUM", 'N', 10, 2).Add("FLAG", 'L', 1).Add("DT", 'D', 8);
        r.Add("CNT", 'N', 5);
    }

    // Allocations made while evaluating `text` once on each of a few different records.
    std::size_t AllocationsPerRecord(const char* text, bool oem, int* trueCount)
    {
        auto e = table::ParseExpression(text, r.fields);
        EXPECT_TRUE(e) << text;
        if (!e)
            return 0;
        const char* names[] = { "Ivanov Ivan", "", "\x88\xA2\xA0\xAD", "PETROV", "ivan" };
        const char* sums[] = { "      5.00", "", "   -123.45", "1234567.89", "         5" };
        const char* dates[] = { "20010202", "", "20010201", "19991231", "20240229" };
        table::ExprValue v;
        std::size_t total = 0;
        for (int i = 0; i < 5; ++i) {
            r.Put("NAME", names[i]).Put("SUM", sums[i]).Put("DT", dates[i]);
            r.Put("FLAG", i % 2 ? "T" : "F").Put("CNT", i % 2 ? "   12" : "");
            const std::size_t before = g_allocations;
            const bool ok = e->Evaluate(r.bytes.data(), r.bytes.size(), oem, &v);
            total += g_allocations - before;
            EXPECT_TRUE(ok) << text;
            *trueCount += ok && v.type == 'L' && v.logical;
        }
        return total;
    }

    TestRecord r;
};

TEST_F(ExpressionAllocationTest, TheCounterSeesAllocations)
{
    const std::size_t before = g_allocations;
    auto* p = new std::string(100, 'x');
    delete p;
    EXPECT_EQ(g_allocations - before, 2u); // the string object and its characters
}

TEST_F(ExpressionAllocationTest, FilterShapesEvaluateWithoutAllocating)
{
    const char* shapes[] = {
        "NAME='Ivanov Ivan'",
        "SUM#5",
        "SUM>=5",
        "FLAG=.T.",
        "LEN(NAME)=0",
        "LEN(NAME)>0",
        "AT('IVAN',UPPER(NAME))>0",
        "AT('IVAN',UPPER(NAME))=0",
        "UPPER(NAME)='IVAN'",
        "DTOC(DT)>'20010201'",
        "DTOC(DT)<='20010201'",
        "((UPPER(NAME)='IVAN').AND.(SUM>=5)).OR.(DTOC(DT)>'20010201')",
        "(LEN(NAME)=0).OR.(FLAG=.F.).OR.(AT('PET',UPPER(NAME))>0)",
        "((SUM>0).AND.(SUM<100).AND.(DTOC(DT)>='20000101'))",
        "NAME+DTOC(DT)+STR(CNT)",
    };
    int trueCount = 0;
    for (const char* shape : shapes) {
        for (bool oem : { false, true })
            EXPECT_EQ(AllocationsPerRecord(shape, oem, &trueCount), 0u) << shape;
    }
    EXPECT_GT(trueCount, 20); // the records do make the conditions go both ways
}

// A result whose size the record decides may allocate once; after that the buffer is kept.
TEST_F(ExpressionAllocationTest, ResultsSizedByTheRecordGrowOnlyOnce)
{
    auto e = table::ParseExpression("REPLICATE('ab',SUM)", r.fields);
    ASSERT_TRUE(e);
    table::ExprValue v;
    r.Put("SUM", "1000");
    std::size_t before = g_allocations;
    ASSERT_TRUE(e->Evaluate(r.bytes.data(), r.bytes.size(), false, &v));
    EXPECT_GT(g_allocations - before, 0u);
    EXPECT_EQ(v.text.size(), 2000u);

    r.Put("SUM", "999");
    before = g_allocations;
    ASSERT_TRUE(e->Evaluate(r.bytes.data(), r.bytes.size(), false, &v));
    EXPECT_EQ(g_allocations - before, 0u);
}

} // namespace
