#include "table/dbf_create.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "table/dbf_format.h"
#include "table/memo_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace table {
namespace {

bool IsCreatableType(char type)
{
    return type == 'C' || type == 'D' || type == 'F' || type == 'L' || type == 'M' || type == 'N';
}

std::vector<std::uint8_t> NewTableBytes(const FieldList& fields)
{
    const bool hasMemo = std::any_of(fields.begin(), fields.end(),
                                     [](const FieldDef& f) { return f.type == 'M'; });
    std::uint32_t recordLength = 1;
    for (const FieldDef& f : fields)
        recordLength += f.StorageWidth();
    const auto n = static_cast<std::uint32_t>(fields.size());
    const std::uint32_t headerLength = dbf::HeaderLengthFor(n);

    std::vector<std::uint8_t> bytes(headerLength + 1, 0);
    const platform::CalendarDate today = platform::Today();
    bytes[0] = hasMemo ? dbf::kVersionDbase3Memo : dbf::kVersionDbase3;
    bytes[1] = static_cast<std::uint8_t>(today.year % 100);
    bytes[2] = static_cast<std::uint8_t>(today.month);
    bytes[3] = static_cast<std::uint8_t>(today.day);
    dbf::PutU32(bytes.data() + 4, 0);
    dbf::PutU16(bytes.data() + 8, static_cast<std::uint16_t>(headerLength));
    dbf::PutU16(bytes.data() + 10, static_cast<std::uint16_t>(recordLength));
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint8_t* entry = bytes.data() + dbf::kFileHeaderSize + dbf::kDescriptorSize * i;
        std::memcpy(entry, fields[i].name.data(), fields[i].name.size());
        entry[11] = static_cast<std::uint8_t>(fields[i].type);
        entry[16] = fields[i].length;
        entry[17] = fields[i].decimals;
    }
    bytes[headerLength - 1] = dbf::kHeaderTerminator;
    bytes[headerLength] = dbf::kEndOfFile;
    return bytes;
}

} // namespace

DbfError CheckNewFields(const FieldList& fields)
{
    std::uint64_t recordLength = 1;
    for (const FieldDef& f : fields) {
        if (!IsCreatableType(f.type))
            return DbfError::kBadFieldType;
        if (f.name.empty() || f.name.size() > 10 || f.name.find('\0') != std::string::npos)
            return DbfError::kBadFieldName;
        if (f.type == 'C' ? f.StorageWidth() == 0 : f.length < f.decimals)
            return DbfError::kBadFieldSize;
        recordLength += f.StorageWidth();
    }
    if (recordLength > 0xFFFF || dbf::HeaderLengthFor(static_cast<std::uint32_t>(fields.size())) > 0xFFFF)
        return DbfError::kBadFieldSize;
    return DbfError::kNone;
}

DbfError CreateTableFile(platform::FileSystem& fs, const std::string& chosen,
                         const FieldList& fields)
{
    // A link is written through: the table it names is replaced, its memo file beside it.
    const std::string path = platform::FollowLinks(chosen);
    if (const DbfError error = CheckNewFields(fields); error != DbfError::kNone)
        return error;
    const std::vector<std::uint8_t> bytes = NewTableBytes(fields);

    // A memo table needs a companion name: its path must end in F or f.
    const bool hasMemo = bytes[0] == dbf::kVersionDbase3Memo;
    const std::string memoPath = hasMemo ? MemoCompanionPath(path, bytes[0]) : std::string();
    if (hasMemo && memoPath.empty())
        return DbfError::kNoMemoFile;

    const std::string temporary = path + ".new~";
    const std::string memoTemporary = memoPath + ".new~";
    auto discard = [&] {
        (void)fs.Remove(temporary);
        if (hasMemo)
            (void)fs.Remove(memoTemporary);
    };
    {
        auto file = fs.Open(temporary, platform::OpenMode::kCreate, nullptr);
        if (!file)
            return DbfError::kOpenFailed;
        // A table replaced keeps who may read and write it, from before its bytes are written.
        platform::KeepAccessOf(path, temporary);
        if (!file->WriteAt(0, bytes.data(), bytes.size()) || !file->Sync()) {
            file.reset();
            discard();
            return DbfError::kWriteFailed;
        }
    }
    if (hasMemo) {
        MemoFile memo(fs);
        if (!memo.Create(memoTemporary, MemoForm::kDbase3, MemoFile::kDbase3BlockSize,
                         platform::BaseNameOf(path))) {
            discard();
            return memo.LastError();
        }
        platform::KeepAccessOf(memoPath, memoTemporary); // empty as yet
    }
    if (!fs.Rename(temporary, path)) {
        discard();
        return DbfError::kRenameFailed;
    }
    if (hasMemo && !fs.Rename(memoTemporary, memoPath)) {
        (void)fs.Remove(memoTemporary);
        return DbfError::kRenameFailed;
    }
    return DbfError::kNone;
}

} // namespace table
