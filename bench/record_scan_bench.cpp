// Reading every record of a table, one at a time and in runs, against the size of the file.
// Compare with `cat FILE > /dev/null` on the same file for the speed of reading it at all.

#include "bench/bench_tables.h"
#include "platform/file_system.h"
#include "table/record_file.h"

#include <benchmark/benchmark.h>

namespace {

// The generated table of `records` records, open for reading; a failure skips the benchmark.
bool OpenBenchTable(benchmark::State& state, std::uint32_t records, table::RecordFile* file)
{
    if (file->Open(bench::BenchTable(records), table::RecordFile::Mode::kRead))
        return true;
    state.SkipWithError("cannot open the table");
    return false;
}

void ReadEveryRecord(benchmark::State& state)
{
    const auto records = static_cast<std::uint32_t>(state.range(0));
    table::RecordFile file(platform::FileSystem::Default());
    if (!OpenBenchTable(state, records, &file))
        return;
    for (auto _ : state) {
        std::uint64_t deleted = 0;
        for (std::uint32_t k = 1; k <= records; ++k) {
            if (!file.ReadRecord(k)) {
                state.SkipWithError("read failed");
                return;
            }
            deleted += file.Record()[0] == '*';
        }
        benchmark::DoNotOptimize(deleted);
    }
    state.SetItemsProcessed(state.iterations() * records);
    state.SetBytesProcessed(state.iterations() * std::int64_t { records } * file.RecordLength());
}

void ReadRuns(benchmark::State& state)
{
    const auto records = static_cast<std::uint32_t>(state.range(0));
    table::RecordFile file(platform::FileSystem::Default());
    if (!OpenBenchTable(state, records, &file))
        return;
    for (auto _ : state) {
        std::uint64_t deleted = 0;
        for (std::uint32_t k = 1; k <= records;) {
            const std::uint8_t* run = nullptr;
            std::uint32_t count = 0;
            if (!file.ReadRun(k, &run, &count)) {
                state.SkipWithError("read failed");
                return;
            }
            for (std::uint32_t i = 0; i < count; ++i)
                deleted += run[std::size_t { i } * file.RecordLength()] == '*';
            k += count;
        }
        benchmark::DoNotOptimize(deleted);
    }
    state.SetItemsProcessed(state.iterations() * records);
    state.SetBytesProcessed(state.iterations() * std::int64_t { records } * file.RecordLength());
}

void ReadAtRandom(benchmark::State& state)
{
    const std::uint32_t records = 1'000'000;
    table::RecordFile file(platform::FileSystem::Default());
    if (!OpenBenchTable(state, records, &file))
        return;
    std::uint32_t k = 1;
    for (auto _ : state) {
        k = (k * 2654435761u) % records + 1;
        benchmark::DoNotOptimize(file.ReadRecord(k));
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(ReadEveryRecord)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadRuns)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAtRandom);
