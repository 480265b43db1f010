#pragma once

#include "tablegrid/operations/save_target.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {
class FileSystem;
}

namespace table {
class CTable;
}

namespace tablegrid {

// Save As of a table as a new DBF table, in two steps: a Copy or Subset call writes the
// complete new table (and its memo file) under temporary names beside `path`; the caller
// may then open that table (WrittenPath) to carry pending changes into it; Commit puts the
// files in place. Until Commit nothing at `path` changes; a saver destroyed without Commit
// removes what it wrote. The source table is only read. A `path` that is a link is saved
// through: the table it names is replaced, with the memo file beside that table.
//
// Copy: the table file byte for byte, with its memo file under the new name.
// Subset: a new table of the chosen fields (same names, types, widths and decimals, the
// source's code-page mark) holding either every record in file order or the records the
// source passes (its filters, in its order), renumbered from 1, each with its deletion
// mark; the values written as record_copy.h's RecordCopy does, memo texts copied into
// the new table's own memo file.
class TableSaver
{
public:
    enum class Result {
        kSaved,
        kSameFile,       // `path`, or the memo file it would get, is the source or its memo
        kCreateFailed,   // the new files could not be made (a field type a table cannot take)
        kReadFailed,
        kWriteFailed,
        kMemoUnreadable, // memo texts are to be copied and the source's memo file is not open
    };

    // Called for every record of a subset as it is written: its number in the source and in
    // the new table, and the new record's bytes (deletion flag first), which it may change.
    using RecordHook
        = std::function<void(std::uint32_t sourceRecord, std::uint32_t copyRecord, std::uint8_t* record)>;

    explicit TableSaver(platform::FileSystem& fs);

    [[nodiscard]] Result Copy(table::CTable& source, const std::string& path);
    // `fields`: indexes into the source's fields, in the new table's order.
    [[nodiscard]] Result Subset(table::CTable& source, const std::vector<int>& fields,
        bool allRecords, const std::string& path, const RecordHook& hook = nullptr);

    // The new table under its temporary name, after a Copy or Subset that saved.
    const std::string& WrittenPath() const { return m_target.TemporaryPath(m_tableAt); }
    [[nodiscard]] bool Commit() { return m_target.Commit(); }

    // Whether saving `source` at `path` would write onto the source's own table or memo
    // file (the same file under any spelling), directly or through the memo file the new
    // table gets.
    static bool WouldOverwriteSource(const table::CTable& source, const std::string& path);

private:
    platform::FileSystem& m_fs;
    SaveTarget m_target;
    std::size_t m_tableAt = 0; // the table's place among the target's files
};

} // namespace tablegrid
