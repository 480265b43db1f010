#pragma once

#include "table/expression.h"
#include "table/fast_filter.h"
#include "table/memo_file.h"
#include "table/record_file.h"

#include <memory>
#include <string>

namespace platform {
class FileSystem;
}

namespace table {

struct TableIndex;

// What one open table holds below CTable: the table file with its record buffer, the memo
// file of a dBASE III or IV table with memo fields, the active index (owned by the table's
// index map, not here) and the filter expression with its parsed and compiled forms.
struct DbfHandle
{
    explicit DbfHandle(platform::FileSystem& fs)
        : file(fs)
        , memo(fs)
    {
    }

    RecordFile file;
    MemoFile memo;
    TableIndex* activeIndex = nullptr;
    std::string filterText; // as stored: in the table's code page
    std::unique_ptr<Expression> filter;
    // The same filter tested straight on record bytes, when it is one of the forms the
    // program builds; null otherwise.
    std::unique_ptr<FastFilter> fastFilter;
};

} // namespace table
