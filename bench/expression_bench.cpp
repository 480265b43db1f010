// Evaluations per second of the expression shapes the filter builder and the index keys
// write, over realistic records held in memory (so only the evaluator is measured).

#include "table/expression.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// NAME C30, CITY C20, SUM N12.2, DT D8, FLAG L1, CODE N6: a record of 78 bytes.
struct Records
{
    std::vector<table::FieldLayout> fields;
    std::vector<std::uint8_t> bytes;
    std::size_t length = 1;
    std::size_t count = 1024;

    void Add(const char* name, char type, std::uint32_t width, std::uint8_t decimals = 0)
    {
        table::FieldLayout f;
        f.def.name = name;
        f.def.type = type;
        f.def.length = static_cast<std::uint8_t>(width);
        f.def.decimals = decimals;
        f.offset = static_cast<std::uint32_t>(length);
        f.width = width;
        fields.push_back(f);
        length += width;
    }

    void Put(std::size_t record, std::size_t field, const std::string& text, bool right = false)
    {
        const auto& f = fields[field];
        std::uint8_t* at = bytes.data() + record * length + f.offset;
        const std::size_t n = text.size() < f.width ? text.size() : f.width;
        const std::size_t pad = right ? f.width - n : 0;
        for (std::size_t i = 0; i < n; ++i)
            at[pad + i] = static_cast<std::uint8_t>(text[i]);
    }

    Records()
    {
        Add("NAME", 'C', 30);
        Add("CITY", 'C', 20);
        Add("SUM", 'N', 12, 2);
        Add("DT", 'D', 8);
        Add("FLAG", 'L', 1);
        Add("CODE", 'N', 6);
        bytes.assign(length * count, ' ');
        const char* surnames[] = { "Ivanov", "Petrova", "Sidorov", "Kuznetsova", "Smirnov", "Popov",
            "Vasilieva", "Sokolov" };
        const char* givens[] = { "Ivan", "Maria", "Petr", "Olga", "Sergei", "Anna" };
        const char* cities[] = { "Moskva", "Kazan", "Tver", "Samara", "Omsk" };
        char text[64];
        for (std::size_t i = 0; i < count; ++i) {
            std::snprintf(text, sizeof text, "%s %s", surnames[i % 8], givens[(i / 8) % 6]);
            Put(i, 0, i % 17 == 0 ? "" : text);
            Put(i, 1, cities[i % 5]);
            std::snprintf(text, sizeof text, "%lu.%02lu", static_cast<unsigned long>(i * 37 % 5000),
                static_cast<unsigned long>(i % 100));
            Put(i, 2, text, true);
            std::snprintf(text, sizeof text, "%04lu%02lu%02lu",
                static_cast<unsigned long>(1995 + i % 12), static_cast<unsigned long>(1 + i % 12),
                static_cast<unsigned long>(1 + i % 28));
            Put(i, 3, text);
            Put(i, 4, i % 3 ? "T" : "F");
            Put(i, 5, std::to_string(i % 1000), true);
        }
    }
};

const Records& TheRecords()
{
    static const Records records;
    return records;
}

void Evaluate(benchmark::State& state, const char* text, bool oem)
{
    const Records& r = TheRecords();
    auto expression = table::ParseExpression(text, r.fields);
    if (!expression) {
        state.SkipWithError("does not parse");
        return;
    }
    table::ExprValue value;
    std::size_t i = 0;
    std::size_t passed = 0;
    for (auto _ : state) {
        const std::uint8_t* record = r.bytes.data() + i * r.length;
        if (expression->Evaluate(record, r.length, oem, &value) && value.logical)
            ++passed;
        benchmark::DoNotOptimize(value);
        i = (i + 1) % r.count;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["passed"]
        = benchmark::Counter(static_cast<double>(passed), benchmark::Counter::kAvgIterations);
}

BENCHMARK_CAPTURE(Evaluate, text_equals, "NAME='Ivanov Ivan'", false);
BENCHMARK_CAPTURE(Evaluate, number_compare, "SUM>=1000", false);
BENCHMARK_CAPTURE(Evaluate, logical_equals, "FLAG=.T.", false);
BENCHMARK_CAPTURE(Evaluate, len_is_zero, "LEN(NAME)=0", false);
BENCHMARK_CAPTURE(Evaluate, at_upper, "AT('IVAN',UPPER(NAME))>0", false);
BENCHMARK_CAPTURE(Evaluate, at_upper_oem, "AT('IVAN',UPPER(NAME))>0", true);
BENCHMARK_CAPTURE(Evaluate, dtoc_compare, "DTOC(DT)>'20010201'", false);
BENCHMARK_CAPTURE(Evaluate, and_group,
    "((UPPER(NAME)='IVANOV IVAN').AND.(SUM>=1000).AND.(DTOC(DT)>'20010201'))", false);
BENCHMARK_CAPTURE(Evaluate, or_of_groups,
    "((AT('IVAN',UPPER(NAME))>0).AND.(FLAG=.T.)).OR.(LEN(CITY)=0)"
    ".OR.((SUM<100).AND.(DTOC(DT)<='19991231'))",
    false);
BENCHMARK_CAPTURE(Evaluate, index_key, "NAME+DTOC(DT)+STR(CODE)", false);

} // namespace
