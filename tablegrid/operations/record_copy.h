#pragma once

#include "tablegrid/operations/field_text_fast.h"

#include <cstdint>
#include <vector>

namespace tablegrid {

// The fields of a new table's record taken from a record of the source, each as
// CopyFieldValueByValue (field_text.h) writes it, with what each field needs worked out once
// for the whole save: character fields lying side by side in both records are copied as one
// piece, stored forms that are already right are copied after a check made in line, and only
// the others go through the value.
class RecordCopy
{
public:
    // `from[j]`: the source field of the j-th field of the new record, which has the same
    // type, width and decimals; the new record's fields follow one another from byte 1.
    // Memo fields are left out: their block numbers are the caller's.
    explicit RecordCopy(const std::vector<const table::FieldLayout*>& from);

    // REQUIRES: `source` is a record of the source table, `target` one of the new table.
    void Copy(const std::uint8_t* source, std::uint8_t* target) const;

private:
    struct Step
    {
        field_text_fast::FastForm form; // never a memo: those are the caller's
        std::uint32_t from;
        std::uint32_t to;
        std::uint32_t width;
        const table::FieldLayout* field;
    };
    std::vector<Step> m_steps;
};

} // namespace tablegrid
