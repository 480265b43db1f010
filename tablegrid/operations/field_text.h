#pragma once

#include "table/date_format.h"
#include "table/field_def.h"

#include <cstdint>
#include <string>

namespace tablegrid {

// How Save As turns a stored field into what it writes: the field's text form for its
// width and decimals (a number right-aligned in the field's width with its decimals, a date
// in the chosen form, a logical "T" or "F"), and the bytes a field takes in a new table.
//
// Each call has a fast path for the stored forms tables hold (plain text, numbers already in
// their canonical layout, valid dates, T/F logicals), which is what lets a save run at the
// speed of reading the file; everything else goes through the field value, exactly as the
// grid reads it. Both paths give the same result for every byte sequence.

// Appends the field's text form to `out`; false (nothing appended) when the bytes are no
// value of the field's type: a bad date, a blank or '?' logical, a type without values.
// `oem`: the table is in code page 866, so character text is shown as 1251.
// REQUIRES: `bytes` points at field.width readable bytes.
bool AppendFieldText(const table::FieldLayout& field, const std::uint8_t* bytes,
    table::DateFormat form, bool oem, std::string& out);
// The fast path alone, into raw memory: writes the text at `out` and gives the end of what it
// wrote, or nullptr (nothing written) when the field's bytes need the value route. At most
// max(field.width, 10) bytes are written.
char* PutFieldTextFast(const table::FieldLayout& field, const std::uint8_t* bytes,
    table::DateFormat form, bool oem, char* out);
// The same through the field value only; the reference the fast path is held to.
bool AppendFieldTextByValue(const table::FieldLayout& field, const std::uint8_t* bytes,
    table::DateFormat form, bool oem, std::string& out);

// Writes the field's value into the same field of a new table (same type, width and
// decimals): the stored form of its text form, so a 'Y' logical becomes 'T' and "0012.50"
// becomes "  12.50"; a value that cannot be read leaves the field blank. What has no value
// stays as it is rather than taking the value it reads as: a blank field stays blank (a
// blank number is not 0) and a '?' logical stays '?' (unknown is not "F"). Memo fields are
// not written here (their texts go to the new memo file). This is the value route; a save
// copies whole records through RecordCopy (record_copy.h), which gives the same bytes.
// REQUIRES: `from` and `to` point at field.width bytes.
void CopyFieldValueByValue(const table::FieldLayout& field, const std::uint8_t* from,
    std::uint8_t* to);

} // namespace tablegrid
