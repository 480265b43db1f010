// CTable::Pack: the table without its records marked for deletion, memo texts carried over;
// and the memo text of a record's field.
//
// The complete new table (and memo file) is written beside the old one first; only then
// does each replace its original, the table with one rename. Until that rename the original
// table is untouched; a memo file is first moved aside and put back should a later step
// fail.
//
// The pack's own files are named TMPXBASE.DBF, TMPXBASE.DBT and TMPXBASE.OLD when those
// names are free. A file of such a name may be a user's table, the leftover of another
// program's interrupted pack, or the very table being packed, so every one of them is
// created where no file exists (TMPXBAS1, TMPXBAS2, ... when taken), and only files the
// pack created are ever emptied or removed.

#include "table/table.h"

#include "platform/file_system.h"
#include "table/dbf_format.h"
#include "table/table_appender.h"
#include "table/table_database.h"

#include <cerrno>
#include <charconv>
#include <optional>
#include <cstring>
#include <vector>

namespace table {
namespace {

constexpr const char* kPackStem = "TMPXBASE";
constexpr int kStemChoices = 1000; // TMPXBASE, TMPXBAS1 .. TMPXB999

// The n-th choice of a stem for the pack's files: TMPXBASE, then the same eight characters
// ending in n.
std::string PackStem(int n)
{
    const std::string stem = kPackStem;
    if (n == 0)
        return stem;
    const std::string digits = std::to_string(n);
    return stem.substr(0, stem.size() - digits.size()) + digits;
}

// Creates the file `path` only when no file of that name exists; `*taken` tells a name in
// use from other failures.
std::unique_ptr<platform::File> CreateNew(platform::FileSystem& fs, const std::string& path,
                                          bool* taken)
{
    int error = 0;
    auto file = fs.Open(path, platform::OpenMode::kCreateNew, &error);
    *taken = !file && error == EEXIST;
    return file;
}

// Claims the first free name stem + `extension` by creating it empty. Nothing when every
// choice is taken (kNoFreeName) or the directory refuses new files (kOpenFailed).
std::optional<std::string> ClaimFreeName(platform::FileSystem& fs, const std::string& directory,
                                         const std::string& extension, DbfError* why)
{
    for (int n = 0; n < kStemChoices; ++n) {
        const std::string path = directory + PackStem(n) + extension;
        bool taken = false;
        if (CreateNew(fs, path, &taken))
            return path;
        if (!taken) {
            *why = DbfError::kOpenFailed;
            return std::nullopt;
        }
    }
    *why = DbfError::kNoFreeName;
    return std::nullopt;
}

// The memo block number a record's field holds: 0 for a blank field, nothing for a field
// that holds anything but right-aligned digits.
std::optional<std::uint32_t> MemoBlockOf(const std::uint8_t* bytes, std::uint32_t width)
{
    std::uint32_t i = 0;
    while (i < width && bytes[i] == ' ')
        ++i;
    std::uint32_t end = width;
    while (end > i && bytes[end - 1] == ' ')
        --end;
    if (i == end)
        return 0u;
    std::uint32_t block = 0;
    const char* first = reinterpret_cast<const char*>(bytes + i);
    const char* last = reinterpret_cast<const char*>(bytes + end);
    const auto [ptr, ec] = std::from_chars(first, last, block);
    if (ec != std::errc() || ptr != last)
        return std::nullopt;
    return block;
}

} // namespace

bool CTable::ReadMemoText(int i, std::string* text)
{
    return ReadMemoText(i, RecordBuffer(), text);
}

bool CTable::ReadMemoText(int i, const std::uint8_t* record, std::string* text)
{
    text->clear();
    if (i < 0 || i >= FieldCount() || !m_open || !Fields()[i].def.IsMemoType()
        || !m_handle->memo.IsOpen())
        return false;
    const FieldLayout& field = Fields()[i];
    const auto block = MemoBlockOf(record + field.offset, field.width);
    if (!block)
        return false;
    return *block == 0 || m_handle->memo.ReadText(*block, text);
}

bool CTable::CarryMemoTexts(std::uint8_t* record, MemoFile& into)
{
    std::string text;
    for (const FieldLayout& field : Fields()) {
        if (!field.def.IsMemoType())
            continue;
        std::uint8_t* bytes = record + field.offset;
        const auto block = MemoBlockOf(bytes, field.width);
        if (!block)
            return FailFile(DbfError::kMemoBadBlock);
        if (*block == 0)
            continue;
        std::uint32_t newBlock = 0;
        if (!m_handle->memo.ReadText(*block, &text))
            return FailFile(m_handle->memo.LastError());
        if (!into.AppendText(text, &newBlock))
            return FailFile(into.LastError());
        char digits[16];
        const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, newBlock);
        const auto length = static_cast<std::uint32_t>(end - digits);
        if (ec != std::errc() || length > field.width)
            return FailFile(DbfError::kMemoTooLong);
        std::memset(bytes, ' ', field.width);
        std::memcpy(bytes + field.width - length, digits, length);
    }
    return true;
}

