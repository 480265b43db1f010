// Tables written by other programs: every one the format accepts must read with the
// structure and record count its manifest gives, and every other one must fail cleanly.

#include "platform/file_system.h"
#include "table/record_file.h"
#include "table/dbf_format.h"
#include "table/memo_file.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using table::DbfError;
using table::RecordFile;

struct ManifestRow
{
    std::string folder; // the corpus folder holding the file
    std::string path;   // relative to the folder
    std::string version;
    std::string records;
    std::string fields;
    std::string memo;
    std::string deleted;
};

void PrintTo(const ManifestRow& row, std::ostream* out)
{
    *out << row.path;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::vector<ManifestRow> ReadManifest(const std::string& folder)
{
    std::vector<ManifestRow> rows;
    std::ifstream in(folder + "/MANIFEST.tsv");
    std::string line;
    std::getline(in, line); // column names
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::stringstream stream(line);
        for (std::string cell; std::getline(stream, cell, '\t');)
            cells.push_back(cell);
        if (cells.size() < 11 || Lower(std::filesystem::path(cells[0]).extension()) != ".dbf")
            continue; // companions that are not tables
        rows.push_back({ folder, cells[0], cells[5], cells[7], cells[8], cells[9], cells[10] });
    }
    return rows;
}

// Files the format refuses although their version byte is one it opens, and why.
const std::map<std::string, DbfError>& Refusals()
{
    static const std::map<std::string, DbfError> refusals = {
        { "php-xbase/dBaseVII_ts.dbf", DbfError::kUnsupportedLayout },
        { "php-xbase/dBaseVII_double.dbf", DbfError::kUnsupportedLayout },
        { "javadbf/test_delete.dbf", DbfError::kUnsupportedLayout },
        // The record length is one byte short of its fields.
        { "dbase-rs/stations_with_deleted.dbf", DbfError::kFieldsExceedRecord },
        // A C field of length 8 and decimal count 2 is 520 bytes wide; the writer meant 8.
        { "javadbf/wrong-exented-character-field.dbf", DbfError::kFieldsExceedRecord },
        // Descriptors shifted by a duplicated header: nonsense widths.
        { "shapefile-ts/bad.dbf", DbfError::kFieldsExceedRecord },
        // 45 bytes of mangled header.
        { "fias/testReadException.dbf", DbfError::kHeaderTooShort },
    };
    return refusals;
}

// Memo files that cannot serve their table, and how that shows.
const std::map<std::string, DbfError>& MemoFailures()
{
    static const std::map<std::string, DbfError> failures = {
        { "dans-dbf-lib/dbase3plus/fileExceptions/MEMEMPTY.DBF", DbfError::kMemoTooShort },
        { "dans-dbf-lib/dbase3plus/fileExceptions/PNTRERR.DBF", DbfError::kMemoBlockPastEnd },
        { "infused-dbf/dbase_83_missing_memo.dbf", DbfError::kNoMemoFile },
    };
    return failures;
}

std::vector<ManifestRow> AllRows()
{
    std::vector<ManifestRow> rows = ReadManifest(LUMETTA_TEST_DATA "/real");
    const std::string shared = LUMETTA_SHARED_DATA "/real";
    if (std::filesystem::exists(shared + "/MANIFEST.tsv")) {
        for (ManifestRow& row : ReadManifest(shared)) {
            const bool copied = std::any_of(rows.begin(), rows.end(),
                                            [&](const ManifestRow& r) { return r.path == row.path; });
            if (!copied && std::filesystem::exists(shared + "/" + row.path))
                rows.push_back(row);
        }
    }
    return rows;
}

// Works on a copy: opening a memo file may pad it to whole blocks.
class RealFileTest : public ::testing::TestWithParam<ManifestRow>
{
protected:
    std::string CopyIn(const ManifestRow& row)
    {
        const std::filesystem::path source = std::filesystem::path(row.folder) / row.path;
        for (const auto& entry : std::filesystem::directory_iterator(source.parent_path())) {
            if (Lower(entry.path().stem().string()) == Lower(source.stem().string()))
                std::filesystem::copy_file(entry.path(), dir.Path() + entry.path().filename().string());
        }
        return dir.Path() + source.filename().string();
    }

