// A table file through the header check, and when the check finds the counts or lengths
// wrong, through the repair and the replacement of the table by the repaired copy. A
// repaired table must then pass the check; a failed repair must leave the table as it was.

#include "fuzz/fuzz_support.h"
#include "table/dbf_file.h"
#include "table/header_repair.h"
#include "table/table.h"
#include "table/table_database.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzzing::ClearScratch();
    const std::string& dir = fuzzing::ScratchDir();
    const std::string path = dir + "t.dbf";
    fuzzing::WriteFile(path, bytes);
    platform::FileSystem& fs = platform::FileSystem::Default();

    std::string repaired;
    bool madeCopy = false;
    {
        table::CDBFFile check(fs, path);
        (void)table::CheckResultText(check.Result());
        if (!table::CDBFFile::IsRecoverable(check.Result()))
            return 0;
        madeCopy = check.Repair(dir, &repaired);
    }
    fuzzing::Require(fuzzing::ReadFile(path) == bytes, "the check or repair changed the table");
    if (!madeCopy) {
        fuzzing::Require(fs.List(dir).size() == 1, "a failed repair left a file behind");
        return 0;
    }
    const table::ReplaceResult replaced = table::ReplaceWithRepaired(fs, path, repaired);
    fuzzing::Require(replaced.Succeeded(), "the repaired copy did not take the table's place");
    fuzzing::Require(fuzzing::ReadFile(replaced.backupPath) == bytes, "the backup is not the original");
    {
        table::CDBFFile again(fs, path);
        fuzzing::Require(again.Result() == table::CDBFFile::CheckResult::kAgrees,
                         "a repaired table does not pass the check");
    }
    table::TableDatabase database(fs);
    fuzzing::Require(database.SetDatabaseDirectory(dir), "scratch folder is a database");
    table::CTable t(&database);
    if (t.Open("t", false))
        fuzzing::WalkTable(t, 50);
    return 0;
}
