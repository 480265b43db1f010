#include "tablegrid/operations/table_saver.h"

#include "platform/file_system.h"
#include "table/dbf_create.h"
#include "table/dbf_format.h"
#include "table/memo_file.h"
#include "table/table.h"
#include "table/table_appender.h"
#include "tablegrid/operations/record_copy.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>

namespace tablegrid {

namespace {

constexpr std::uint32_t kCodePageOffset = 29;

bool HasMemoFields(const table::CTable& table, const std::vector<int>* only)
{
    const auto& fields = table.Fields();
    if (!only) {
        return std::any_of(fields.begin(), fields.end(),
            [](const table::FieldLayout& field) { return field.def.IsMemoType(); });
    }
    return std::any_of(only->begin(), only->end(),
        [&](int i) { return fields[static_cast<std::size_t>(i)].def.IsMemoType(); });
}

// Copies file `from` whole into the open file `to`, which is empty, and pushes it to disk.
bool CopyFileInto(platform::FileSystem& fs, const std::string& from, platform::File& to)
{
    const std::unique_ptr<platform::File> source = fs.Open(from, platform::OpenMode::kRead, nullptr);
    return source && platform::CopyFileData(*source, to) && to.Sync();
}

bool PutBlockNumber(std::uint32_t block, std::uint8_t* bytes, std::uint32_t width)
{
    char digits[16];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, block);
    const auto length = static_cast<std::uint32_t>(end - digits);
    if (ec != std::errc() || length > width)
        return false;
    std::memset(bytes, ' ', width);
    std::memcpy(bytes + width - length, digits, length);
    return true;
}

} // namespace

TableSaver::TableSaver(platform::FileSystem& fs)
    : m_fs(fs)
    , m_target(fs)
{
}

bool TableSaver::WouldOverwriteSource(const table::CTable& source, const std::string& path)
{
    const std::string own[] = { source.FilePath(), source.MemoFilePath() };
    const std::string written[] = { path,
        table::MemoCompanionPath(path, table::dbf::kVersionDbase3Memo),
        table::MemoCompanionPath(path, table::dbf::kVersionFoxProMemo) };
    for (const std::string& a : own) {
        for (const std::string& b : written) {
            if (platform::IsSameFile(a, b))
                return true;
        }
    }
    return false;
}

TableSaver::Result TableSaver::Copy(table::CTable& source, const std::string& chosen)
{
    // A link chosen is saved through, its memo file becoming the companion of what it names.
    const std::string path = platform::FollowLinks(chosen);
    if (!source.IsOpen())
        return Result::kReadFailed;
    if (WouldOverwriteSource(source, path))
        return Result::kSameFile;
    const std::string& memo = source.MemoFilePath();
    const bool carryMemo = HasMemoFields(source, nullptr) && !memo.empty() && m_fs.Exists(memo);
    const std::string memoPath = carryMemo ? table::MemoCompanionPath(path, source.Version()) : "";
    // The memo file is put in place first, the table last.
    std::vector<std::string> finals;
    std::vector<std::string> copied;
    if (!memoPath.empty()) {
        finals.push_back(memoPath);
        copied.push_back(memo);
    }
    finals.push_back(path);
    copied.push_back(source.FilePath());
    if (!m_target.Claim(finals))
        return Result::kCreateFailed;
    m_tableAt = finals.size() - 1;
    for (std::size_t i = 0; i < finals.size(); ++i) {
        const std::unique_ptr<platform::File> file
            = m_fs.Open(m_target.TemporaryPath(i), platform::OpenMode::kReadWrite, nullptr);
        if (!file || !CopyFileInto(m_fs, copied[i], *file)) {
            m_target.Discard();
            return Result::kWriteFailed;
        }
    }
    return Result::kSaved;
}

