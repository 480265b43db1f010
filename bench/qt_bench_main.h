#pragma once

#include "bench/bench_support.h"
#include "platform/prompt.h"
#include "resources/table_resources.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>

namespace bench {

// The main of a benchmark program over windows: an offscreen application with the English
// resources and every question agreed to, then `run` (by default the benchmarks registered so
// far) between Google Benchmark's start and end.
inline int RunWindowBenchmarks(int argc, char* argv[],
                               const std::function<void()>& run = [] { benchmark::RunSpecifiedBenchmarks(); })
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    resources::InstallEnglishResources();
    AgreeingPrompt prompt;
    platform::SetCurrentPrompt(&prompt);
    benchmark::Initialize(&argc, argv);
    run();
    benchmark::Shutdown();
    platform::SetCurrentPrompt(nullptr);
    return 0;
}

} // namespace bench
