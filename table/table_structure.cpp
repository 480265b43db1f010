#include "table/table_structure.h"

#include "platform/file_system.h"
#include "table/dbf_format.h"

#include <cstring>

namespace table {

StructureReadResult ReadTableStructure(platform::File& file, const std::string& fileName,
                                       TableStructure* structure)
{
    StructureReadResult result;
    *structure = TableStructure {};
    if (!file.Size(&structure->fileLength))
        return result;
    structure->fileName = fileName;

    std::uint8_t header[dbf::kFileHeaderSize];
    std::size_t got = 0;
    if (!file.ReadAt(0, header, sizeof header, &got) || got < sizeof header)
        return result;
    structure->version = header[0];
    structure->year = header[1];
    structure->month = header[2];
    structure->day = header[3];
    structure->recordCount = dbf::GetU32(header + 4);
    structure->headerLength = dbf::GetU16(header + 8);
    structure->recordLength = dbf::GetU16(header + 10);
    result.ok = true;

    // Peek the byte at the position; the end of the file counts as "not a terminator".
    std::uint64_t position = dbf::kFileHeaderSize;
    auto peek = [&](std::uint8_t* byte) {
        std::size_t n = 0;
        return file.ReadAt(position, byte, 1, &n) && n == 1;
    };
    std::uint8_t peeked = 0;
    bool havePeek = peek(&peeked);
    while ((!havePeek || peeked != dbf::kHeaderTerminator)
           && structure->fields.size() < static_cast<std::size_t>(kMaxDescriptorsRead)) {
        if (position >= structure->fileLength || !havePeek)
            break;
        std::uint8_t entry[dbf::kDescriptorSize];
        if (!file.ReadAt(position, entry, sizeof entry, &got) || got < sizeof entry)
            break;
        FieldDef field;
        field.name.assign(reinterpret_cast<const char*>(entry),
                          strnlen(reinterpret_cast<const char*>(entry), 11));
        field.type = static_cast<char>(entry[11]);
        field.length = entry[16];
        field.decimals = entry[17];
        structure->fields.push_back(std::move(field));
        position += dbf::kDescriptorSize;
        havePeek = peek(&peeked);
    }
    result.terminatorFound = havePeek && peeked == dbf::kHeaderTerminator;
    result.descriptorLimitHit
        = structure->fields.size() == static_cast<std::size_t>(kMaxDescriptorsRead);
    return result;
}

} // namespace table