TableSaver::Result TableSaver::Subset(table::CTable& source, const std::vector<int>& fields,
    bool allRecords, const std::string& chosen, const RecordHook& hook)
{
    const std::string path = platform::FollowLinks(chosen); // as in Copy
    if (!source.IsOpen())
        return Result::kReadFailed;
    if (WouldOverwriteSource(source, path))
        return Result::kSameFile;
    table::FieldList defs;
    std::vector<const table::FieldLayout*> from;
    for (const int i : fields) {
        if (i < 0 || i >= source.FieldCount())
            return Result::kCreateFailed;
        from.push_back(&source.Fields()[static_cast<std::size_t>(i)]);
        defs.push_back(from.back()->def);
    }
    const bool memoFields = HasMemoFields(source, &fields);
    if (memoFields && source.MemoUnavailable())
        return Result::kMemoUnreadable;
    if (table::CheckNewFields(defs) != table::DbfError::kNone)
        return Result::kCreateFailed;
    // The memo file is put in place first, the table last.
    std::vector<std::string> finals;
    if (memoFields)
        finals.push_back(table::MemoCompanionPath(path, table::dbf::kVersionDbase3Memo));
    finals.push_back(path);
    if (!m_target.Claim(finals))
        return Result::kCreateFailed;
    m_tableAt = finals.size() - 1;
    auto fail = [&](Result result) {
        m_target.Discard();
        return result;
    };
    const std::string& written = m_target.TemporaryPath(m_tableAt);
    if (table::CreateTableFile(m_fs, written, defs) != table::DbfError::kNone)
        return fail(Result::kCreateFailed);

    // The source's code-page mark, so the copy reads as the source does.
    std::uint8_t header[32] = {};
    {
        const auto file = m_fs.Open(source.FilePath(), platform::OpenMode::kRead, nullptr);
        std::size_t got = 0;
        if (!file || !file->ReadAt(0, header, sizeof header, &got) || got != sizeof header)
            return fail(Result::kReadFailed);
    }
    const std::unique_ptr<platform::File> file
        = m_fs.Open(written, platform::OpenMode::kReadWrite, nullptr);
    std::uint8_t created[32] = {};
    std::size_t got = 0;
    if (!file || !file->ReadAt(0, created, sizeof created, &got) || got != sizeof created)
        return fail(Result::kWriteFailed);
    if (!file->WriteAt(kCodePageOffset, header + kCodePageOffset, 1))
        return fail(Result::kWriteFailed);
    const std::uint16_t headerLength = table::dbf::GetU16(created + 8);
    const std::uint16_t recordLength = table::dbf::GetU16(created + 10);

    table::MemoFile memo(m_fs);
    if (memoFields && !memo.Open(m_target.TemporaryPath(0), table::MemoForm::kDbase3))
        return fail(Result::kWriteFailed);

    table::TableAppender appender(*file, created[0], headerLength, recordLength, 0);
    const RecordCopy copier(from);
    // The memo fields, each with where it lies in the new record; their texts are copied
    // into the new memo file.
    std::vector<std::pair<std::size_t, std::uint32_t>> memos;
    for (std::size_t j = 0, at = 1; j < from.size(); at += from[j]->width, ++j) {
        if (from[j]->def.IsMemoType())
            memos.emplace_back(j, static_cast<std::uint32_t>(at));
    }
    std::vector<std::uint8_t> record(recordLength, ' ');
    std::string text;
    std::uint32_t k = 0;
    Result failure = Result::kSaved;
    auto visit = [&](std::uint32_t number, const std::uint8_t* row) {
        record[0] = row[0] == table::dbf::kDeletedFlag ? table::dbf::kDeletedFlag
                                                       : table::dbf::kActiveFlag;
        copier.Copy(row, record.data());
        for (const auto& [j, at] : memos) {
            const table::FieldLayout& field = *from[j];
            std::memset(record.data() + at, ' ', field.width);
            if (!source.ReadMemoText(fields[j], row, &text)) {
                failure = Result::kMemoUnreadable;
                return false;
            }
            std::uint32_t block = 0;
            if (!text.empty()
                && (!memo.AppendText(text, &block)
                    || !PutBlockNumber(block, record.data() + at, field.width))) {
                failure = Result::kWriteFailed;
                return false;
            }
        }
        ++k;
        if (hook)
            hook(number, k, record.data());
        if (!appender.Add(record.data())) {
            failure = Result::kWriteFailed;
            return false;
        }
        return true;
    };
    if (!source.ScanRecords(allRecords, visit))
        return fail(Result::kReadFailed);
    if (failure != Result::kSaved)
        return fail(failure);
    memo.Close();
    if (!appender.Finish() || !file->Sync())
        return fail(Result::kWriteFailed);
    return Result::kSaved;
}

} // namespace tablegrid
