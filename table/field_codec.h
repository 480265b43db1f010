#pragma once

#include "table/field_def.h"
#include "table/field_value.h"

#include <cstdint>
#include <string_view>

namespace table {

// Conversions between a field's bytes inside a record and its values and texts. Both calls
// work on exactly field.StorageWidth() bytes at `fieldBytes`.
//
// Stored layouts: C text left-aligned and padded with spaces; N and F a right-aligned
// number whose point, when the field has decimals, stands at width - decimals - 1; D
// "YYYYMMDD"; L one character; M the memo block number, which the program never writes.

// The value of the field's bytes exactly as stored, dates read in the stored form. A field
// whose bytes are no value of its type (a blank or bad date, a '?' logical) gives what
// FieldValue::Assign leaves for them; a field type without values gives type 0.
// REQUIRES: `fieldBytes` points at field.StorageWidth() readable bytes.
FieldValue ReadFieldValue(const FieldDef& field, const std::uint8_t* fieldBytes);

// Stores `text` into the field. Refused, with the bytes left as they were, when:
//  - N, F: the text has a character other than space, '+', '-', '.' and digits, is longer
//    than the field, or has more characters before its '.' than fit before the field's
//    point (for a field with decimals, width - decimals - 1; a field too narrow to hold
//    its point takes no text at all);
//  - D: the text is neither empty (a blank date) nor a date in the stored form;
//  - L: the text does not start with one of ? F N T Y f n t y;
//  - M and types the program does not write.
// Accepted texts: N and F right-aligned, with the fraction cut or filled with '0' to the
// field's decimals (surplus digits are dropped, not rounded); C and L copied from the
// first byte and padded with spaces, cut to the width; D stored as "YYYYMMDD" of the date
// it names.
// REQUIRES: `fieldBytes` points at field.StorageWidth() writable bytes.
[[nodiscard]] bool WriteFieldText(
    const FieldDef& field, std::string_view text, std::uint8_t* fieldBytes);

} // namespace table
