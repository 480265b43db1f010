#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// Writes DBF bytes by hand, independently of the engine's own writer, so tests can build
// good tables and then damage them by overwriting bytes at known offsets.
//
//   TableBuilder b;
//   b.Field("NAME", 'C', 10).Field("SUM", 'N', 8, 2);
//   b.Record("Ivanov       12.50");
//   b.Write(dir.File("t.dbf"));
class TableBuilder
{
public:
    TableBuilder& Version(std::uint8_t version);
    TableBuilder& CodePageByte(std::uint8_t byte);
    TableBuilder& Date(std::uint8_t year, std::uint8_t month, std::uint8_t day);
    TableBuilder& Field(const std::string& name, char type, std::uint8_t length,
                        std::uint8_t decimals = 0);
    // One record from its field bytes (without the flag); padded with spaces or cut to the
    // record length.
    TableBuilder& Record(const std::string& fields, bool deleted = false);
    // One pad byte after the terminator (a header length of 32n+34).
    TableBuilder& HeaderPad(int bytes);
    TableBuilder& RecordCount(std::uint32_t count);     // overrides the true count
    TableBuilder& HeaderLength(std::uint16_t length);   // overrides 32n+33(+pad)
    TableBuilder& RecordLength(std::uint16_t length);   // overrides 1 + sum of widths
    TableBuilder& EndOfFile(bool present);

    std::uint32_t TrueRecordLength() const;
    std::uint32_t TrueHeaderLength() const;
    std::vector<std::uint8_t> Bytes() const;
    void Write(const std::string& path) const;

private:
    struct FieldSpec
    {
        std::string name;
        char type;
        std::uint8_t length;
        std::uint8_t decimals;
    };
    std::uint8_t m_version = 0x03;
    std::uint8_t m_codePage = 0;
    std::uint8_t m_date[3] = { 26, 12, 8 };
    std::vector<FieldSpec> m_fields;
    std::vector<std::string> m_records; // full record bytes, flag first
    int m_pad = 0;
    std::optional<std::uint32_t> m_recordCount;
    std::optional<std::uint16_t> m_headerLength;
    std::optional<std::uint16_t> m_recordLength;
    bool m_eof = true;
};

} // namespace testing_support
