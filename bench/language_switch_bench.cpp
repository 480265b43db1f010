// Switching the interface language with a dozen table windows open: the resource source, the
// menus of every window, the titles, the dates reformatted, the active window re-activated.

#include "bench/bench_program.h"
#include "bench/bench_tables.h"
#include "platform/utf8.h"
#include "shell/main_frame.h"
#include "shell/viewer_app.h"

#include <QApplication>

#include <benchmark/benchmark.h>


namespace {

constexpr int kWindows = 12;

void SwitchLanguage(benchmark::State& state)
{
    const std::string path = bench::BenchTable(10'000);
    bench::StartedProgram program("lumetta-bench-language");
    if (!program.started) {
        state.SkipWithError("the program did not start");
        return;
    }
    shell::CViewerApp& app = program.app;
    for (int i = 0; i < kWindows; ++i) {
        if (!app.OpenTableFile(path)) {
            state.SkipWithError("cannot open the table");
            return;
        }
    }
    const std::string names[] = { platform::Utf8ToAnsi("Русский"), "English" };
    int next = 0;
    for (auto _ : state) {
        app.SwitchLanguage(names[next], next == 0 ? table::DateFormat::kYyyyMmDd
                                                  : table::DateFormat::kDdMmYyyy);
        next = 1 - next;
        QApplication::processEvents();
    }
    state.counters["windows"] = kWindows;
}

} // namespace

BENCHMARK(SwitchLanguage)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication qtApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