    testing_support::TempDir dir;
    platform::FileSystem& fs = platform::FileSystem::Default();
};

TEST_P(RealFileTest, OpensWithManifestFactsOrFailsCleanly)
{
    const ManifestRow& row = GetParam();
    const std::string path = CopyIn(row);
    RecordFile file(fs);
    const bool opened = file.Open(path, RecordFile::Mode::kReadWrite);

    const unsigned version = row.version == "-" ? 0x100 : std::stoul(row.version, nullptr, 16);
    const bool openable = version < 0x100 && table::dbf::IsOpenableVersion(static_cast<std::uint8_t>(version));
    if (auto refusal = Refusals().find(row.path); refusal != Refusals().end()) {
        ASSERT_FALSE(opened);
        EXPECT_EQ(file.LastError(), refusal->second) << table::DbfErrorText(file.LastError());
        return;
    }
    if (!openable) {
        ASSERT_FALSE(opened);
        EXPECT_TRUE(file.LastError() == DbfError::kUnknownVersion || file.LastError() == DbfError::kTooShort)
            << table::DbfErrorText(file.LastError());
        return;
    }
    ASSERT_TRUE(opened) << table::DbfErrorText(file.LastError());
    EXPECT_EQ(file.Version(), version);
    EXPECT_EQ(file.RecordCount(), std::stoul(row.records));
    // Fields are counted from the stored header length; a header one byte short of its
    // descriptor and terminator holds one field less than its descriptors.
    const bool headerShort = row.path == "javadbf/continents_no_header_record_terminator.dbf";
    EXPECT_EQ(file.Fields().size(), std::stoul(row.fields) - (headerShort ? 1 : 0));

    // Every record the file holds reads; records it only counts fail as beyond the file.
    std::uint32_t deleted = 0;
    std::vector<std::uint32_t> memoBlocks;
    for (std::uint32_t k = 1; k <= file.RecordCount(); ++k) {
        if (k > file.RecordsInFile()) {
            EXPECT_FALSE(file.ReadRecord(k));
            EXPECT_EQ(file.LastError(), DbfError::kRecordBeyondFile);
            continue;
        }
        ASSERT_TRUE(file.ReadRecord(k)) << k << ": " << table::DbfErrorText(file.LastError());
        deleted += file.Record()[0] == '*';
        for (const table::FieldLayout& field : file.Fields()) {
            if (field.def.type != 'M')
                continue;
            const std::string text(reinterpret_cast<const char*>(file.Record()) + field.offset, field.width);
            const auto digits = text.find_first_not_of(' ');
            if (digits != std::string::npos && text.find_first_not_of("0123456789 ") == std::string::npos)
                memoBlocks.push_back(static_cast<std::uint32_t>(std::stoul(text.substr(digits))));
        }
    }
    if (row.deleted != "-") {
        EXPECT_EQ(deleted, std::stoul(row.deleted));
    }

    // Memo texts of dBASE III and IV tables read back; damaged memo files fail with a code.
    if (version != 0x83 && version != 0x8B)
        return;
    const auto memoFailure = MemoFailures().find(row.path);
    const std::string memoPath = table::FindMemoCompanion(fs, path, static_cast<std::uint8_t>(version));
    table::MemoFile memo(fs);
    if (!memo.Open(memoPath, table::MemoFormForVersion(static_cast<std::uint8_t>(version)))) {
        ASSERT_NE(memoFailure, MemoFailures().end()) << table::DbfErrorText(memo.LastError());
        EXPECT_EQ(memo.LastError(), memoFailure->second);
        return;
    }
    DbfError firstFailure = DbfError::kNone;
    for (std::uint32_t block : memoBlocks) {
        std::string text;
        if (block != 0 && !memo.ReadText(block, &text) && firstFailure == DbfError::kNone)
            firstFailure = memo.LastError();
    }
    const DbfError expected = memoFailure == MemoFailures().end() ? DbfError::kNone : memoFailure->second;
    EXPECT_EQ(firstFailure, expected) << table::DbfErrorText(firstFailure);
}

std::string RowName(const ::testing::TestParamInfo<ManifestRow>& info)
{
    std::string name = info.param.path;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, RealFileTest, ::testing::ValuesIn(AllRows()), RowName);

} // namespace
