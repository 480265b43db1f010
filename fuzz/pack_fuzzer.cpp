// Pack of a scratch copy of a table (and its memo file after the part separator). A pack
// that succeeds keeps exactly the records not marked for deletion; one that fails leaves the
// table and its memo file byte for byte as they were, with no file of its own behind.

#include "fuzz/fuzz_support.h"
#include "table/table.h"
#include "table/table_database.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [tablePart, memoPart] = fuzzing::SplitParts(data, size);
    fuzzing::ClearScratch();
    const std::string& dir = fuzzing::ScratchDir();
    fuzzing::WriteTableAndMemo(tablePart, memoPart);
    platform::FileSystem& fs = platform::FileSystem::Default();
    table::TableDatabase database(fs);
    fuzzing::Require(database.SetDatabaseDirectory(dir), "scratch folder is a database");
    table::CTable t(&database);
    if (!t.Open("t", false))
        return 0;

    // Very long tables are left to the other targets: the count below reads every record.
    if (t.RecordCount() > 5000)
        return 0;
    std::uint32_t records = 0;
    std::uint32_t kept = 0;
    auto count = [&](std::uint32_t, const std::uint8_t* bytes) {
        ++records;
        kept += bytes[0] != '*';
        return true;
    };
    const bool scanned = t.ScanRecords(true, count) && records == t.RecordCount();
    std::vector<std::string> before = fs.List(dir);
    std::sort(before.begin(), before.end());

    if (t.Pack()) {
        if (scanned)
            fuzzing::Require(t.RecordCount() == kept, "pack kept a wrong number of records");
        fuzzing::WalkTable(t, 50);
        return 0;
    }
    fuzzing::Require(fuzzing::ReadFile(dir + "t.dbf") == tablePart, "a failed pack changed the table");
    if (!memoPart.empty()) {
        fuzzing::Require(fuzzing::ReadFile(dir + "t.dbt") == memoPart
                             && fuzzing::ReadFile(dir + "t.fpt") == memoPart,
                         "a failed pack changed the memo file");
    }
    std::vector<std::string> after = fs.List(dir);
    std::sort(after.begin(), after.end());
    // The table may have made its index folder; nothing else may be new.
    after.erase(std::remove(after.begin(), after.end(), "TmpIndex"), after.end());
    before.erase(std::remove(before.begin(), before.end(), "TmpIndex"), before.end());
    fuzzing::Require(before == after, "a failed pack left a file behind");
    return 0;
}
