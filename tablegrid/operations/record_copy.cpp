#include "tablegrid/operations/record_copy.h"

#include "table/table.h"
#include "tablegrid/operations/field_text.h"
#include "tablegrid/operations/field_text_fast.h"

#include <cstring>

namespace tablegrid {

using namespace field_text_fast;

RecordCopy::RecordCopy(const std::vector<const table::FieldLayout*>& from)
{
    std::uint32_t to = 1;
    for (const table::FieldLayout* field : from) {
        const std::uint32_t at = to;
        to += field->width;
        if (field->def.IsMemoType())
            continue;
        Kind kind = Kind::kOther;
        switch (field->def.type) {
        case 'C': kind = Kind::kBytes; break;
        case 'N':
        case 'F': kind = Kind::kNumber; break;
        case 'D': kind = field->width == 8 ? Kind::kDate : Kind::kOther; break;
        case 'L': kind = field->width == 1 ? Kind::kLogical : Kind::kOther; break;
        default: break;
        }
        if (kind == Kind::kBytes && !m_steps.empty()) {
            Step& last = m_steps.back();
            if (last.kind == Kind::kBytes && last.from + last.width == field->offset
                && last.to + last.width == at) {
                last.width += field->width;
                continue;
            }
        }
        m_steps.push_back({ kind, field->offset, at, field->width, field });
    }
}

void RecordCopy::Copy(const std::uint8_t* source, std::uint8_t* target) const
{
    for (const Step& step : m_steps) {
        const std::uint8_t* from = source + step.from;
        std::uint8_t* to = target + step.to;
        switch (step.kind) {
        case Kind::kBytes:
            std::memcpy(to, from, step.width);
            continue;
        case Kind::kNumber:
            if (IsCanonicalNumber(from, step.width, step.field->def.decimals, step.from)) {
                std::memcpy(to, from, step.width);
                continue;
            }
            break;
        case Kind::kDate:
            if (IsCanonicalDate(from, 8)) {
                std::memcpy(to, from, 8);
                continue;
            }
            break;
        case Kind::kLogical:
            if (from[0] == 'T' || from[0] == 'F') {
                to[0] = from[0];
                continue;
            }
            break;
        case Kind::kOther:
            break;
        }
        CopyFieldValueByValue(*step.field, from, to);
    }
}

} // namespace tablegrid
