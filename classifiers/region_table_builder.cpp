#include "classifiers/region_table_builder.h"

#include "classifiers/classifier_tables.h"
#include "platform/file_system.h"
#include "table/dbf_create.h"
#include "table/dbf_format.h"
#include "table/table.h"
#include "table/table_appender.h"
#include "table/table_database.h"
#include "tablegrid/operations/save_target.h"

#include <algorithm>
#include <memory>
#include <string_view>

namespace classifiers {
namespace {

constexpr const char* kKladrTableName = "KLADR.DBF";
constexpr std::size_t kHeaderBytes = 32;

bool ReadHeader(platform::FileSystem& fs, const std::string& path, std::uint8_t* header)
{
    const auto file = fs.Open(path, platform::OpenMode::kRead, nullptr);
    std::size_t got = 0;
    return file && file->ReadAt(0, header, kHeaderBytes, &got) && got == kHeaderBytes;
}

} // namespace

std::string RegionTablePath(platform::FileSystem& fs, const std::string& directory)
{
    return platform::FindEntryNoCase(fs, directory, kRegionFile).value_or(directory + kRegionFile);
}

RegionTableBuilder::RegionTableBuilder(platform::FileSystem& fs)
    : m_fs(fs)
{
}

RegionTableBuilder::Result RegionTableBuilder::Build(
    const std::string& directory, RegionProgress* progress)
{
    m_visited = 0;
    m_kept = 0;
    table::TableDatabase database(m_fs);
    if (!database.SetDatabaseDirectory(directory)) {
        m_regionPath.clear();
        return Result::kNoKladr;
    }
    return Build(database, progress);
}

RegionTableBuilder::Result RegionTableBuilder::Build(
    table::TableDatabase& database, RegionProgress* progress)
{
    m_visited = 0;
    m_kept = 0;
    const std::string& directory = database.Directory();
    m_regionPath = RegionTablePath(m_fs, directory);
    table::CTable* kladr = database.OpenTable(kKladrTableName);
    if (!kladr)
        return Result::kNoKladr;
    const Result result = BuildFrom(*kladr, progress);
    database.ReleaseTable(kKladrTableName);
    return result;
}

RegionTableBuilder::Result RegionTableBuilder::BuildFrom(
    table::CTable& kladr, RegionProgress* progress)
{
    const int codeIndex = kladr.FieldIndex(kCodeField);
    if (codeIndex < 0 || kladr.FieldType(codeIndex) != 'C')
        return Result::kNoCodeField;
    table::FieldList fields;
    for (const table::FieldLayout& field : kladr.Fields()) {
        if (field.def.IsMemoType())
            return Result::kMemoFields;
        fields.push_back(field.def);
    }
    const table::FieldLayout code = kladr.Fields()[static_cast<std::size_t>(codeIndex)];

    // Written beside the region table's place and renamed onto it once complete.
    tablegrid::SaveTarget target(m_fs);
    if (!target.Claim({ m_regionPath }))
        return Result::kCreateFailed;
    const std::string& written = target.TemporaryPath(0);
    if (table::CreateTableFile(m_fs, written, fields) != table::DbfError::kNone)
        return Result::kCreateFailed;

    std::uint8_t source[kHeaderBytes] = {};
    std::uint8_t created[kHeaderBytes] = {};
    if (!ReadHeader(m_fs, kladr.FilePath(), source))
        return Result::kReadFailed;
    if (!ReadHeader(m_fs, written, created))
        return Result::kCreateFailed;
    const std::uint16_t headerLength = table::dbf::GetU16(created + 8);
    const std::uint16_t recordLength = table::dbf::GetU16(created + 10);
    // The same fields make the same record: a KLADR record, its deletion mark first, is the
    // region record with every field copied by name.
    if (recordLength != kladr.RecordLength())
        return Result::kCreateFailed;
    {
        const std::unique_ptr<platform::File> file
            = m_fs.Open(written, platform::OpenMode::kReadWrite, nullptr);
        if (!file)
            return Result::kCreateFailed;
        // KLADR's code-page mark goes with its records, so the region table reads as KLADR.
        if (!file->WriteAt(table::dbf::kCodePageOffset, source + table::dbf::kCodePageOffset, 1))
            return Result::kWriteFailed;
        table::TableAppender appender(*file, created[0], headerLength, recordLength, 0);

        const std::uint64_t total = kladr.RecordCount();
        int shown = 0;
        if (progress)
            progress->SetProgress(0);
        bool appended = true;
        auto visit = [&](std::uint32_t, const std::uint8_t* record) {
            ++m_visited;
            const std::string_view value(
                reinterpret_cast<const char*>(record) + code.offset, code.width);
            if (IsRegionCode(value)) {
                if (!appender.Add(record)) {
                    appended = false;
                    return false;
                }
                ++m_kept;
            }
            const auto percent
                = static_cast<int>(std::min<std::uint64_t>(100, std::uint64_t { m_visited } * 100 / total));
            if (percent != shown) {
                shown = percent;
                if (progress)
                    progress->SetProgress(percent);
            }
            return true;
        };
        const bool read = kladr.ScanRecords(true, visit);
        if (!appended)
            return Result::kWriteFailed;
        if (!read)
            return Result::kReadFailed;
        if (!appender.Finish() || !file->Sync())
            return Result::kWriteFailed;
    }
    return target.Commit() ? Result::kBuilt : Result::kWriteFailed;
}

} // namespace classifiers
