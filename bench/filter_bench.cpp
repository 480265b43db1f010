// The filter of a table window over the generated table of ten million records (read from a
// warm page cache): the count of the passing records as the Filter dialog starts it, for
// one condition of each operator kind and for a list of four; then, in a filtered window,
// the page painted after Ctrl+End, after a jump to the middle row and after Page Down, and
// Delete All over the rows shown. LUMETTA_BENCH_RECORDS=N runs them on N records instead.
//
// GB/s is the table file's size over the time: how fast the filter goes through the file.
// Times are wall-clock.

#include "bench/bench_tables.h"
#include "bench/qt_bench_main.h"
#include "bench/status_host.h"
#include "grid/def_grid_impl.h"
#include "platform/file_system.h"
#include "platform/prompt.h"
#include "resources/table_resources.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tablegrid/operations/filter_node.h"
#include "tablegrid/row_images.h"
#include "tablegrid/table_wnd_grid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using tablegrid::FilterCondition;
using tablegrid::FilterOp;

std::uint32_t RecordCount()
{
    return bench::BenchRecordCount();
}

// LUMETTA_BENCH_TABLE=PATH runs them on another table with the same field names (the
// comparison with other programs does, on its own table).
const std::string& TablePath()
{
    static const std::string path = std::getenv("LUMETTA_BENCH_TABLE")
        ? std::string(std::getenv("LUMETTA_BENCH_TABLE"))
        : bench::BenchTable(RecordCount());
    return path;
}

double TableGigabytes()
{
    return static_cast<double>(std::filesystem::file_size(TablePath())) / 1e9;
}

using bench::StatusHost;

const grid::GridImageList& Images()
{
    static const grid::GridImageList images = tablegrid::MakeRowHeaderImages();
    return images;
}

// A table window's grid on the bench table, sized to show about 40 rows.
struct Window
{
    Window()
        : database(platform::FileSystem::Default())
        , grid(&host)
    {
        const std::string& path = TablePath();
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

    // What the Filter dialog does on OK: the conditions become the tree, the options are
    // set, the filter is applied.
    void Filter(const std::vector<FilterCondition>& conditions)
    {
        grid.FilterRoot() = tablegrid::BuildFilterTree(conditions);
        grid.SetFilterModes(0, 0);
        grid.ApplyFilter();
    }

    StatusHost host;
    table::TableDatabase database;
    tablegrid::CTableWndGrid grid;
    bool opened = false;
};

// The one window of the run, made by main after the application.
Window* g_window = nullptr;

Window* TheWindow(benchmark::State& state)
{
    if (g_window && g_window->opened)
        return g_window;
    state.SkipWithError(("cannot open " + TablePath()).c_str());
    return nullptr;
}

FilterCondition Condition(const char* column, FilterOp op, const char* value = "",
    bool caseSensitive = true)
{
    FilterCondition c;
    c.column = column;
    c.op = op;
    c.value = value;
    c.caseSensitive = caseSensitive;
    return c;
}

FilterCondition Or()
{
    FilterCondition c;
    c.isOrSeparator = true;
    return c;
}

void SetRates(benchmark::State& state, int rows)
{
    state.counters["rows"] = rows;
    state.counters["GB/s"] = benchmark::Counter(TableGigabytes(), benchmark::Counter::kIsIterationInvariantRate);
}

// The count of a filter, from a window showing every record.
void Requery(benchmark::State& state, std::vector<FilterCondition> conditions)
{
    Window* window = TheWindow(state);
    if (!window)
        return;
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window->Filter({});
        state.ResumeTiming();
        window->Filter(conditions);
        state.PauseTiming();
        rows = window->grid.GetRowCount();
        state.ResumeTiming();
    }
    if (!window->grid.IsFiltered())
        state.SkipWithError("the filter was refused");
    SetRates(state, rows);
    window->Filter({});
}

// The filter the paints and Delete All are timed in: about a fifth of the records.
const std::vector<FilterCondition>& PaintFilter()
{
    static const std::vector<FilterCondition> conditions
        = { Condition("NAME", FilterOp::kContains, "ivan", false) };
    return conditions;
}

Window* FilteredWindow(benchmark::State& state)
{
    Window* window = TheWindow(state);
    if (!window)
        return nullptr;
    if (window->grid.FilterRoot() != tablegrid::BuildFilterTree(PaintFilter()))
        window->Filter(PaintFilter());
    return window;
}

void Press(tablegrid::CTableWndGrid& grid, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&grid, &event);
}

// Each paint starts from the top of the filtered rows, painted; then the move and the paint
// of the rows it shows are timed.
void PaintAfter(benchmark::State& state, void (*move)(tablegrid::CTableWndGrid&))
{
    Window* window = FilteredWindow(state);
    if (!window)
        return;
    tablegrid::CTableWndGrid& grid = window->grid;
    for (auto _ : state) {
        state.PauseTiming();
        grid.GoToPosition(tablegrid::CTableGrid::kGoTop, 0, 0);
        grid.RefreshRows(true);
        (void)grid.grab();
        state.ResumeTiming();
        move(grid);
        QPixmap painted = grid.grab();
        benchmark::DoNotOptimize(painted);
    }
    state.counters["rows"] = grid.GetRowCount();
    state.counters["row"] = grid.GetCurrentRow() + 1;
}

