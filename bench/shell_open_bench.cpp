// The whole open of a table window over generated tables of 1 and 10 million records: from
// OpenTableFile (header check, database, table open, window, title) to the first painted
// rows. Nothing here may depend on the record count.

#include "bench/bench_tables.h"
#include "platform/file_system.h"
#include "platform/program_directory.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/viewer_app.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

void OpenTableFileToFirstRows(benchmark::State& state)
{
    const std::string path = bench::BenchTable(static_cast<std::uint32_t>(state.range(0)));
    const std::string programDir
        = (std::filesystem::temp_directory_path() / "lumetta-bench-shell").string();
    std::filesystem::create_directories(programDir);
    platform::FileSystem& fs = platform::FileSystem::Default();
    shell::CViewerApp app(fs, platform::SettingsLocation(fs, programDir, programDir));
    if (!app.InitInstance({})) {
        state.SkipWithError("the program did not start");
        return;
    }
    app.MainFrame()->resize(1200, 800);
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
