#include "tablegrid/operations/csv_line.h"

#include "platform/code_page.h"
#include "platform/utf8.h"
#include "table/blank_text.h"
#include "table/field_value.h"
#include "table/table.h"
#include "tablegrid/operations/field_text.h"

#include <algorithm>
#include <cstring>

namespace tablegrid {

namespace {

using namespace field_text_fast;

const std::array<CsvUtf8Code, 256>& Utf8Codes()
{
    static const std::array<CsvUtf8Code, 256> codes = [] {
        std::array<CsvUtf8Code, 256> all {};
        for (int c = 0; c < 256; ++c) {
            const char byte = static_cast<char>(c);
            const std::string utf8 = platform::AnsiToUtf8(std::string_view(&byte, 1));
            CsvUtf8Code& code = all[static_cast<std::size_t>(c)];
            code.length = static_cast<std::uint8_t>(std::min<std::size_t>(utf8.size(), 3));
            std::memcpy(code.bytes, utf8.data(), code.length);
        }
        return all;
    }();
    return codes;
}

void AppendUtf8(std::string_view ansi, std::string& out)
{
    for (const char c : ansi) {
        const CsvUtf8Code& code = Utf8Codes()[static_cast<unsigned char>(c)];
        out.append(code.bytes, code.length);
    }
}

void AppendCsvField(std::string_view ansi, std::string_view separator, std::string& out)
{
    const bool quote = ansi.find_first_of("\"\r\n") != std::string_view::npos
        || (!separator.empty() && ansi.find(separator) != std::string_view::npos);
    if (!quote) {
        AppendUtf8(ansi, out);
        return;
    }
    out += '"';
    for (std::size_t from = 0;;) {
        const std::size_t at = ansi.find('"', from);
        AppendUtf8(ansi.substr(from, at == std::string_view::npos ? ansi.npos : at - from), out);
        if (at == std::string_view::npos)
            break;
        out += "\"\"";
        from = at + 1;
    }
    out += '"';
}

std::string_view Trimmed(const std::string& text)
{
    return table::TrimBlanks(std::string_view(text));
}

// One value of a field that is not a memo, as 1251 text.
void CsvValue(const table::FieldLayout& field, const std::uint8_t* bytes, bool oem,
    std::string& scratch, std::string* value)
{
    value->clear();
    scratch.clear();
    const bool blank = IsAllBlank(bytes, field.width);
    switch (field.def.type) {
    case 'C':
        if (AppendFieldText(field, bytes, table::DateFormat::kYyyyMmDd, oem, scratch))
            value->assign(Trimmed(scratch));
        return;
    case 'N':
    case 'F':
        if (!blank && AppendFieldText(field, bytes, table::DateFormat::kYyyyMmDd, oem, scratch))
            value->assign(Trimmed(scratch));
        return;
    case 'D':
        if (!blank && AppendFieldText(field, bytes, table::DateFormat::kYyyyMmDd, oem, scratch)
            && scratch.size() == 8) {
            value->assign(scratch, 0, 4).append(1, '-').append(scratch, 4, 2).append(1, '-').append(
                scratch, 6, 2);
        }
        return;
    case 'L': {
        // Only a stored yes or no is a value; a blank or '?' logical has none.
        table::FieldValue logical;
        const std::string_view stored(reinterpret_cast<const char*>(bytes), field.width);
        if (logical.Assign('L', table::TrimBlanks(stored), table::DateFormat::kYyyyMmDd))
            value->assign(1, logical.logical ? 'T' : 'F');
        return;
    }
    default:
        return;
    }
}

} // namespace

void AppendCsvHeader(const std::vector<const table::FieldLayout*>& fields,
    const std::string& separator, std::string& out)
{
    bool first = true;
    for (const table::FieldLayout* field : fields) {
        if (!first)
            AppendUtf8(separator, out);
        first = false;
        AppendCsvField(field->def.name, separator, out);
    }
    out += "\r\n";
}

bool AppendCsvLineByValue(const std::vector<const table::FieldLayout*>& fields,
    const std::string& separator, bool oem, const std::uint8_t* record,
    const CsvMemoText& memoText, std::string& out)
{
    std::string scratch;
    std::string value;
    for (std::size_t j = 0; j < fields.size(); ++j) {
        const table::FieldLayout& field = *fields[j];
        if (field.def.IsMemoType()) {
            if (!memoText || !memoText(j, record, &value))
                return false;
            if (oem)
                platform::OemToAnsi(value);
        } else {
            CsvValue(field, record + field.offset, oem, scratch, &value);
        }
        if (j > 0)
            AppendUtf8(separator, out);
        AppendCsvField(value, separator, out);
    }
    out += "\r\n";
    return true;
}

CsvLine::CsvLine(const std::vector<const table::FieldLayout*>& fields, const std::string& separator,
    bool oem)
    : m_quotingSeparator(separator.size() == 1 ? static_cast<unsigned char>(separator[0]) : -1)
    , m_usable(separator.size() <= 1)
    , m_oem(oem)
    , m_codes(&Utf8Codes())
    , m_toAnsi(&OemToAnsiTable())
{
    AppendUtf8(separator, m_separator);
    for (const table::FieldLayout* field : fields) {
        const FastForm form = FastFormOf(*field);
        // A memo's text is read from its file: only the value route does that.
        m_usable = m_usable && form != FastForm::kValueOnly && form != FastForm::kMemo;
        m_steps.push_back({ form, field->offset, field->width, field->def.decimals });
        // Every byte three bytes of UTF-8 at the most (a doubled quote is two), the quotes.
        m_room += m_separator.size() + 3 * std::max<std::size_t>(field->width, 10) + 2;
    }
    m_room += 2;
}

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// Whether any byte of `word` is `c`.
bool HoldsByte(std::uint64_t word, std::uint8_t c)
{
    const std::uint64_t v = word ^ (kOnes * c);
    return ((v - kOnes) & ~v & kHighBits) != 0;
}

std::uint64_t Word(const std::uint8_t* bytes)
{
    std::uint64_t word;
    std::memcpy(&word, bytes, 8);
    return word;
}

} // namespace

