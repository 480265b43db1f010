#pragma once

#include "table/dbf_error.h"
#include "table/field_def.h"

#include <string>

namespace platform {
class FileSystem;
}

namespace table {

// Checks a field list for a new table: types C, D, F, L, M, N only; a C field needs a
// non-zero storage width, other fields a length of at least their decimal count; names of
// 1..10 characters; the record (1 + the widths) and the header must fit their 16-bit
// header slots.
DbfError CheckNewFields(const FieldList& fields);

// Creates an empty table with exactly these fields, replacing a file at `path`: version
// 0x03 (0x83 when a field is M), today's date, no records, header length 32n+33, code-page
// byte 0, the 0x0D terminator followed at once by the end-of-file byte. A table with memo
// fields gets a new empty dBASE III memo file beside it. The table is written under a
// temporary name and renamed into place, so a failure leaves an existing file as it was.
DbfError CreateTableFile(platform::FileSystem& fs, const std::string& path,
                         const FieldList& fields);

} // namespace table
