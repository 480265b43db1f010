// A table window's Find over the generated table of ten million records (read from a warm
// page cache), for a text found nowhere, so every row is walked: over all columns and over
// one character column, case-sensitive and not, as the Find dialog starts it (the entire
// scope, no "not found" box). LUMETTA_BENCH_RECORDS=N runs it on N records instead.
//
// GB/s is the table file's size over the time. Times are wall-clock.

#include "bench/bench_tables.h"
#include "bench/qt_bench_main.h"
#include "bench/status_host.h"
#include "grid/def_grid_impl.h"
#include "platform/file_system.h"
#include "resources/table_resources.h"
#include "table/table_database.h"
#include "tablegrid/row_images.h"
#include "tablegrid/table_wnd_grid.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::uint32_t RecordCount()
{
    return bench::BenchRecordCount();
}

const std::string& TablePath()
{
    static const std::string path = bench::BenchTable(RecordCount());
    return path;
}

using bench::StatusHost;

// A table window's grid on the bench table, painted once, the cursor on the first cell.
struct Window
{
    Window()
        : database(platform::FileSystem::Default())
        , images(tablegrid::MakeRowHeaderImages())
        , grid(&host)
    {
        const std::string& path = TablePath();
        (void)database.SetDatabaseDirectory(platform::DirectoryOf(path));
        opened = grid.OpenTable(path, &database) && grid.Create("DBGrid " + path, &images, 0);
        if (!opened)
            return;
        grid.resize(1000, 700);
        (void)grid.grab();
        grid.SetCurrentCell(0, 0);
    }

    StatusHost host;
    table::TableDatabase database;
    grid::GridImageList images;
    tablegrid::CTableWndGrid grid;
    bool opened = false;
};

Window* g_window = nullptr;

// The texts looked for: one no cell holds (letters, so numbers and dates are ruled out at
// once), and one of digits that no cell holds either but that numbers and dates could.
constexpr const char* kWord = "Novgorod";
constexpr const char* kDigits = "123456789";

void Find(benchmark::State& state, const char* text, const char* column, bool caseSensitive)
{
    if (!g_window || !g_window->opened) {
        state.SkipWithError(("cannot open " + TablePath()).c_str());
        return;
    }
    tablegrid::CTableWndGrid& grid = g_window->grid;
    tablegrid::CTableGrid::SearchFlags flags;
    flags.caseSensitive = caseSensitive;
    bool found = false;
    for (auto _ : state) {
        found = grid.Find(text, column, 2, flags, false);
        state.PauseTiming();
        grid.SetCurrentCell(0, 0);
        state.ResumeTiming();
    }
    if (found)
        state.SkipWithError("the text was found");
    const double gigabytes = static_cast<double>(std::filesystem::file_size(TablePath())) / 1e9;
    state.counters["GB/s"] = benchmark::Counter(gigabytes, benchmark::Counter::kIsIterationInvariantRate);
}

void Register(const char* name, const char* text, const char* column, bool caseSensitive)
{
    benchmark::RegisterBenchmark(name,
        [=](benchmark::State& state) { Find(state, text, column, caseSensitive); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

} // namespace

int main(int argc, char* argv[])
{
    return bench::RunWindowBenchmarks(argc, argv, [] {
        Window window;
        g_window = &window;
        Register("Find/all_columns/case", kWord, "", true);
        Register("Find/all_columns/nocase", kWord, "", false);
        Register("Find/NAME/case", kWord, "NAME", true);
        Register("Find/NAME/nocase", kWord, "NAME", false);
        Register("Find/all_columns/digits/case", kDigits, "", true);
        benchmark::RunSpecifiedBenchmarks();
        g_window = nullptr;
    });
}
