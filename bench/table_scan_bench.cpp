// Whole passes through the table object: a filtered GoTop/GoNext pass with the filter shapes
// the filter dialog builds, and packing. Tables of 1 and 10 million records of 78 bytes,
// generated once into the temporary folder. Compare with `cat FILE > /dev/null`.

#include "bench/bench_tables.h"
#include "platform/file_system.h"
#include "table/table.h"
#include "table/table_database.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

const char* const kFilters[] = {
    "",                                           // deleted filter only
    "(CITY='Kazan               ')",              // a field compared with a constant
    "(LEN(NAME)=0)",
    "(AT('IVAN',UPPER(NAME))>0)",
    "(DTOC(DT)>'20010201')",
    "((SUM>500).AND.(FLAG=.T.)).OR.((CODE<100).AND.(AT('OLEG',UPPER(NAME))>0))",
};

void FilteredPass(benchmark::State& state)
{
    const auto records = static_cast<std::uint32_t>(state.range(0));
    const std::string path = bench::BenchTable(records);
    table::TableDatabase database(platform::FileSystem::Default());
    (void)database.SetDatabaseDirectory(platform::DirectoryOf(path));
    table::CTable t(&database);
    if (!t.Open(path, false)) {
        state.SkipWithError("cannot open the table");
        return;
    }
    t.SetDeletedFilter(table::CTable::DeletedFilter::kNotDeleted);
    const char* filter = kFilters[state.range(1)];
    if (!t.SetFilterExpression(filter, true)) {
        state.SkipWithError("filter does not parse");
        return;
    }
    std::uint64_t passing = 0;
    for (auto _ : state) {
        passing = 0;
        for (bool ok = t.GoTop(); ok; ok = t.GoNext(false))
            ++passing;
    }
    state.counters["passing"] = static_cast<double>(passing);
    state.SetLabel(*filter ? filter : "(deleted filter only)");
    state.SetItemsProcessed(state.iterations() * records);
    state.SetBytesProcessed(state.iterations() * std::int64_t { records } * t.RecordLength());
}

void Pack(benchmark::State& state)
{
    const auto records = static_cast<std::uint32_t>(state.range(0));
    const std::string source = bench::BenchTable(records);
    const std::string directory = platform::DirectoryOf(source) + "lumetta-bench-pack/";
    std::filesystem::create_directories(directory);
    const std::string path = directory + "packed.dbf";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(source, path, std::filesystem::copy_options::overwrite_existing);
        table::TableDatabase database(platform::FileSystem::Default());
        (void)database.SetDatabaseDirectory(directory);
        table::CTable t(&database);
        const bool opened = t.Open(path, false);
        state.ResumeTiming();
        if (!opened || !t.Pack()) {
            state.SkipWithError("pack failed");
            break;
        }
    }
    std::filesystem::remove_all(directory);
    state.SetItemsProcessed(state.iterations() * records);
    state.SetBytesProcessed(state.iterations() * std::int64_t { records } * 78);
}

} // namespace

BENCHMARK(FilteredPass)
    ->ArgsProduct({ { 1'000'000, 10'000'000 }, { 0, 1, 2, 3, 4, 5 } })
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Pack)->Arg(1'000'000)->Arg(10'000'000)->Iterations(2)->Unit(benchmark::kMillisecond);