// ASCII holding nothing that quotes: a quote, CR, LF or the separator. Eight bytes at a time,
// the last eight overlapping the ones before.
bool CsvLine::IsPlainAscii(const std::uint8_t* bytes, std::size_t size) const
{
    auto plain = [this](std::uint64_t word) {
        return (word & kHighBits) == 0 && !HoldsByte(word, '"') && !HoldsByte(word, '\r')
            && !HoldsByte(word, '\n')
            && (m_quotingSeparator < 0 || !HoldsByte(word, static_cast<std::uint8_t>(m_quotingSeparator)));
    };
    if (size < 8) {
        for (std::size_t i = 0; i < size; ++i) {
            const std::uint8_t c = bytes[i];
            if (c >= 0x80 || c == '"' || c == '\r' || c == '\n' || c == m_quotingSeparator)
                return false;
        }
        return true;
    }
    for (std::size_t i = 0; i + 8 < size; i += 8) {
        if (!plain(Word(bytes + i)))
            return false;
    }
    return plain(Word(bytes + size - 8));
}

char* CsvLine::PutValue(const std::uint8_t* bytes, std::size_t size, bool oem, char* out) const
{
    if (IsPlainAscii(bytes, size)) {
        CopyField(out, bytes, size);
        return out + size;
    }
    auto ansi = [&](std::uint8_t c) { return oem ? static_cast<std::uint8_t>((*m_toAnsi)[c]) : c; };
    auto put = [&](std::uint8_t c) {
        const CsvUtf8Code& code = (*m_codes)[c];
        std::memcpy(out, code.bytes, 4);
        out += code.length;
    };
    // Written as it is until something calls for quotes, which are rare; then again, quoted.
    char* const start = out;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t c = ansi(bytes[i]);
        if (c == '"' || c == '\r' || c == '\n' || c == m_quotingSeparator) {
            out = start;
            *out++ = '"';
            for (std::size_t j = 0; j < size; ++j) {
                const std::uint8_t d = ansi(bytes[j]);
                if (d == '"')
                    *out++ = '"';
                put(d);
            }
            *out++ = '"';
            return out;
        }
        put(c);
    }
    return out;
}

char* CsvLine::Put(const std::uint8_t* record, char* out) const
{
    if (!m_usable)
        return nullptr;
    bool first = true;
    for (const Step& step : m_steps) {
        if (!first) {
            std::memcpy(out, m_separator.data(), m_separator.size());
            out += m_separator.size();
        }
        first = false;
        const std::uint8_t* bytes = record + step.offset;
        switch (step.form) {
        case FastForm::kText: {
            // Trimmed: spaces skipped eight at a time, other blanks byte by byte.
            constexpr std::uint64_t kSpaces = 0x2020202020202020u;
            std::size_t from = 0;
            std::size_t to = step.width;
            while (to - from >= 8 && Word(bytes + to - 8) == kSpaces)
                to -= 8;
            while (to - from >= 8 && Word(bytes + from) == kSpaces)
                from += 8;
            while (from < to && table::IsBlank(static_cast<char>(bytes[from])))
                ++from;
            while (to > from && table::IsBlank(static_cast<char>(bytes[to - 1])))
                --to;
            out = PutValue(bytes + from, to - from, m_oem, out);
            break;
        }
        case FastForm::kNumber: {
            if (IsAllBlank(bytes, step.width))
                break;
            if (!IsCanonicalNumber(bytes, step.width, step.decimals, step.offset))
                return nullptr;
            std::size_t from = 0;
            while (bytes[from] == ' ')
                ++from;
            out = PutValue(bytes + from, step.width - from, false, out);
            break;
        }
        case FastForm::kDate: {
            if (IsAllBlank(bytes, 8))
                break;
            if (!IsCanonicalDate(bytes, 8))
                return nullptr;
            const std::uint8_t date[10] = { bytes[0], bytes[1], bytes[2], bytes[3], '-', bytes[4],
                bytes[5], '-', bytes[6], bytes[7] };
            out = PutValue(date, sizeof date, false, out);
            break;
        }
        case FastForm::kLogical: {
            const std::uint8_t c = bytes[0];
            const char shown = c == 'T' || c == 't' || c == 'Y' || c == 'y' ? 'T'
                : c == 'F' || c == 'f' || c == 'N' || c == 'n'            ? 'F'
                                                                            : 0;
            if (shown != 0) {
                const std::uint8_t letter = static_cast<std::uint8_t>(shown);
                out = PutValue(&letter, 1, false, out);
            }
            break;
        }
        case FastForm::kMemo:
        case FastForm::kValueOnly:
            return nullptr;
        }
    }
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

} // namespace tablegrid
