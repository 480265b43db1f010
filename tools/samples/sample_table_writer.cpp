#include "tools/samples/sample_table_writer.h"

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "table/dbf_create.h"
#include "table/dbf_format.h"
#include "table/field_codec.h"
#include "table/table_structure.h"

#include <algorithm>
#include <cassert>
#include <charconv>

namespace samples {

std::string OemText(std::string_view utf8)
{
    std::string text = platform::Utf8ToAnsi(utf8);
    platform::AnsiToOem(text);
    return text;
}

namespace {

constexpr std::uint32_t kDbase4MemoBlockSize = 512;

} // namespace

SampleTableWriter::SampleTableWriter(platform::FileSystem& fs)
    : m_fs(fs)
    , m_memo(fs)
{ }

SampleTableWriter::~SampleTableWriter() = default;

bool SampleTableWriter::Fail(const std::string& what)
{
    m_error = m_path + ": " + what;
    return false;
}

bool SampleTableWriter::Create(const std::string& path, const table::FieldList& fields,
    std::uint8_t version, table::CodePageId codePage)
{
    m_path = path;
    m_error.clear();
    if (const auto error = table::CreateTableFile(m_fs, path, fields);
        error != table::DbfError::kNone)
        return Fail(table::DbfErrorText(error));
    m_file = m_fs.Open(path, platform::OpenMode::kReadWrite, nullptr);
    if (!m_file)
        return Fail("cannot open the new table");

    // The new file is a dBASE III table with code page 0; the appender writes the version
    // asked for with the record count, the code page is one byte of its own.
    table::TableStructure structure;
    if (!table::ReadTableStructure(*m_file, path, &structure).ok)
        return Fail("cannot read the new table's header");
    const auto codePageByte = table::HeaderByteOf(codePage);
    if (!codePageByte || !m_file->WriteAt(table::dbf::kCodePageOffset, &*codePageByte, 1))
        return Fail("cannot write the code page");

    m_fields.clear();
    std::uint32_t offset = 1;
    for (const table::FieldDef& def : structure.fields) {
        m_fields.push_back({ def, offset, def.StorageWidth() });
        offset += def.StorageWidth();
    }
    m_record.assign(structure.recordLength, ' ');
    m_appender = std::make_unique<table::TableAppender>(
        *m_file, version, structure.headerLength, structure.recordLength, 0);

    m_memo.Close();
    const bool hasMemo = std::any_of(
        fields.begin(), fields.end(), [](const table::FieldDef& f) { return f.type == 'M'; });
    if (hasMemo) {
        const std::string memoPath = table::MemoCompanionPath(path, version);
        const table::MemoForm form = table::MemoFormForVersion(version);
        const bool ok = form == table::MemoForm::kDbase4
            ? m_memo.Create(memoPath, form, kDbase4MemoBlockSize, platform::BaseNameOf(path))
            : m_memo.Open(memoPath, form);
        if (!ok)
            return Fail(std::string("memo file: ") + table::DbfErrorText(m_memo.LastError()));
    }
    return true;
}

bool SampleTableWriter::Set(int i, std::string_view text)
{
    assert(i >= 0 && i < static_cast<int>(m_fields.size()) && !m_fields[i].def.IsMemoType());
    const table::FieldLayout& field = m_fields[i];
    if (!table::WriteFieldText(field.def, text, m_record.data() + field.offset))
        return Fail("field " + field.def.name + " refuses \"" + std::string(text) + "\"");
    return true;
}

bool SampleTableWriter::SetMemo(int i, std::string_view text)
{
    assert(i >= 0 && i < static_cast<int>(m_fields.size()) && m_fields[i].def.type == 'M');
    const table::FieldLayout& field = m_fields[i];
    std::uint32_t block = 0;
    if (!m_memo.AppendText(text, &block))
        return Fail(std::string("memo file: ") + table::DbfErrorText(m_memo.LastError()));
    // The field holds the block number right-aligned, as memo fields are read.
    char digits[16];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, block);
    const auto length = static_cast<std::uint32_t>(end - digits);
    if (ec != std::errc() || length > field.width)
        return Fail("memo block number too long for field " + field.def.name);
    std::uint8_t* bytes = m_record.data() + field.offset;
    std::fill_n(bytes, field.width - length, ' ');
    std::copy(digits, end, bytes + field.width - length);
    return true;
}

bool SampleTableWriter::Add(bool deleted)
{
    m_record[0] = deleted ? table::dbf::kDeletedFlag : table::dbf::kActiveFlag;
    if (!m_appender->Add(m_record.data()))
        return Fail(table::DbfErrorText(m_appender->LastError()));
    std::fill(m_record.begin(), m_record.end(), ' ');
    return true;
}

bool SampleTableWriter::Finish()
{
    if (!m_appender->Finish())
        return Fail(table::DbfErrorText(m_appender->LastError()));
    m_appender.reset();
    m_file.reset();
    m_memo.Close();
    return true;
}

} // namespace samples
