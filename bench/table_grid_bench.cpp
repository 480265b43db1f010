// A table window's grid over generated tables of 1 and 10 million records: the time from
// opening the table and creating the grid to the first painted rows, and a jump to the end.
// Nothing here may depend on the record count but the scroll range.

#include "bench/bench_tables.h"
#include "bench/qt_bench_main.h"
#include "platform/file_system.h"
#include "resources/table_resources.h"
#include "table/table_database.h"
#include "tablegrid/row_images.h"
#include "tablegrid/table_wnd_grid.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

namespace {

void OpenAndPaint(benchmark::State& state)
{
    const auto records = static_cast<std::uint32_t>(state.range(0));
    const std::string path = bench::BenchTable(records);
    table::TableDatabase database(platform::FileSystem::Default());
    (void)database.SetDatabaseDirectory(platform::DirectoryOf(path));
    const grid::GridImageList images = tablegrid::MakeRowHeaderImages();
    for (auto _ : state) {
        tablegrid::CTableWndGrid grid(nullptr);
        if (!grid.OpenTable(path, &database) || !grid.Create("DBGrid " + path, &images, 0)) {
            state.SkipWithError("cannot open the table");
            break;
        }
        grid.resize(1000, 700);
        grid.RefreshRows(true);
        QPixmap painted = grid.grab();
        benchmark::DoNotOptimize(painted);
    }
}

void JumpToEndAndPaint(benchmark::State& state)
{
    const auto records = static_cast<std::uint32_t>(state.range(0));
    const std::string path = bench::BenchTable(records);
    table::TableDatabase database(platform::FileSystem::Default());
    (void)database.SetDatabaseDirectory(platform::DirectoryOf(path));
    const grid::GridImageList images = tablegrid::MakeRowHeaderImages();
    tablegrid::CTableWndGrid grid(nullptr);
    if (!grid.OpenTable(path, &database) || !grid.Create("DBGrid " + path, &images, 0)) {
        state.SkipWithError("cannot open the table");
        return;
    }
    grid.resize(1000, 700);
    int row = 0;
    for (auto _ : state) {
        row = row == 0 ? grid.GetRowCount() - 1 : 0;
        grid.SetCurrentCell(row, 0);
        QPixmap painted = grid.grab();
        benchmark::DoNotOptimize(painted);
    }
}

} // namespace

BENCHMARK(OpenAndPaint)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(JumpToEndAndPaint)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

int main(int argc, char* argv[])
{
    return bench::RunWindowBenchmarks(argc, argv);
}
