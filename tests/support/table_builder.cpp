#include "tests/support/table_builder.h"

#include "tests/support/temp_dir.h"

namespace testing_support {

TableBuilder& TableBuilder::Version(std::uint8_t version)
{
    m_version = version;
    return *this;
}

TableBuilder& TableBuilder::CodePageByte(std::uint8_t byte)
{
    m_codePage = byte;
    return *this;
}

TableBuilder& TableBuilder::Date(std::uint8_t year, std::uint8_t month, std::uint8_t day)
{
    m_date[0] = year;
    m_date[1] = month;
    m_date[2] = day;
    return *this;
}

TableBuilder& TableBuilder::Field(const std::string& name, char type, std::uint8_t length,
                                  std::uint8_t decimals)
{
    m_fields.push_back({ name, type, length, decimals });
    return *this;
}

TableBuilder& TableBuilder::Record(const std::string& fields, bool deleted)
{
    std::string record(1, deleted ? '*' : ' ');
    record += fields;
    m_records.push_back(record);
    return *this;
}

TableBuilder& TableBuilder::HeaderPad(int bytes)
{
    m_pad = bytes;
    return *this;
}

TableBuilder& TableBuilder::RecordCount(std::uint32_t count)
{
    m_recordCount = count;
    return *this;
}

TableBuilder& TableBuilder::HeaderLength(std::uint16_t length)
{
    m_headerLength = length;
    return *this;
}

TableBuilder& TableBuilder::RecordLength(std::uint16_t length)
{
    m_recordLength = length;
    return *this;
}

TableBuilder& TableBuilder::EndOfFile(bool present)
{
    m_eof = present;
    return *this;
}

std::uint32_t TableBuilder::TrueRecordLength() const
{
    std::uint32_t length = 1;
    for (const auto& f : m_fields)
        length += f.type == 'C' ? f.decimals * 256u + f.length : f.length;
    return length;
}

std::uint32_t TableBuilder::TrueHeaderLength() const
{
    return 32 * static_cast<std::uint32_t>(m_fields.size()) + 33 + static_cast<std::uint32_t>(m_pad);
}

std::vector<std::uint8_t> TableBuilder::Bytes() const
{
    auto put16 = [](std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
        out[at] = static_cast<std::uint8_t>(v);
        out[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    std::vector<std::uint8_t> out(32, 0);
    out[0] = m_version;
    out[1] = m_date[0];
    out[2] = m_date[1];
    out[3] = m_date[2];
    const std::uint32_t count = m_recordCount.value_or(static_cast<std::uint32_t>(m_records.size()));
    for (int i = 0; i < 4; ++i)
        out[4 + i] = static_cast<std::uint8_t>(count >> (8 * i));
    put16(out, 8, m_headerLength.value_or(static_cast<std::uint16_t>(TrueHeaderLength())));
    put16(out, 10, m_recordLength.value_or(static_cast<std::uint16_t>(TrueRecordLength())));
    out[29] = m_codePage;
    for (const auto& f : m_fields) {
        std::vector<std::uint8_t> entry(32, 0);
        for (std::size_t i = 0; i < f.name.size() && i < 11; ++i)
            entry[i] = static_cast<std::uint8_t>(f.name[i]);
        entry[11] = static_cast<std::uint8_t>(f.type);
        entry[16] = f.length;
        entry[17] = f.decimals;
        out.insert(out.end(), entry.begin(), entry.end());
    }
    out.push_back(0x0D);
    for (int i = 0; i < m_pad; ++i)
        out.push_back(0);
    const std::uint32_t recordLength = TrueRecordLength();
    for (std::string record : m_records) {
        record.resize(recordLength, ' ');
        out.insert(out.end(), record.begin(), record.end());
    }
    if (m_eof)
        out.push_back(0x1A);
    return out;
}

void TableBuilder::Write(const std::string& path) const
{
    WriteAllBytes(path, Bytes());
}

} // namespace testing_support
