// The record commands of a table window over a generated table of ten million records:
// Delete All (through the grid, and through the GUI-free commands), saving it, Undelete All,
// cell edits and an appended record saved, a pack, a page painted while every record is
// marked, and the memory the marks take. LUMETTA_BENCH_RECORDS=N runs them on N records
// instead, for a quick try.
//
// Whatever writes works on a fresh copy of the table each time; copying, opening and the
// marking that precedes a save are not timed. Times are wall-clock.

#include "bench/bench_tables.h"
#include "bench/qt_bench_main.h"
#include "grid/def_grid_impl.h"
#include "platform/file_system.h"
#include "platform/prompt.h"
#include "resources/table_resources.h"
#include "table/record_file.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tablegrid/operations/record_commands.h"
#include "tablegrid/row_images.h"
#include "tablegrid/table_wnd_grid.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::uint32_t RecordCount()
{
    return bench::BenchRecordCount();
}

// A copy of `source` named `name` in this run's scratch folder (a pack writes its own files
// beside the table, so the folder is the run's alone), replacing an earlier one.
std::string FreshCopy(const std::string& source, const std::string& name)
{
    return bench::FreshCopy("lumetta-record-ops", source, name);
}

// The bench table, copied once, for the benchmarks that only mark and paint: the shared
// bench table is never opened for writing here.
const std::string& ViewTable()
{
    static const std::string path = FreshCopy(bench::BenchTable(RecordCount()), "view.dbf");
    return path;
}

// The bench table with every record marked for deletion, made once: what Undelete All
// has to undo.
const std::string& AllDeletedTable()
{
    static const std::string path = [] {
        const std::string copy = FreshCopy(bench::BenchTable(RecordCount()), "all-deleted.dbf");
        table::RecordFile file(platform::FileSystem::Default());
        if (!file.Open(copy, table::RecordFile::Mode::kReadWrite))
            return std::string();
        const std::size_t length = file.RecordLength();
        std::vector<std::uint8_t> chunk(8192 * length);
        for (std::uint64_t first = 0; first < file.RecordCount(); first += 8192) {
            const std::uint64_t at = file.HeaderLength() + first * length;
            const std::size_t bytes
                = std::min<std::uint64_t>(8192, file.RecordCount() - first) * length;
            std::size_t got = 0;
            if (!file.RawFile()->ReadAt(at, chunk.data(), bytes, &got) || got != bytes)
                return std::string();
            for (std::size_t k = 0; k < bytes; k += length)
                chunk[k] = '*';
            if (!file.RawFile()->WriteAt(at, chunk.data(), bytes))
                return std::string();
        }
        return copy;
    }();
    return path;
}


const grid::GridImageList& Images()
{
    static const grid::GridImageList images = tablegrid::MakeRowHeaderImages();
    return images;
}

// A table window's grid on one table, with its database, sized to show about 40 rows.
struct Window
{
    explicit Window(const std::string& path)
        : database(platform::FileSystem::Default())
        , grid(nullptr)
    {
        (void)database.SetDatabaseDirectory(platform::DirectoryOf(path));
        opened = grid.OpenTable(path, &database) && grid.Create("DBGrid " + path, &Images(), 0);
        if (!opened)
            return;
        grid.resize(1000, 700);
        (void)grid.grab();
        const auto* view = static_cast<const grid::CDefGridImpl*>(grid.GetCurrentImpl());
        grid.resize(1000, 700 + (40 - view->PageRows()) * view->RowHeight());
        (void)grid.grab();
    }

    table::TableDatabase database;
    tablegrid::CTableWndGrid grid;
    bool opened = false;
};

// Opens a window, or skips the benchmark when it cannot.
std::unique_ptr<Window> OpenWindow(benchmark::State& state, const std::string& path)
{
    auto window = std::make_unique<Window>(path);
    if (window->opened)
        return window;
    state.SkipWithError(("cannot open " + path).c_str());
    return nullptr;
}

void DeleteAll(benchmark::State& state)
{
    std::size_t marks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = OpenWindow(state, ViewTable());
        if (!window)
            return;
        state.ResumeTiming();
        window->grid.MarkAll(true);
        state.PauseTiming();
        marks = window->grid.PendingChanges().MarkCount();
        window.reset();
        state.ResumeTiming();
    }
    state.counters["marks"] = static_cast<double>(marks);
}

// The record commands' host as the command-line tool would be: every record a row.
class TableHost : public tablegrid::RecordCommandHost
{
public:
    explicit TableHost(table::CTable& table)
        : m_table(table)
        , m_rows(static_cast<int>(table.RecordCount()))
    { }
    table::CTable* CommandTable() override { return &m_table; }
    int CommandRowCount() const override { return m_rows; }
    bool PositionOnRow(int row) override { return row >= 1 && row <= m_rows && m_table.GoTo(row); }
    bool AddPendingChange(tablegrid::PendingChange change, bool) override
    {
        changes.Append(std::move(change));
        return true;
    }
    int Notify(int, const std::string&, const std::string&) override { return 1; }

