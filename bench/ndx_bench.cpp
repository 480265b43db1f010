// Building an index of a million keys, and reading it back: seeks at random keys and a walk
// through every entry in key order.

#include "platform/file_system.h"
#include "table/ndx_builder.h"
#include "table/ndx_index.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace {

constexpr std::uint32_t kKeys = 1000000;

std::string IndexPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

// The key of record r: 30 characters, about two records per key, in scattered order.
std::string CharacterKey(std::uint32_t r)
{
    char text[40];
    std::snprintf(text, sizeof text, "NAME%08u                  ", (r * 2654435761u) % (kKeys / 2));
    return text;
}

bool BuildCharacter(const std::string& path)
{
    table::NdxBuilder builder(
        platform::FileSystem::Default(), table::NdxKeyType::kCharacter, "NAME", false, 30);
    builder.Reserve(kKeys);
    for (std::uint32_t r = 1; r <= kKeys; ++r)
        builder.Add(r, CharacterKey(r));
    return builder.Finish(path);
}

void BuildCharacterIndex(benchmark::State& state)
{
    const std::string path = IndexPath("lumetta-bench-c30.ndx");
    for (auto _ : state) {
        if (!BuildCharacter(path)) {
            state.SkipWithError("build failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kKeys);
}

void BuildNumericIndex(benchmark::State& state)
{
    const std::string path = IndexPath("lumetta-bench-n.ndx");
    for (auto _ : state) {
        table::NdxBuilder builder(
            platform::FileSystem::Default(), table::NdxKeyType::kNumeric, "SUM", false);
        builder.Reserve(kKeys);
        for (std::uint32_t r = 1; r <= kKeys; ++r)
            builder.Add(r, static_cast<double>((r * 2654435761u) % 100000) / 100 - 500);
        if (!builder.Finish(path)) {
            state.SkipWithError("build failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kKeys);
}

// Opens the character index, building it first when it is not there.
bool OpenCharacter(table::NdxIndex& index)
{
    const std::string path = IndexPath("lumetta-bench-c30.ndx");
    return index.Open(path) || (BuildCharacter(path) && index.Open(path));
}

void SeekRandomKeys(benchmark::State& state)
{
    table::NdxIndex index(
        platform::FileSystem::Default(), static_cast<std::size_t>(state.range(0)));
    if (!OpenCharacter(index)) {
        state.SkipWithError("cannot open the index");
        return;
    }
    std::mt19937 random(7);
    std::uint64_t found = 0;
    for (auto _ : state) {
        bool equal = false;
        if (!index.Seek(CharacterKey(random() % kKeys + 1), table::NdxMatch::kWhole, &equal)) {
            state.SkipWithError("seek failed");
            return;
        }
        found += equal;
    }
    benchmark::DoNotOptimize(found);
    state.counters["page reads"] = benchmark::Counter(
        static_cast<double>(index.CacheStats().reads), benchmark::Counter::kAvgIterations);
}

void WalkInKeyOrder(benchmark::State& state)
{
    table::NdxIndex index(platform::FileSystem::Default());
    if (!OpenCharacter(index)) {
        state.SkipWithError("cannot open the index");
        return;
    }
    for (auto _ : state) {
        std::uint64_t entries = 0;
        bool ok = index.First();
        for (; ok && index.Valid(); ok = index.Next())
            ++entries;
        if (!ok) {
            state.SkipWithError("walk failed");
            return;
        }
        benchmark::DoNotOptimize(entries);
    }
    state.SetItemsProcessed(state.iterations() * kKeys);
}

} // namespace

BENCHMARK(BuildCharacterIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildNumericIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(SeekRandomKeys)->Arg(32)->Arg(256);
BENCHMARK(WalkInKeyOrder)->Unit(benchmark::kMillisecond);
