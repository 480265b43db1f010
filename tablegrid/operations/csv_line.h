#pragma once

#include "tablegrid/operations/field_text_fast.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tablegrid {

// One 1251 byte's UTF-8 form, at most three bytes.
struct CsvUtf8Code
{
    char bytes[4];
    std::uint8_t length;
};

// The CSV lines of the text export (see text_export.h): each value trimmed, dates as
// YYYY-MM-DD, logicals T or F, memo fields as their texts, empty for what has no value; a
// value quoted only when it holds the separator, a quote, CR or LF, its quotes doubled;
// text in UTF-8; lines ending in CR LF. `separator` is 1251 text.
//
// Two routes give the same line: CsvLine makes it in one pass over plans worked out once,
// for records whose fields all have fast forms; the value route makes any line.
class CsvLine
{
public:
    // `oem`: the table's text is code page 866.
    CsvLine(const std::vector<const table::FieldLayout*>& fields, const std::string& separator,
        bool oem);

    // The most bytes Put may store.
    std::size_t Room() const { return m_room; }
    // Writes the record's line at `out` and gives its end, or nullptr when a field needs
    // the value route (a memo, a number not in its printed form, a bad date, a separator of
    // more than one byte).
    char* Put(const std::uint8_t* record, char* out) const;

private:
    struct Step
    {
        field_text_fast::FastForm form;
        std::uint32_t offset;
        std::uint32_t width;
        std::uint32_t decimals;
    };

    // A 1251 value, quoted when it must be, in UTF-8; `oem`: the bytes are 866 first.
    char* PutValue(const std::uint8_t* bytes, std::size_t size, bool oem, char* out) const;
    bool IsPlainAscii(const std::uint8_t* bytes, std::size_t size) const;

    std::vector<Step> m_steps;
    std::string m_separator; // UTF-8
    int m_quotingSeparator;  // the separator's one byte, or -1 for none
    bool m_usable;
    bool m_oem;
    const std::array<CsvUtf8Code, 256>* m_codes;
    const std::array<char, 256>* m_toAnsi;
    std::size_t m_room = 0;
};

// The header line: the field names as values.
void AppendCsvHeader(const std::vector<const table::FieldLayout*>& fields,
    const std::string& separator, std::string& out);

// Gives the memo text of the j-th field of a record; false when it cannot be read.
using CsvMemoText = std::function<bool(std::size_t j, const std::uint8_t* record, std::string* text)>;

// The value route: appends the record's line to `out`; false (the line incomplete) when a
// memo text cannot be read.
bool AppendCsvLineByValue(const std::vector<const table::FieldLayout*>& fields,
    const std::string& separator, bool oem, const std::uint8_t* record,
    const CsvMemoText& memoText, std::string& out);

} // namespace tablegrid
