// Save As over a generated table of ten million records: the text export of all records and
// of a filtered part, the new table of some columns, and the whole-file copy, each through a
// table window's grid and through the command-line tool; beside them the system's own copy
// of the file, the yardstick of the whole copy, and the bare writing of the export's bytes,
// the yardstick of the export. Every result reports the source table's bytes per second
// ("source", in GB/s when it reads G/s). LUMETTA_BENCH_RECORDS=N runs them on N records.

#include "bench/bench_tables.h"
#include "bench/qt_bench_main.h"
#include "bench/status_host.h"
#include "platform/block_writer.h"
#include "platform/file_system.h"
#include "resources/table_resources.h"
#include "table/table_database.h"
#include "tablegrid/row_images.h"
#include "tablegrid/table_wnd_grid.h"
#include "tools/cli/cli.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

namespace {

namespace fs = std::filesystem;
constexpr const char* kScratch = "lumetta-save-as";

const std::string& Source()
{
    static const std::string path = bench::BenchTable(bench::BenchRecordCount());
    return path;
}

std::string Output(const char* name)
{
    return bench::ScratchFolder(kScratch) + name;
}

void Finish(benchmark::State& state, const std::string& written)
{
    // The source's bytes per second in decimal units, as the targets are given.
    state.counters["source"] = benchmark::Counter(
        static_cast<double>(state.iterations() * fs::file_size(Source())),
        benchmark::Counter::kIsRate, benchmark::Counter::kIs1000);
    state.counters["written MB"] = static_cast<double>(fs::file_size(written)) / 1e6;
    std::error_code ec;
    fs::remove(written, ec);
    fs::remove(fs::path(written).replace_extension(".dbt"), ec);
}

// A table window's grid on the bench table: kind 0 everything shown, 1 the records not
// marked for deletion (a filter), 2 two of the six columns hidden.
struct Window
{
    explicit Window(int kind)
        : database(platform::FileSystem::Default())
        , grid(&host)
    {
        (void)database.SetDatabaseDirectory(platform::DirectoryOf(Source()));
        ok = grid.OpenTable(Source(), &database) && grid.Create("DBGrid", &images, 0);
        if (kind == 1) {
            grid.SetFilterModes(1, 0);
            grid.ApplyFilter();
        } else if (kind == 2) {
            grid.Columns()[1].visible = false;
            grid.Columns()[5].visible = false;
            grid.BuildColumns();
        }
    }
    bench::StatusHost host;
    table::TableDatabase database;
    grid::GridImageList images = tablegrid::MakeRowHeaderImages();
    tablegrid::CTableWndGrid grid;
    bool ok = false;
};

void GridText(benchmark::State& state)
{
    Window window(static_cast<int>(state.range(0)));
    const std::string out = Output("grid.txt");
    for (auto _ : state) {
        if (!window.ok || !window.grid.SaveAsText(out, {}))
            state.SkipWithError("the export failed");
    }
    Finish(state, out);
}

void GridTable(benchmark::State& state)
{
    Window window(static_cast<int>(state.range(0)));
    const std::string out = Output("grid.dbf");
    for (auto _ : state) {
        if (!window.ok || !window.grid.SaveAsTable(out))
            state.SkipWithError("the save failed");
    }
    Finish(state, out);
}

void Cli(benchmark::State& state, std::vector<std::string> args, const std::string& out)
{
    std::istringstream in;
    std::ostringstream printed;
    std::ostringstream errors;
    for (auto _ : state) {
        if (cli::Run(args, platform::FileSystem::Default(), { in, printed, errors }) != cli::kExitOk)
            state.SkipWithError(errors.str().c_str());
    }
    Finish(state, out);
}

void CliExport(benchmark::State& state)
{
    const std::string out = Output("cli.txt");
    std::vector<std::string> args { "export", Source(), out };
    if (state.range(0) == 1)
        args.insert(args.end(), { "--deleted", "1" });
    if (state.range(0) == 2)
        args.push_back("--csv");
    Cli(state, args, out);
}

void CliSaveAs(benchmark::State& state)
{
    const std::string out = Output("cli.dbf");
    std::vector<std::string> args { "save-as", Source(), out };
    if (state.range(0) == 2)
        args.insert(args.end(), { "--fields", "NAME,SUM,DT,FLAG" });
    Cli(state, args, out);
}

// What the disk takes of the export of all records: as many bytes put through the export's
// writer and synced, with nothing to make. The export cannot be faster than this.
void OutputOnly(benchmark::State& state)
{
    static const std::uint64_t bytes = [] {
        const std::string made = Output("made.txt");
        std::istringstream in;
        std::ostringstream printed;
        std::ostringstream errors;
        (void)cli::Run({ "export", Source(), made }, platform::FileSystem::Default(),
            { in, printed, errors });
        std::error_code ec;
        const std::uint64_t size = fs::file_size(made, ec);
        fs::remove(made, ec);
        return ec ? 0 : size;
    }();
    std::string piece(1 << 20, 'x');
    for (std::size_t at = 97; at < piece.size(); at += 98)
        piece[at - 1] = '\r', piece[at] = '\n';
    platform::FileSystem& files = platform::FileSystem::Default();
    const std::string out = Output("output.txt");
    for (auto _ : state) {
        std::unique_ptr<platform::File> file = files.Open(out, platform::OpenMode::kCreate, nullptr);
        bool ok = file != nullptr && bytes > 0;
        if (ok) {
            platform::BlockWriter writer(*file);
            for (std::uint64_t done = 0; ok && done < bytes; done += piece.size())
                ok = writer.Append(std::string_view(piece).substr(0, bytes - done));
            ok = ok && writer.Flush() && file->Sync();
        }
        if (!ok)
            state.SkipWithError("the write failed");
    }
    Finish(state, out);
}

void SystemCopy(benchmark::State& state)
{
    const std::string out = Output("copy.dbf");
    for (auto _ : state)
        fs::copy_file(Source(), out, fs::copy_options::overwrite_existing);
    Finish(state, out);
}

} // namespace

int main(int argc, char* argv[])
{
    return bench::RunWindowBenchmarks(argc, argv, [] {
        (void)Source();
        auto add = [](const char* name, void (*run)(benchmark::State&), std::vector<long> kinds) {
            auto* b = benchmark::RegisterBenchmark(name, run);
            for (const long kind : kinds)
                b->Arg(kind);
            b->ArgName("view")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
        };
        add("SystemCopy", SystemCopy, { 0 });
        add("OutputOnly", OutputOnly, { 0 });         // the export's bytes, written and synced
        add("GridText", GridText, { 0, 1 });          // all records; the unmarked ones
        add("GridTable", GridTable, { 0, 1, 2 });     // whole copy; filtered; four columns
        add("CliExport", CliExport, { 0, 1, 2 });     // all; unmarked; CSV
        add("CliSaveAs", CliSaveAs, { 0, 2 });        // whole copy; four columns
        benchmark::RunSpecifiedBenchmarks();
    });
}
