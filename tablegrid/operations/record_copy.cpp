#include "tablegrid/operations/record_copy.h"

#include "table/table.h"
#include "tablegrid/operations/field_text.h"

#include <cstring>

namespace tablegrid {

using namespace field_text_fast;

RecordCopy::RecordCopy(const std::vector<const table::FieldLayout*>& from)
{
    std::uint32_t to = 1;
    for (const table::FieldLayout* field : from) {
        const std::uint32_t at = to;
        to += field->width;
        const FastForm form = FastFormOf(*field);
        if (form == FastForm::kMemo)
            continue;
        if (form == FastForm::kText && !m_steps.empty()) {
            Step& last = m_steps.back();
            if (last.form == FastForm::kText && last.from + last.width == field->offset
                && last.to + last.width == at) {
                last.width += field->width;
                continue;
            }
        }
        m_steps.push_back({ form, field->offset, at, field->width, field });
    }
}

void RecordCopy::Copy(const std::uint8_t* source, std::uint8_t* target) const
{
    for (const Step& step : m_steps) {
        const std::uint8_t* from = source + step.from;
        std::uint8_t* to = target + step.to;
        switch (step.form) {
        case FastForm::kText:
            std::memcpy(to, from, step.width);
            continue;
        case FastForm::kNumber:
            if (IsCanonicalNumber(from, step.width, step.field->def.decimals, step.from)) {
                std::memcpy(to, from, step.width);
                continue;
            }
            break;
        case FastForm::kDate:
            if (IsCanonicalDate(from, 8)) {
                std::memcpy(to, from, 8);
                continue;
            }
            break;
        case FastForm::kLogical:
            if (from[0] == 'T' || from[0] == 'F') {
                to[0] = from[0];
                continue;
            }
            break;
        case FastForm::kMemo:
        case FastForm::kValueOnly:
            break;
        }
        CopyFieldValueByValue(*step.field, from, to);
    }
}

} // namespace tablegrid
