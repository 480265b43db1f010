// The address classifier's command: the region table of a classifier directory.

#include "classifiers/region_table_builder.h"
#include "tools/cli/commands.h"

#include <ostream>

namespace cli {
namespace {

const char* FailureText(classifiers::RegionTableBuilder::Result result)
{
    using Result = classifiers::RegionTableBuilder::Result;
    switch (result) {
    case Result::kNoKladr: return "no KLADR table (Kladr.dbf) can be opened there";
    case Result::kNoCodeField: return "the KLADR table has no character field CODE";
    case Result::kMemoFields: return "the KLADR table has memo fields, which a KLADR table does not have";
    case Result::kCreateFailed: return "the region table cannot be created there";
    case Result::kReadFailed: return "a record of the KLADR table cannot be read";
    case Result::kWriteFailed: return "the region table cannot be written";
    case Result::kBuilt: break;
    }
    return "";
}

} // namespace

int MakeRegion(const Invocation& call)
{
    classifiers::RegionTableBuilder builder(call.fs);
    const auto result = builder.Build(call.file, nullptr);
    if (result != classifiers::RegionTableBuilder::Result::kBuilt) {
        call.streams.err << "lumetta-cli: " << call.file << ": " << FailureText(result)
                         << "; nothing was written\n";
        return kExitFailed;
    }
    call.streams.out << "Region table:     " << builder.RegionPath() << '\n'
                     << "Records visited:  " << builder.Visited() << '\n'
                     << "Records kept:     " << builder.Kept() << '\n';
    return kExitOk;
}

} // namespace cli
