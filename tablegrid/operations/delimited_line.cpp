#include "tablegrid/operations/delimited_line.h"

#include "table/table.h"
#include "tablegrid/operations/field_text_fast.h"

#include <algorithm>
#include <cstring>

namespace tablegrid {

using namespace field_text_fast;

DelimitedLine::DelimitedLine(const std::vector<const table::FieldLayout*>& fields,
    const TextExportFormat& format, table::DateFormat dateFormat, bool oem)
    : m_dateFormat(dateFormat)
{
    const std::string between = format.rightDelimiter + format.separator + format.leftDelimiter;
    for (const table::FieldLayout* field : fields) {
        Step step { Kind::kValueOnly, field->offset, field->width, field->def.decimals,
            MakeJoint(m_steps.empty() ? format.leftDelimiter : between) };
        switch (FastFormOf(*field)) {
        case FastForm::kText: step.kind = oem ? Kind::kOemText : Kind::kBytes; break;
        case FastForm::kMemo: // the block number as it stands, of a memo field proper
            step.kind = field->def.type == 'M' ? Kind::kBytes : Kind::kValueOnly;
            break;
        case FastForm::kNumber: step.kind = Kind::kNumber; break;
        case FastForm::kDate: step.kind = Kind::kDate; break;
        case FastForm::kLogical: step.kind = Kind::kLogical; break;
        case FastForm::kValueOnly: break;
        }
        const std::size_t longest = step.kind == Kind::kDate ? 10 : field->width;
        m_room += std::max<std::size_t>(step.before.length, 16) + longest;
        m_steps.push_back(std::move(step));
    }
    m_end = MakeJoint((fields.empty() ? std::string() : format.rightDelimiter) + "\r\n");
    m_room += std::max<std::size_t>(m_end.length, 16);
    m_shortJoints = std::all_of(m_steps.begin(), m_steps.end(),
        [](const Step& step) { return step.before.longer.empty(); });
}

DelimitedLine::Joint DelimitedLine::MakeJoint(const std::string& text)
{
    Joint joint;
    joint.length = static_cast<std::uint32_t>(text.size());
    std::memset(joint.text, 0, sizeof joint.text);
    if (text.size() <= sizeof joint.text)
        std::memcpy(joint.text, text.data(), text.size());
    else
        joint.longer = text;
    return joint;
}

// A joint of up to 16 bytes is stored whole, whatever its length: the bytes past it are
// overwritten by what follows, or lie past the line's end within Room.
char* DelimitedLine::PutJoint(const Joint& joint, char* out)
{
    if (joint.length <= sizeof joint.text)
        std::memcpy(out, joint.text, sizeof joint.text);
    else
        std::memcpy(out, joint.longer.data(), joint.length);
    return out + joint.length;
}

char* DelimitedLine::Put(const std::uint8_t* record, char* out) const
{
    return m_shortJoints ? PutLine<true>(record, out) : PutLine<false>(record, out);
}

template <bool kShortJoints>
char* DelimitedLine::PutLine(const std::uint8_t* record, char* out) const
{
    for (const Step& step : m_steps) {
        if constexpr (kShortJoints) {
            std::memcpy(out, step.before.text, sizeof step.before.text);
            out += step.before.length;
        } else {
            out = PutJoint(step.before, out);
        }
        const std::uint8_t* bytes = record + step.offset;
        switch (step.kind) {
        case Kind::kBytes:
            CopyField(out, bytes, step.width);
            out += step.width;
            break;
        case Kind::kOemText:
            PutOemAsAnsi(bytes, step.width, out);
            out += step.width;
            break;
        case Kind::kNumber:
            if (!IsCanonicalNumber(bytes, step.width, step.decimals, step.offset))
                return nullptr;
            CopyField(out, bytes, step.width);
            out += step.width;
            break;
        case Kind::kDate:
            // A blank date is an empty text, as its value prints.
            if (IsCanonicalDate(bytes, 8))
                out = PutDate(bytes, m_dateFormat, out);
            else if (!IsAllBlank(bytes, 8))
                return nullptr;
            break;
        case Kind::kLogical:
            *out++ = bytes[0] == 'T' || bytes[0] == 't' || bytes[0] == 'Y' || bytes[0] == 'y' ? 'T' : 'F';
            break;
        case Kind::kValueOnly:
            return nullptr;
        }
    }
    return PutJoint(m_end, out);
}

} // namespace tablegrid