bool CTable::Pack()
{
    if (!m_open)
        return false;
    m_fileError = DbfError::kNone;
    platform::FileSystem& fs = m_database->FileSystem();
    RecordFile& file = m_handle->file;
    const bool memoFields = file.HasMemoFields();
    if (memoFields && file.Version() == dbf::kVersionFoxProMemo)
        return FailFile(DbfError::kMemoNotCarried);
    // The kept records' memo texts must reach the new memo file; without the old one they
    // would point into nothing.
    if (memoFields && !m_handle->memo.IsOpen())
        return FailFile(MemoUnavailable() ? m_memoError : DbfError::kNoMemoFile);
    const bool carryMemo = memoFields;

    const std::string tablePath = file.Path();
    // A table (and memo) opened through a link is packed where the link leads; the link stays.
    const std::string placedPath = platform::FollowLinks(tablePath);
    const std::string directory = platform::DirectoryOf(placedPath);
    const std::string memoPath
        = carryMemo ? platform::FollowLinks(m_handle->memo.Path()) : std::string();

    // The header bytes as they are (code-page byte included), with no records yet.
    std::vector<std::uint8_t> header(file.HeaderLength());
    std::size_t got = 0;
    if (!file.RawFile()->ReadAt(0, header.data(), header.size(), &got) || got != header.size())
        return FailFile(DbfError::kReadFailed);
    dbf::PutU32(header.data() + 4, 0);
    header.push_back(dbf::kEndOfFile);

    // The new table and its memo file share a stem, as a table and its memo do.
    std::string packPath;
    std::string packMemoPath;
    std::unique_ptr<platform::File> packed;
    for (int n = 0; n < kStemChoices && !packed; ++n) {
        packPath = directory + PackStem(n) + ".DBF";
        bool taken = false;
        packed = CreateNew(fs, packPath, &taken);
        if (!packed && !taken)
            return FailFile(DbfError::kOpenFailed);
        if (!packed || !carryMemo)
            continue;
        packMemoPath = directory + PackStem(n) + ".DBT";
        if (CreateNew(fs, packMemoPath, &taken))
            break;
        packed.reset();
        (void)fs.Remove(packPath);
        if (!taken)
            return FailFile(DbfError::kOpenFailed);
    }
    if (!packed)
        return FailFile(DbfError::kNoFreeName);
    // The new files are shared as the old ones are, from before anything is written to them.
    platform::KeepAccessOf(placedPath, packPath);
    if (carryMemo)
        platform::KeepAccessOf(memoPath, packMemoPath);
    auto discard = [&](DbfError error) {
        (void)fs.Remove(packPath);
        if (carryMemo)
            (void)fs.Remove(packMemoPath);
        return FailFile(error);
    };

    {
        if (!packed->WriteAt(0, header.data(), header.size()))
            return discard(DbfError::kWriteFailed);

        MemoFile packedMemo(fs);
        if (carryMemo
            && !packedMemo.Create(packMemoPath, m_handle->memo.Form(), m_handle->memo.BlockSize(), m_name))
            return discard(packedMemo.LastError());

        TableAppender appender(*packed, file.Version(), file.HeaderLength(), file.RecordLength(), 0);
        std::vector<std::uint8_t> record(file.RecordLength());
        const std::uint32_t count = file.RecordCount();
        for (std::uint32_t k = 1; k <= count;) {
            const std::uint8_t* run = nullptr;
            std::uint32_t inRun = 0;
            if (!file.ReadRun(k, &run, &inRun))
                return discard(file.LastError());
            if (!carryMemo) {
                // Each stretch of kept records goes into the new table's buffer at once.
                std::uint32_t i = 0;
                while (i < inRun) {
                    while (i < inRun && run[std::size_t { i } * record.size()] == dbf::kDeletedFlag)
                        ++i;
                    const std::uint32_t first = i;
                    while (i < inRun && run[std::size_t { i } * record.size()] != dbf::kDeletedFlag)
                        ++i;
                    if (i > first
                        && !appender.AddRun(run + std::size_t { first } * record.size(), i - first))
                        return discard(appender.LastError());
                }
                k += inRun;
                continue;
            }
            for (std::uint32_t i = 0; i < inRun; ++i) {
                const std::uint8_t* source = run + std::size_t { i } * record.size();
                if (source[0] == dbf::kDeletedFlag)
                    continue;
                std::memcpy(record.data(), source, record.size());
                if (!CarryMemoTexts(record.data(), packedMemo))
                    return discard(m_fileError);
                if (!appender.Add(record.data()))
                    return discard(appender.LastError());
            }
            k += inRun;
        }
        if (!appender.Finish() || !packed->Sync())
            return discard(DbfError::kWriteFailed);
        packed.reset();
    }

    // Everything is written; now the new files take the old ones' places.
    const CodePageId codePage = m_codePage;
    Close();
    auto reopen = [&] {
        (void)Open(tablePath, false);
        m_codePage = codePage;
    };
    if (carryMemo) {
        // The old memo is kept under a free name the pack claimed until the new table is in
        // place, so a failed last rename can put it back.
        DbfError why = DbfError::kNone;
        const std::optional<std::string> claimed
            = ClaimFreeName(fs, platform::DirectoryOf(memoPath), ".OLD", &why);
        if (!claimed) {
            discard(why);
            reopen();
            return FailFile(why);
        }
        const std::string& aside = *claimed;
        // Where the file system allows, the claimed name becomes a second name of the old
        // memo, so the memo's own name holds the old or the new file at every moment, even
        // if the program is stopped between the renames. Elsewhere the memo is moved there,
        // replacing nothing but the claimed empty file.
        const bool linked = fs.Remove(aside) && fs.Link(memoPath, aside);
        if (!linked && !fs.Rename(memoPath, aside)) {
            (void)fs.Remove(aside);
            discard(DbfError::kRenameFailed);
            reopen();
            return FailFile(DbfError::kRenameFailed);
        }
        if (!fs.Rename(packMemoPath, memoPath)) {
            if (linked)
                (void)fs.Remove(aside);
            else
                (void)fs.Rename(aside, memoPath);
            discard(DbfError::kRenameFailed);
            reopen();
            return FailFile(DbfError::kRenameFailed);
        }
        if (!fs.Rename(packPath, placedPath)) {
            (void)fs.Rename(aside, memoPath); // replaces the new memo with the old one
            (void)fs.Remove(packPath);
            reopen();
            return FailFile(DbfError::kRenameFailed);
        }
        (void)fs.Remove(aside);
    } else if (!fs.Rename(packPath, placedPath)) {
        discard(DbfError::kRenameFailed);
        reopen();
        return FailFile(DbfError::kRenameFailed);
    }
    reopen();
    return m_open;
}

} // namespace table
