#pragma once

#include "table/expression.h"
#include "table/field_def.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace expression_testing {

// A field catalogue with one record buffer, laid out as a table lays them out: the deletion
// flag first, then the fields in order.
//
//   TestRecord r;
//   r.Add("NAME", 'C', 10).Add("SUM", 'N', 8, 2);
//   r.Put("NAME", "Ivan").Put("SUM", "    5.00");
class TestRecord
{
public:
    TestRecord& Add(
        const std::string& name, char type, std::uint32_t width, std::uint8_t decimals = 0)
    {
        table::FieldLayout f;
        f.def.name = name;
        f.def.type = type;
        // A character field stores its width as decimals * 256 + length.
        f.def.length = static_cast<std::uint8_t>(width & 0xFF);
        f.def.decimals = type == 'C' ? static_cast<std::uint8_t>(width >> 8) : decimals;
        f.offset = static_cast<std::uint32_t>(bytes.size());
        f.width = width;
        fields.push_back(f);
        bytes.resize(bytes.size() + width, ' ');
        return *this;
    }

    // Writes `text` left-aligned into the field, padded with spaces and cut to its width.
    TestRecord& Put(std::string_view name, std::string_view text)
    {
        for (const auto& f : fields) {
            if (f.def.name != name)
                continue;
            for (std::uint32_t i = 0; i < f.width; ++i)
                bytes[f.offset + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
        }
        return *this;
    }

    std::vector<table::FieldLayout> fields;
    std::vector<std::uint8_t> bytes { ' ' };
};

// A value copied out of the expression, so it outlives the next evaluation.
struct Value
{
    char type = 0;
    std::string text;
    double number = 0;
    bool logical = false;
};

// Parses and evaluates once. Nothing when the text does not parse or the evaluation fails.
inline std::optional<Value> Eval(std::string_view text, const TestRecord& record, bool oem = false)
{
    auto expression = table::ParseExpression(text, record.fields);
    if (!expression)
        return std::nullopt;
    table::ExprValue v;
    if (!expression->Evaluate(record.bytes.data(), record.bytes.size(), oem, &v))
        return std::nullopt;
    return Value { v.type, std::string(v.text), v.number, v.logical };
}

inline std::optional<std::string> Text(
    std::string_view text, const TestRecord& record, bool oem = false)
{
    auto v = Eval(text, record, oem);
    if (!v || v->type != 'C')
        return std::nullopt;
    return v->text;
}

inline std::optional<double> Number(std::string_view text, const TestRecord& record, bool oem = false)
{
    auto v = Eval(text, record, oem);
    if (!v || v->type != 'N')
        return std::nullopt;
    return v->number;
}

inline std::optional<bool> Logical(std::string_view text, const TestRecord& record, bool oem = false)
{
    auto v = Eval(text, record, oem);
    if (!v || v->type != 'L')
        return std::nullopt;
    return v->logical;
}

inline table::ExprErrorCode ParseError(
    std::string_view text, const TestRecord& record, std::size_t* position = nullptr)
{
    table::ExprError error;
    auto expression = table::ParseExpression(text, record.fields, &error);
    if (position != nullptr)
        *position = error.position;
    return expression ? table::ExprErrorCode::kNone : error.code;
}

} // namespace expression_testing
