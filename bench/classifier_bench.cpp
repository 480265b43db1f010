// The address classifier over a generated KLADR of 250,000 records (the size of the real
// one; LUMETTA_KLADR_RECORDS=N for another), read from a warm page cache: the region table
// built as lumetta-cli builds it, built under the program's progress window (painted at
// every change of its bar, offscreen), and a region selection in a KLADR table window
// (the filter applied and its rows counted), alternating between two regions so that each
// selection counts anew.
//
// Times are wall-clock.

#include "bench/qt_bench_main.h"
#include "bench/status_host.h"
#include "classifiers/classifier_tables.h"
#include "classifiers/region_table_builder.h"
#include "grid/def_grid_impl.h"
#include "platform/file_system.h"
#include "resources/table_resources.h"
#include "shell/dialogs/region_progress_dialog.h"
#include "table/table_database.h"
#include "tablegrid/row_images.h"
#include "tablegrid/table_wnd_grid.h"
#include "tools/samples/kladr_sample.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

using classifiers::RegionTableBuilder;

std::uint32_t KladrRecords()
{
    if (const char* text = std::getenv("LUMETTA_KLADR_RECORDS")) {
        const long value = std::strtol(text, nullptr, 10);
        if (value > 0)
            return static_cast<std::uint32_t>(value);
    }
    return 250'000;
}

// The classifier folder, written once per run.
const std::string& Directory()
{
    static const std::string directory = [] {
        const std::string dir = bench::ScratchFolder("lumetta-kladr-bench") + "kladr/";
        std::string error;
        if (!samples::WriteKladrSample(platform::FileSystem::Default(), dir,
                { KladrRecords(), false }, &error))
            return std::string();
        return dir;
    }();
    return directory;
}

void Build(benchmark::State& state, classifiers::RegionProgress* progress)
{
    if (Directory().empty()) {
        state.SkipWithError("cannot write the KLADR table");
        return;
    }
    platform::FileSystem& fs = platform::FileSystem::Default();
    RegionTableBuilder builder(fs);
    for (auto _ : state) {
        if (builder.Build(Directory(), progress) != RegionTableBuilder::Result::kBuilt) {
            state.SkipWithError("the region table was not built");
            return;
        }
    }
    state.counters["visited"] = builder.Visited();
    state.counters["kept"] = builder.Kept();
}

void BuildRegionTable(benchmark::State& state)
{
    Build(state, nullptr);
}

class DialogProgress final : public classifiers::RegionProgress
{
public:
    explicit DialogProgress(shell::CRegionProgressDialog& dialog)
        : m_dialog(dialog)
    {
    }
    void SetProgress(int percent) override { m_dialog.SetProgress(percent); }

private:
    shell::CRegionProgressDialog& m_dialog;
};

void BuildRegionTableInProgressWindow(benchmark::State& state)
{
    shell::CRegionProgressDialog dialog(nullptr);
    dialog.ShowNow();
    DialogProgress progress(dialog);
    Build(state, &progress);
}

void RegionSelection(benchmark::State& state)
{
    if (Directory().empty()) {
        state.SkipWithError("cannot write the KLADR table");
        return;
    }
    static const grid::GridImageList images = tablegrid::MakeRowHeaderImages();
    bench::StatusHost host;
    table::TableDatabase database(platform::FileSystem::Default());
    (void)database.SetDatabaseDirectory(Directory());
    tablegrid::CTableWndGrid grid(&host);
    const std::string path = Directory() + samples::kKladrTable;
    if (!grid.OpenTable(path, &database) || !grid.Create("DBGrid " + path, &images, 0)) {
        state.SkipWithError("cannot open the KLADR table");
        return;
    }
    grid.resize(1000, 700);
    (void)grid.grab();
    // Regions 50 and 69 of the sample, each with a sixth of its settlements.
    const char* regions[] = { "5000000000000", "6900000000000" };
    int next = 0;
    for (auto _ : state) {
        grid.FilterRoot() = classifiers::RegionSelectionFilter(regions[next]);
        next = 1 - next;
        grid.ApplyFilter();
        (void)grid.grab();
    }
    state.counters["rows"] = grid.GetRowCount();
}

} // namespace

int main(int argc, char* argv[])
{
    return bench::RunWindowBenchmarks(argc, argv, [] {
        benchmark::RegisterBenchmark("BuildRegionTable", BuildRegionTable)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark("BuildRegionTableInProgressWindow", BuildRegionTableInProgressWindow)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark("RegionSelection", RegionSelection)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RunSpecifiedBenchmarks();
    });
}
