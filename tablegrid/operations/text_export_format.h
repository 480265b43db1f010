#pragma once

#include <string>

namespace tablegrid {

// How the text export writes a record: every field between the two delimiters, the fields
// parted by the separator. Kept by the application for the whole session and edited by the
// Save As Text dialog. Texts are cp1251 bytes; any of them may be empty.
struct TextExportFormat
{
    std::string leftDelimiter = "\"";
    std::string rightDelimiter = "\"";
    std::string separator = ",";

    friend bool operator==(const TextExportFormat&, const TextExportFormat&) = default;
};

} // namespace tablegrid
