#pragma once

#include "platform/prompt.h"

#include <cstdint>
#include <string>

namespace bench {

// The record count of the benchmarks over large tables: ten million, or
// LUMETTA_BENCH_RECORDS=N for a quick try.
std::uint32_t BenchRecordCount();

// This run's folder of scratch files, named `prefix` and the process id under the system's
// temporary folder; made on first use, removed with everything in it at exit.
const std::string& ScratchFolder(const std::string& prefix);

// A copy of `source` named `name` in the scratch folder, replacing an earlier one.
std::string FreshCopy(const std::string& prefix, const std::string& source, const std::string& name);

// Answers every question as a user who goes ahead: Yes, or OK.
class AgreeingPrompt : public platform::Prompt
{
public:
    int Ask(const std::string& text, platform::PromptButtons buttons,
        platform::PromptIcon icon) override;
};

} // namespace bench