    tablegrid::PendingChangeList changes;

private:
    table::CTable& m_table;
    int m_rows;
};

void DeleteAllCommands(benchmark::State& state)
{
    table::TableDatabase database(platform::FileSystem::Default());
    (void)database.SetDatabaseDirectory(platform::DirectoryOf(ViewTable()));
    table::CTable table(&database);
    if (!table.Open(ViewTable(), false)) {
        state.SkipWithError("cannot open the table");
        return;
    }
    std::size_t marks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto host = std::make_unique<TableHost>(table);
        state.ResumeTiming();
        tablegrid::RecordCommands(*host, host->changes).MarkAll(true);
        state.PauseTiming();
        marks = host->changes.MarkCount();
        host.reset();
        state.ResumeTiming();
    }
    state.counters["marks"] = static_cast<double>(marks);
}

// Whether every record of the file shows as deleted (or none does).
bool EveryRecordIs(table::CTable& saved, bool deleted)
{
    table::RecordFile file(platform::FileSystem::Default());
    if (!file.Open(saved.TablePath(), table::RecordFile::Mode::kRead))
        return false;
    for (std::uint32_t k = 1; k <= file.RecordCount(); ++k) {
        if (!file.ReadRecord(k) || (file.Record()[0] == '*') != deleted)
            return false;
    }
    return true;
}

// Marks every record of a fresh copy of `source` (deleteAll) or takes every mark off, then
// times the save.
void SaveAfterMarkAll(benchmark::State& state, const std::string& source, bool deleteAll)
{
    std::size_t written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = OpenWindow(state, FreshCopy(source, "save.dbf"));
        if (!window)
            return;
        window->grid.MarkAll(deleteAll);
        written = window->grid.PendingChanges().MarkCount();
        state.ResumeTiming();
        const bool saved = window->grid.SaveChanges(true, nullptr);
        state.PauseTiming();
        if (!saved || window->grid.HasPendingChanges()
            || !EveryRecordIs(*window->grid.GetTable(), deleteAll)) {
            state.SkipWithError("the save failed");
            return;
        }
        window.reset();
        state.ResumeTiming();
    }
    state.counters["marks"] = static_cast<double>(written);
}

void SaveAfterDeleteAll(benchmark::State& state)
{
    SaveAfterMarkAll(state, bench::BenchTable(RecordCount()), true);
}

void UndeleteAll(benchmark::State& state)
{
    std::size_t marks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = OpenWindow(state, AllDeletedTable());
        if (!window)
            return;
        state.ResumeTiming();
        window->grid.MarkAll(false);
        state.PauseTiming();
        marks = window->grid.PendingChanges().MarkCount();
        window.reset();
        state.ResumeTiming();
    }
    state.counters["marks"] = static_cast<double>(marks);
}

void SaveAfterUndeleteAll(benchmark::State& state)
{
    SaveAfterMarkAll(state, AllDeletedTable(), false);
}

// 300 cells of the first column edited on rows spread over the table, as typed and confirmed,
// then saved; save_ms is the save alone. Each edit's row is far from the last, so the grid
// fills its row cache around it first, as it would when the user moved there.
void EditCellsThenSave(benchmark::State& state)
{
    constexpr int kEdits = static_cast<int>(tablegrid::PendingChangeList::kLimit);
    double saveTime = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = OpenWindow(state, FreshCopy(bench::BenchTable(RecordCount()), "edit.dbf"));
        if (!window)
            return;
        tablegrid::CTableWndGrid& grid = window->grid;
        const int step = std::max(grid.GetRowCount() / kEdits, 1);
        state.ResumeTiming();
        for (int i = 0; i < kEdits; ++i) {
            const int row = (i * step) % grid.GetRowCount();
            grid.EnsureRowsCached(row, row);
            if (!grid.ValidateCell(row, 0, "EDITED " + std::to_string(i))) {
                state.SkipWithError("an edit was refused");
                return;
            }
        }
        const auto saveStart = std::chrono::steady_clock::now();
        const bool saved = grid.SaveChanges(true, nullptr);
        state.PauseTiming();
        saveTime += std::chrono::duration<double, std::milli>(
            std::chrono::steady_clock::now() - saveStart)
                        .count();
        if (!saved || grid.HasPendingChanges()) {
            state.SkipWithError("the save failed");
            return;
        }
        window.reset();
        state.ResumeTiming();
    }
    state.counters["save_ms"] = saveTime / static_cast<double>(state.iterations());
}

