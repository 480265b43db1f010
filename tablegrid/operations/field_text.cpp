#include "tablegrid/operations/field_text.h"

#include "platform/code_page.h"
#include "table/field_codec.h"
#include "table/field_value.h"
#include "tablegrid/operations/field_text_fast.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace tablegrid {

namespace {

using table::DateFormat;
using table::FieldLayout;
using namespace field_text_fast;

void AppendCharacter(const std::uint8_t* bytes, std::size_t width, bool oem, std::string& out)
{
    const std::size_t at = out.size();
    out.append(reinterpret_cast<const char*>(bytes), width);
    if (oem) {
        for (std::size_t i = at; i < out.size(); ++i)
            out[i] = static_cast<char>(platform::OemToAnsiChar(static_cast<unsigned char>(out[i])));
    }
}

std::string_view Stored(const FieldLayout& field, const std::uint8_t* bytes)
{
    return { reinterpret_cast<const char*>(bytes), field.width };
}

} // namespace

bool AppendFieldTextByValue(const FieldLayout& field, const std::uint8_t* bytes, DateFormat form,
    bool oem, std::string& out)
{
    // A blank date is an empty one, which is written as an empty text: leaving it out (as
    // a date that cannot be read is) would move every later field of the line.
    if (field.def.type == 'D' && IsAllBlank(bytes, field.width))
        return true;
    table::FieldValue value;
    static_cast<void>(value.Assign(field.def.type, Stored(field, bytes), DateFormat::kYyyyMmDd));
    if (value.type == 0)
        return false;
    if (value.type == 'L') {
        out.append(1, value.logical ? 'T' : 'F');
        return true;
    }
    if (value.type == 'C') {
        AppendCharacter(bytes, field.width, oem, out);
        return true;
    }
    out += value.Text(static_cast<int>(field.width), field.def.decimals, form);
    return true;
}

char* PutFieldTextFast(const FieldLayout& field, const std::uint8_t* bytes, DateFormat form,
    bool oem, char* out)
{
    switch (field.def.type) {
    case 'C':
        if (oem) {
            PutOemAsAnsi(bytes, field.width, out);
        } else {
            std::memcpy(out, bytes, field.width);
        }
        return out + field.width;
    case 'M':
        std::memcpy(out, bytes, field.width);
        return out + field.width;
    case 'N':
    case 'F':
        if (!IsCanonicalNumber(bytes, field.width, field.def.decimals))
            return nullptr;
        std::memcpy(out, bytes, field.width);
        return out + field.width;
    case 'D':
        return IsCanonicalDate(bytes, field.width) ? PutDate(bytes, form, out) : nullptr;
    case 'L':
        if (field.width != 1)
            return nullptr;
        *out = bytes[0] == 'T' || bytes[0] == 't' || bytes[0] == 'Y' || bytes[0] == 'y' ? 'T' : 'F';
        return out + 1;
    default:
        return nullptr;
    }
}

bool AppendFieldText(const FieldLayout& field, const std::uint8_t* bytes, DateFormat form,
    bool oem, std::string& out)
{
    const std::size_t at = out.size();
    out.resize(at + std::max<std::size_t>(field.width, 10));
    if (char* end = PutFieldTextFast(field, bytes, form, oem, out.data() + at)) {
        out.resize(static_cast<std::size_t>(end - out.data()));
        return true;
    }
    out.resize(at);
    return AppendFieldTextByValue(field, bytes, form, oem, out);
}

void CopyFieldValueByValue(const FieldLayout& field, const std::uint8_t* from, std::uint8_t* to)
{
    std::memset(to, ' ', field.width);
    if (field.def.IsMemoType() || IsAllBlank(from, field.width))
        return;
    table::FieldValue value;
    const bool read = value.Assign(field.def.type, Stored(field, from), DateFormat::kYyyyMmDd);
    if (value.type == 0)
        return;
    // A logical that is neither yes nor no ('?', unknown) stays unknown rather than becoming
    // "F".
    if (value.type == 'L' && !read) {
        std::memcpy(to, from, field.width);
        return;
    }
    std::string text = value.type == 'L'
        ? std::string(1, value.logical ? 'T' : 'F')
        : value.Text(static_cast<int>(field.width), field.def.decimals, DateFormat::kYyyyMmDd);
    // As a value put into a record: cut to the field first; a text the field refuses
    // leaves it blank.
    if (text.size() > field.width)
        text.resize(field.width);
    if (!table::WriteFieldText(field.def, text, to))
        std::memset(to, ' ', field.width);
}

} // namespace tablegrid
