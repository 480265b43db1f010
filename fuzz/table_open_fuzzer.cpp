// A table file (and, after the part separator, its memo file) opened with code-page
// detection, walked through and every value read. Reading never changes either file.

#include "fuzz/fuzz_support.h"
#include "table/table.h"
#include "table/table_database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [tablePart, memoPart] = fuzzing::SplitParts(data, size);
    fuzzing::ClearScratch();
    const std::string& dir = fuzzing::ScratchDir();
    fuzzing::WriteTableAndMemo(tablePart, memoPart);
    table::TableDatabase database(platform::FileSystem::Default());
    fuzzing::Require(database.SetDatabaseDirectory(dir), "scratch folder is a database");
    table::CTable t(&database);
    if (t.Open("t", true))
        fuzzing::WalkTable(t);
    t.Close();
    fuzzing::Require(fuzzing::ReadFile(dir + "t.dbf") == tablePart, "reading the table changed it");
    if (!memoPart.empty()) {
        fuzzing::Require(fuzzing::ReadFile(dir + "t.dbt") == memoPart
                             && fuzzing::ReadFile(dir + "t.fpt") == memoPart,
                         "reading the table changed its memo file");
    }
    return 0;
}