void AppendEmptyThenSave(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto window = OpenWindow(state, FreshCopy(bench::BenchTable(RecordCount()), "append.dbf"));
        if (!window)
            return;
        state.ResumeTiming();
        const bool appended = window->grid.AppendRecord(false);
        const bool saved = window->grid.SaveChanges(true, nullptr);
        state.PauseTiming();
        if (!appended || !saved || window->grid.GetTable()->RecordCount() != RecordCount() + 1) {
            state.SkipWithError("the append was not saved");
            return;
        }
        window.reset();
        state.ResumeTiming();
    }
}

void Pack(benchmark::State& state)
{
    std::uint32_t kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = OpenWindow(state, FreshCopy(bench::BenchTable(RecordCount()), "pack.dbf"));
        if (!window)
            return;
        state.ResumeTiming();
        const bool packed = window->grid.PackTable();
        state.PauseTiming();
        if (!packed) {
            state.SkipWithError("the pack failed");
            return;
        }
        kept = window->grid.GetTable()->RecordCount();
        window.reset();
        state.ResumeTiming();
    }
    state.counters["kept"] = kept;
}

// A page of about 40 rows painted after a jump elsewhere in the table (the rows are filled
// anew), with every record marked (marks = 1) or none.
void PaintPage(benchmark::State& state)
{
    auto window = OpenWindow(state, ViewTable());
    if (!window)
        return;
    tablegrid::CTableWndGrid& grid = window->grid;
    if (state.range(1) != 0)
        grid.MarkAll(true);
    const int rows = grid.GetRowCount();
    const int jumps[] = { rows / 2, rows - 1, rows / 3, 0 };
    std::size_t next = 0;
    for (auto _ : state) {
        grid.SetCurrentCell(jumps[next], 0);
        next = (next + 1) % std::size(jumps);
        QPixmap painted = grid.grab();
        benchmark::DoNotOptimize(painted);
    }
    state.counters["rows"]
        = static_cast<const grid::CDefGridImpl*>(grid.GetCurrentImpl())->PageRows();
    state.counters["marks"] = static_cast<double>(grid.PendingChanges().MarkCount());
}

// A line of /proc/self/status in kilobytes ("VmRSS", "VmHWM"); 0 when it cannot be read.
double StatusMegabytes(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, key.size() + 1, key + ":") == 0)
            return std::atof(line.c_str() + key.size() + 1) / 1024.0;
    }
    return 0;
}

// What marking every record adds to the process: resident memory after Delete All, its peak
// during it (the peak is reset first), and what the pending-change list says it holds.
void MarksMemory(benchmark::State& state)
{
    double rssAdded = 0;
    double peakAdded = 0;
    double listBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = OpenWindow(state, ViewTable());
        if (!window)
            return;
        std::ofstream("/proc/self/clear_refs") << "5";
        const double before = StatusMegabytes("VmRSS");
        state.ResumeTiming();
        window->grid.MarkAll(true);
        state.PauseTiming();
        rssAdded = StatusMegabytes("VmRSS") - before;
        peakAdded = StatusMegabytes("VmHWM") - before;
        listBytes = static_cast<double>(window->grid.PendingChanges().MemoryBytes());
        window.reset();
        state.ResumeTiming();
    }
    state.counters["rss_added_MB"] = rssAdded;
    state.counters["peak_added_MB"] = peakAdded;
    state.counters["list_MB"] = listBytes / (1024.0 * 1024.0);
}

// A benchmark whose iterations each copy the table gets a fixed number of them: a fast
// operation would otherwise be run thousands of times, each after a copy of 780 megabytes.
void Register(const char* name, void (*function)(benchmark::State&), int copies = 0)
{
    auto* registered = benchmark::RegisterBenchmark(name, function)
                           ->Arg(RecordCount())
                           ->ArgName("records")
                           ->Unit(benchmark::kMillisecond)
                           ->UseRealTime();
    if (copies > 0)
        registered->Iterations(copies);
}

} // namespace

int main(int argc, char* argv[])
{
    return bench::RunWindowBenchmarks(argc, argv, [] {
        // First, while nothing freed earlier can be handed out again and hide what it adds.
        benchmark::RegisterBenchmark("MarksMemory", MarksMemory)
            ->Arg(RecordCount())
            ->ArgName("records")
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
        Register("DeleteAll", DeleteAll);
        Register("DeleteAllCommands", DeleteAllCommands);
        Register("SaveAfterDeleteAll", SaveAfterDeleteAll, 3);
        Register("UndeleteAll", UndeleteAll);
        Register("SaveAfterUndeleteAll", SaveAfterUndeleteAll, 3);
        Register("EditCellsThenSave", EditCellsThenSave, 5);
        Register("AppendEmptyThenSave", AppendEmptyThenSave, 5);
        Register("Pack", Pack, 3);
        benchmark::RegisterBenchmark("PaintPage", PaintPage)
            ->Args({ RecordCount(), 0 })
            ->Args({ RecordCount(), 1 })
            ->ArgNames({ "records", "marks" })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RunSpecifiedBenchmarks();
    });
}
