// Cost of painting and scrolling the grid, at 100 rows and at 100,000,000 rows: it must
// not depend on the row count. Runs on the offscreen platform, painting into an image.

#include "grid/def_grid_impl.h"
#include "grid/grid_wnd.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>

namespace {

// Six columns of generated text, the way a table of names, sums and dates would look.
class BenchGrid : public grid::CGridWnd
{
public:
    void FillRow(int row, CRow* rowObject) override
    {
        ++fills;
        char buffer[32];
        for (int c = 0; c < rowObject->ColumnCount(); ++c) {
            std::snprintf(buffer, sizeof buffer, c == 2 ? "%d.%02d" : "R%d C%d", row, c);
            rowObject->texts[static_cast<size_t>(c)] = buffer;
        }
    }

    long long fills = 0;
};

struct Fixture
{
    explicit Fixture(int rows)
    {
        grid.AddImpl(&view);
        QFont font(QStringLiteral("Liberation Mono"));
        font.setPointSize(10);
        grid.SetGridFont(font);
        grid.Create(nullptr, 0);
        const char* titles[] = { "Name", "Street", "Sum", "Date", "Code", "Note" };
        for (int c = 0; c < 6; ++c)
            grid.InsertColumn(c, titles[c], 12, 110, 20, c == 2 ? 2 : 0);
        grid.resize(800, 600);
        grid.show();
        grid.SetRowCount(rows);
        image = QImage(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        Paint();
    }

    void Paint() { grid.viewport()->render(&image); }

    grid::CDefGridImpl view;
    BenchGrid grid;
    QImage image;
};

void BM_PaintPage(benchmark::State& state)
{
    Fixture f(static_cast<int>(state.range(0)));
    f.grid.fills = 0;
    for (auto _ : state)
        f.Paint();
    state.counters["fills/iter"]
        = benchmark::Counter(static_cast<double>(f.grid.fills), benchmark::Counter::kAvgIterations);
}

// The Down key on the last visible row: the view moves one row.
void BM_RowDown(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    Fixture f(rows);
    f.grid.SetCurrentCell(f.view.PageRows() - 1, 0);
    f.Paint();
    f.grid.fills = 0;
    for (auto _ : state) {
        const int next = f.grid.GetCurrentRow() + 1;
        f.grid.SetCurrentCell(next >= rows ? 0 : next, 0);
        f.Paint();
    }
    state.counters["fills/iter"]
        = benchmark::Counter(static_cast<double>(f.grid.fills), benchmark::Counter::kAvgIterations);
}

// The Page Down key: the view moves a page.
void BM_PageDown(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    Fixture f(rows);
    f.grid.SetCurrentCell(0, 0);
    f.Paint();
    f.grid.fills = 0;
    for (auto _ : state) {
        const int next = f.grid.GetCurrentRow() + f.view.PageRows();
        f.grid.SetCurrentCell(next >= rows ? 0 : next, 0);
        f.Paint();
    }
    state.counters["fills/iter"]
        = benchmark::Counter(static_cast<double>(f.grid.fills), benchmark::Counter::kAvgIterations);
}

// One step of the scroll bar's arrow: a row at 100 rows; at 100,000,000 rows a unit of the
// bar stands for about 1,526 rows, so each step refetches a window.
void BM_ScrollBarStep(benchmark::State& state)
{
    Fixture f(static_cast<int>(state.range(0)));
    QScrollBar* bar = f.grid.verticalScrollBar();
    f.grid.fills = 0;
    for (auto _ : state) {
        if (bar->value() >= bar->maximum())
            bar->setValue(0);
        else
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        f.Paint();
    }
    state.counters["fills/iter"]
        = benchmark::Counter(static_cast<double>(f.grid.fills), benchmark::Counter::kAvgIterations);
}

// A jump to a random row: the worst case, a whole cache window fetched.
void BM_JumpAnywhere(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    Fixture f(rows);
    std::mt19937 random(42);
    std::uniform_int_distribution<int> pick(0, rows - 1);
    f.grid.fills = 0;
    for (auto _ : state) {
        f.grid.SetCurrentRow(pick(random));
        f.Paint();
    }
    state.counters["fills/iter"]
        = benchmark::Counter(static_cast<double>(f.grid.fills), benchmark::Counter::kAvgIterations);
    state.counters["cached rows"] = f.grid.Cache().CachedRowCount();
}

BENCHMARK(BM_PaintPage)->Arg(100)->Arg(100'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RowDown)->Arg(100)->Arg(100'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageDown)->Arg(100)->Arg(100'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollBarStep)->Arg(100)->Arg(100'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JumpAnywhere)->Arg(100)->Arg(100'000'000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
