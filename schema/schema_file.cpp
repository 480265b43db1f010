#include "schema/schema_file.h"

#include "platform/code_page.h"

#include <utility>

namespace schema {
namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";
constexpr std::string_view kLineEnd = "\r\n";

std::string_view TrimLeft(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view Trim(std::string_view text)
{
    text = TrimLeft(text);
    const auto last = text.find_last_not_of(kBlanks);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string Upper(std::string_view text)
{
    std::string upper(text);
    platform::ToUpper1251(upper);
    return upper;
}

// A "Descr{NAME} = VALUE" or "Relation{NAME} = VALUE" line: the name runs from the first
// '{' to the first '}' after it, trimmed, and the value follows the first '=' after that
// brace, so a name may hold '=' (table file names do). False without both braces and the
// '='.
bool BraceItem(std::string_view line, std::string_view* name, std::string_view* value)
{
    const auto open = line.find('{');
    const auto close = open == std::string_view::npos ? open : line.find('}', open + 1);
    const auto equals = close == std::string_view::npos ? close : line.find('=', close + 1);
    if (equals == std::string_view::npos)
        return false;
    *name = Trim(line.substr(open + 1, close - open - 1));
    *value = line.substr(equals + 1);
    return true;
}

// Whether a name in braces reads back as it was written.
bool BraceNameReadsBack(std::string_view name)
{
    return !name.empty() && Trim(name) == name && name.find_first_of("}\r\n") == std::string_view::npos;
}

void AppendValue(std::string& out, std::string_view value)
{
    for (const char c : value)
        out += (c == '\r' || c == '\n') ? ' ' : c;
}

void AppendLine(std::string& out, std::string_view head, std::string_view value = {},
    std::string_view tail = {})
{
    out += head;
    AppendValue(out, value);
    out += tail;
    out += kLineEnd;
}

} // namespace

bool SchemaFileWritable(const SchemaTableMap& tables)
{
    for (const auto& [key, table] : tables) {
        // A table head is read up to the last ']' and trimmed: the name may hold anything
        // but line breaks and blanks at either end.
        if (key.empty() || Trim(key) != key || key.find_first_of("\r\n") != std::string::npos)
            return false;
        for (const auto& [field, description] : table.fieldDescriptions) {
            if (!BraceNameReadsBack(field))
                return false;
        }
        for (const SchemaRelation& relation : table.relations) {
            if (!BraceNameReadsBack(relation.tableName))
                return false;
        }
    }
    return true;
}

std::string SchemaFileText(const SchemaTableMap& tables)
{
    std::string out;
    for (const auto& [key, table] : tables) {
        out += kLineEnd;
        AppendLine(out, "[Table : ", key, "]");
        if (!table.description.empty())
            AppendLine(out, "Description = ", table.description);
        if (!table.keyFields.empty()) {
            out += "Key = ";
            for (std::size_t i = 0; i < table.keyFields.size(); ++i) {
                if (i > 0)
                    out += ',';
                AppendValue(out, table.keyFields[i]);
            }
            out += kLineEnd;
        }
        if (!table.nameField.empty())
            AppendLine(out, "Name = ", table.nameField);
        for (const auto& [field, description] : table.fieldDescriptions) {
            out += "Descr{";
            AppendValue(out, field);
            AppendLine(out, "} = ", description);
        }
        for (const SchemaRelation& relation : table.relations) {
            out += "Relation{";
            AppendValue(out, relation.tableName);
            AppendLine(out, "} = ", relation.fieldName);
        }
        out += kLineEnd;
    }
    return out;
}

void SchemaFileReader::ReadLine(std::string_view rawLine)
{
    // The writer never leaves a CR inside a line, so one there ends a line, as in files
    // whose lines end with CR alone; read as part of a name or text it would change into a
    // blank on the next save.
    for (auto cr = rawLine.find('\r'); cr != std::string_view::npos; cr = rawLine.find('\r')) {
        ReadOneLine(rawLine.substr(0, cr));
        rawLine.remove_prefix(cr + 1);
    }
    ReadOneLine(rawLine);
}

void SchemaFileReader::ReadOneLine(std::string_view rawLine)
{
    const std::string_view line = Trim(rawLine);
    if (line.empty() || line.front() == '*' || line.front() == ';')
        return;
    // A lone "[" is not a head: it begins with '[' but does not end with ']'.
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
        StartSection(line.substr(1, line.size() - 2));
        return;
    }
    if (m_building)
        ApplyLine(line);
}

void SchemaFileReader::StartSection(std::string_view head)
{
    FinishTable();
    head = Trim(head);
    if (!Upper(head).starts_with("TABLE"))
        return;
    const auto colon = head.find(':');
    if (colon == std::string_view::npos)
        return;
    m_building = true;
    m_name = Upper(TrimLeft(head.substr(colon + 1)));
    m_table = SchemaTable();
}

void SchemaFileReader::ApplyLine(std::string_view line)
{
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    const std::string_view value = line.substr(equals + 1);
    const std::string upper = Upper(line);

    // DESCR is tested after DESCRIPTION so a description line is never a field description,
    // and NAME before DESCR, so every line beginning with NAME names the name field.
    if (upper.starts_with("DESCRIPTION")) {
        m_table.description = TrimLeft(value);
    } else if (upper.starts_with("KEY")) {
        std::string_view rest = value;
        while (true) {
            const auto comma = rest.find(',');
            const std::string_view piece = Trim(rest.substr(0, comma));
            if (!piece.empty())
                m_table.keyFields.emplace_back(piece);
            if (comma == std::string_view::npos)
                break;
            rest.remove_prefix(comma + 1);
        }
    } else if (upper.starts_with("NAME")) {
        m_table.nameField = TrimLeft(value);
    } else if (upper.starts_with("DESCR")) {
        std::string_view field;
        std::string_view text;
        if (BraceItem(line, &field, &text) && !field.empty() && !Trim(text).empty())
            m_table.fieldDescriptions.insert_or_assign(std::string(field), std::string(Trim(text)));
    } else if (upper.starts_with("RELATION")) {
        std::string_view table;
        std::string_view field;
        if (BraceItem(line, &table, &field) && !table.empty() && !Trim(field).empty())
            m_table.relations.push_back({ std::string(table), std::string(Trim(field)) });
    }
}

void SchemaFileReader::FinishTable()
{
    if (m_building && !m_name.empty())
        m_tables.emplace_back(std::move(m_name), std::move(m_table));
    m_building = false;
    m_name.clear();
    m_table = SchemaTable();
}

std::vector<std::pair<std::string, SchemaTable>> SchemaFileReader::Finish()
{
    FinishTable();
    return std::exchange(m_tables, {});
}

} // namespace schema
