// The whole open of a table window over generated tables of 1 and 10 million records: from
// OpenTableFile (header check, database, table open, window, title) to the first painted
// rows. Nothing here may depend on the record count.

#include "bench/bench_program.h"
#include "bench/bench_tables.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/viewer_app.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>


namespace {

void OpenTableFileToFirstRows(benchmark::State& state)
{
    const std::string path = bench::BenchTable(static_cast<std::uint32_t>(state.range(0)));
    bench::StartedProgram program("lumetta-bench-shell");
    if (!program.started) {
        state.SkipWithError("the program did not start");
        return;
    }
    shell::CViewerApp& app = program.app;
    for (auto _ : state) {
        if (!app.OpenTableFile(path)) {
            state.SkipWithError("cannot open the table");
            break;
        }
        shell::CChildFrame* window = app.MainFrame()->ActiveTableWindow();
        QPixmap painted = window->Grid()->grab();
        benchmark::DoNotOptimize(painted);
        state.PauseTiming();
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(OpenTableFileToFirstRows)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication qtApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
