#pragma once

#include "table/date_format.h"
#include "tablegrid/operations/text_export_format.h"

#include <cstdint>
#include <string>
#include <vector>

namespace table {
struct FieldLayout;
}

namespace tablegrid {

// The program's delimited text of one record (see text_export.h) made in a single pass: what
// each field needs is worked out once for the whole export, and the texts between two fields
// (right delimiter, separator, left delimiter) are put as one piece.
//
// Only the fast forms of field_text.h are made here. A record with a field that needs the
// value route (a number not in its printed form, a bad date, a type without a fast form)
// gets no line from Put: the caller then makes that line field by field.
class DelimitedLine
{
public:
    DelimitedLine(const std::vector<const table::FieldLayout*>& fields,
        const TextExportFormat& format, table::DateFormat dateFormat, bool oem);

    // The most bytes Put may store, beyond the end of the line too.
    std::size_t Room() const { return m_room; }
    // Writes the record's line with its CR LF at `out` and gives its end, or nullptr.
    char* Put(const std::uint8_t* record, char* out) const;

private:
    enum class Kind : std::uint8_t { kBytes, kOemText, kNumber, kDate, kLogical, kValueOnly };
    struct Joint
    {
        char text[16];
        std::uint32_t length = 0;
        std::string longer; // the text, when it is longer than 16 bytes
    };
    struct Step
    {
        Kind kind;
        std::uint32_t offset;
        std::uint32_t width;
        std::uint32_t decimals;
        Joint before;
    };

    static Joint MakeJoint(const std::string& text);
    static char* PutJoint(const Joint& joint, char* out);
    // The line, every joint between fields (not the end's) stored as 16 bytes or not.
    template <bool kShortJoints> char* PutLine(const std::uint8_t* record, char* out) const;

    std::vector<Step> m_steps;
    Joint m_end;
    table::DateFormat m_dateFormat;
    std::size_t m_room = 0;
    bool m_shortJoints = true;
};

} // namespace tablegrid