void PaintAfterCtrlEnd(benchmark::State& state)
{
    PaintAfter(state, [](tablegrid::CTableWndGrid& grid) { Press(grid, Qt::Key_End, Qt::ControlModifier); });
}

void PaintAfterJumpToMiddle(benchmark::State& state)
{
    PaintAfter(state, [](tablegrid::CTableWndGrid& grid) {
        grid.GoToPosition(tablegrid::CTableGrid::kGoRow, grid.GetRowCount() / 2, -1);
    });
}

// Page Down from the middle row, its page already painted.
void PaintAfterPageDown(benchmark::State& state)
{
    Window* window = FilteredWindow(state);
    if (!window)
        return;
    tablegrid::CTableWndGrid& grid = window->grid;
    for (auto _ : state) {
        state.PauseTiming();
        grid.GoToPosition(tablegrid::CTableGrid::kGoRow, grid.GetRowCount() / 2, 0);
        grid.RefreshRows(true);
        (void)grid.grab();
        state.ResumeTiming();
        Press(grid, Qt::Key_PageDown);
        QPixmap painted = grid.grab();
        benchmark::DoNotOptimize(painted);
    }
    state.counters["rows"] = grid.GetRowCount();
    state.counters["row"] = grid.GetCurrentRow() + 1;
}

// Delete All over the filtered rows; taken back (one undo step) between iterations.
void MarkAllFiltered(benchmark::State& state)
{
    Window* window = FilteredWindow(state);
    if (!window)
        return;
    tablegrid::CTableWndGrid& grid = window->grid;
    std::size_t marks = 0;
    for (auto _ : state) {
        grid.MarkAll(true);
        state.PauseTiming();
        marks = grid.PendingChanges().MarkCount();
        (void)grid.UndoChange();
        state.ResumeTiming();
    }
    state.counters["marks"] = static_cast<double>(marks);
    state.counters["GB/s"] = benchmark::Counter(TableGigabytes(), benchmark::Counter::kIsIterationInvariantRate);
}

void RegisterRequery(const std::string& name, std::vector<FilterCondition> conditions)
{
    benchmark::RegisterBenchmark(("Requery/" + name).c_str(),
        [conditions](benchmark::State& state) { Requery(state, conditions); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

void RegisterAll()
{
    using Op = FilterOp;
    RegisterRequery("empty/NAME", { Condition("NAME", Op::kEmpty) });
    RegisterRequery("not_empty/NAME", { Condition("NAME", Op::kNotEmpty) });
    RegisterRequery("true/FLAG", { Condition("FLAG", Op::kTrue) });
    RegisterRequery("false/FLAG", { Condition("FLAG", Op::kFalse) });
    struct Comparison
    {
        const char* text;
        Op op;
    };
    const Comparison comparisons[] = { { "=", Op::kEqual }, { "#", Op::kNotEqual },
        { "<", Op::kLess }, { "<=", Op::kLessOrEqual }, { ">", Op::kGreater },
        { ">=", Op::kGreaterOrEqual } };
    for (const Comparison& c : comparisons)
        RegisterRequery(std::string(c.text) + "/SUM", { Condition("SUM", c.op, "50000") });
    for (const Comparison& c : comparisons) {
        RegisterRequery(std::string(c.text) + "/NAME/case",
            { Condition("NAME", c.op, "Petrova Anna 12", true) });
        RegisterRequery(std::string(c.text) + "/NAME/nocase",
            { Condition("NAME", c.op, "petrova anna 12", false) });
    }
    RegisterRequery("contains/NAME/case", { Condition("NAME", Op::kContains, "Oleg", true) });
    RegisterRequery("contains/NAME/nocase", { Condition("NAME", Op::kContains, "oleg", false) });
    RegisterRequery("not_contains/NAME/case", { Condition("NAME", Op::kNotContains, "Oleg", true) });
    RegisterRequery("not_contains/NAME/nocase",
        { Condition("NAME", Op::kNotContains, "oleg", false) });
    RegisterRequery(">=/DT", { Condition("DT", Op::kGreaterOrEqual, "01.01.2010") });
    // (SUM > 500 and FLAG true) or (CODE < 100 and NAME contains oleg).
    RegisterRequery("four_and_or",
        { Condition("SUM", Op::kGreater, "500"), Condition("FLAG", Op::kTrue), Or(),
            Condition("CODE", Op::kLess, "100"), Condition("NAME", Op::kContains, "oleg", false) });

    for (const auto& [name, function] :
        { std::pair { "PaintAfterCtrlEnd", &PaintAfterCtrlEnd },
            std::pair { "PaintAfterJumpToMiddle", &PaintAfterJumpToMiddle },
            std::pair { "PaintAfterPageDown", &PaintAfterPageDown } })
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("MarkAllFiltered", MarkAllFiltered)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

} // namespace

int main(int argc, char* argv[])
{
    return bench::RunWindowBenchmarks(argc, argv, [] {
        Window window;
        g_window = &window;
        RegisterAll();
        benchmark::RunSpecifiedBenchmarks();
        g_window = nullptr;
    });
}
