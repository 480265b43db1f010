#include "table/dbf_file.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "table/header_repair.h"
#include "table/record_file.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

using table::CDBFException;
using table::CDBFFile;
using Result = table::CDBFFile::CheckResult;
using Failure = table::CDBFFile::RepairFailure;
using testing_support::ReadAllBytes;
using testing_support::TableBuilder;
using testing_support::TempDir;

// Records what a repair reports, in order.
class RecordingChecker : public CDBFFile
{
public:
    using CDBFFile::CDBFFile;
    int OnUnrepairableDamage(int kind) override
    {
        events.push_back("damage " + std::to_string(kind));
        return 0;
    }
    void OnFinished() override { events.push_back("finished"); }
    void OnProgress(double fraction) override { progress.push_back(fraction); }
    void OnStarted(int stage) override
    {
        events.push_back(
            "started " + std::to_string(stage) + " after " + std::to_string(progress.size()));
    }

    std::vector<std::string> events;
    std::vector<double> progress;
};

// Three fields of widths 10, 5 and 8: header length 129, record length 24.
TableBuilder TenRecords()
{
    TableBuilder b;
    b.Field("NAME", 'C', 10).Field("QTY", 'N', 5).Field("DAY", 'D', 8);
    for (int i = 0; i < 10; ++i) {
        const std::string n = std::to_string(i);
        b.Record("name" + n + "     " + std::to_string(10000 + i) + "2026010" + n, i == 3);
    }
    return b;
}

class DbfFileTest : public ::testing::Test
{
protected:
    Result Check(const TableBuilder& b) { return CheckBytes(b.Bytes()); }
    Result CheckBytes(const std::vector<std::uint8_t>& bytes)
    {
        testing_support::WriteAllBytes(path, bytes);
        return CDBFFile(fs, path).Result();
    }

    // Repairs `damaged` and expects exactly the bytes of `good` dated today.
    void ExpectRepairedAs(const TableBuilder& damaged, TableBuilder good)
    {
        damaged.Write(path);
        CDBFFile checker(fs, path);
        ASSERT_EQ(checker.Result(), Result::kDisagrees);
        const platform::CalendarDate before = platform::Today();
        std::string repaired;
        ASSERT_TRUE(checker.Repair(dir.Path(), &repaired));
        EXPECT_EQ(repaired, dir.File("fixedHDR.tmp"));
        EXPECT_FALSE(checker.IsOpen());
        const auto bytes = ReadAllBytes(repaired);
        ASSERT_GE(bytes.size(), 32u);
        ExpectToday(bytes, before);
        EXPECT_EQ(bytes, good.Date(bytes[1], bytes[2], bytes[3]).Bytes());
        EXPECT_EQ(ReadAllBytes(path), damaged.Bytes()) << "the table itself is never written";
    }

    // The update date is today's, as a two-digit year, month and day (taken before and
    // after, in case midnight passed in between).
    static void ExpectToday(const std::vector<std::uint8_t>& bytes, platform::CalendarDate before)
    {
        const platform::CalendarDate after = platform::Today();
        auto is = [&](const platform::CalendarDate& d) {
            return bytes[1] == d.year % 100 && bytes[2] == d.month && bytes[3] == d.day;
        };
        EXPECT_TRUE(is(before) || is(after))
            << int(bytes[1]) << "-" << int(bytes[2]) << "-" << int(bytes[3]);
    }

    TempDir dir;
    std::string path = dir.File("t.dbf");
    platform::FileSystem& fs = platform::FileSystem::Default();
};

TEST_F(DbfFileTest, ResultCodes)
{
    EXPECT_EQ(CDBFFile(fs).Result(), Result::kNotChecked);
    EXPECT_EQ(CDBFFile(fs, dir.File("missing.dbf")).Result(), Result::kCannotOpen);
    EXPECT_EQ(CDBFFile(fs, dir.Path()).Result(), Result::kCannotOpen);
    TenRecords().Write(dir.File("ro.dbf"));
    std::filesystem::permissions(dir.File("ro.dbf"), std::filesystem::perms::owner_read);
    if (::geteuid() != 0) { // the superuser may write anything
        EXPECT_EQ(CDBFFile(fs, dir.File("ro.dbf")).Result(), Result::kCannotOpen);
    }
    TenRecords().Write(path);
    testing_support::FaultyFileSystem unreadable;
    unreadable.failReadFrom = 1;
    EXPECT_EQ(CDBFFile(unreadable, path).Result(), Result::kCannotOpen);

    EXPECT_EQ(Check(TenRecords()), Result::kAgrees);
    EXPECT_EQ(Check(TenRecords().HeaderPad(1)), Result::kAgrees);
    EXPECT_EQ(Check(TenRecords().EndOfFile(false)), Result::kAgrees);
    EXPECT_EQ(Check(TenRecords().Version(0xF5)), Result::kAgrees) << "no memo file needed";
    EXPECT_EQ(Check(TableBuilder().Field("L", 'L', 1).Record("T").Record("F").HeaderPad(1)),
        Result::kAgrees)
        << "the pad byte of a 32n+34 header is not a one-byte record";

    EXPECT_EQ(Check(TenRecords().Version(0x04)), Result::kNotDbase);
    EXPECT_EQ(Check(TenRecords().Version(0x30)), Result::kNotDbase);
    EXPECT_EQ(CheckBytes({ 0x03, 26, 1, 1, 0, 0, 0, 0, 33, 0 }), Result::kNotDbase);

    auto cut = TenRecords().Bytes();
    cut.resize(32 + 32 + 10);
    EXPECT_EQ(CheckBytes(cut), Result::kNoTerminatorOdd);
    cut[8] = 130;
    EXPECT_EQ(CheckBytes(cut), Result::kNoTerminatorEven);
    auto noTerminator = TenRecords().Bytes();
    noTerminator[128] = 0x0A;
    EXPECT_EQ(CheckBytes(noTerminator), Result::kNoTerminatorOdd);
    TableBuilder many;
    for (int i = 0; i < 257; ++i)
        many.Field("F" + std::to_string(i), 'C', 1);
    EXPECT_EQ(Check(many), Result::kNoTerminatorOdd) << "257 descriptors end the reading";

    EXPECT_EQ(Check(TenRecords().RecordCount(12)), Result::kDisagrees);
    EXPECT_EQ(Check(TenRecords().HeaderPad(1).HeaderLength(131)), Result::kDisagrees);
    EXPECT_EQ(Check(TenRecords().RecordLength(25)), Result::kDisagrees);
}

TEST_F(DbfFileTest, OnlyDisagreementIsRecoverable)
{
    for (int code = -3; code <= 7; ++code)
        EXPECT_EQ(CDBFFile::IsRecoverable(static_cast<Result>(code)), code == 5) << code;
}

// Widths of 65535 make a record length of 65536, which a header stores as 0.
TEST_F(DbfFileTest, WrappingRecordLengthDisagreesAndIsNotRepaired)
{
    TableBuilder b;
    b.Field("BIG", 'C', 255, 255).RecordLength(0);
    b.Write(path);
    CDBFFile checker(fs, path);
    EXPECT_EQ(checker.Result(), Result::kDisagrees);
    EXPECT_FALSE(checker.RecordLengthFits());
    EXPECT_EQ(checker.ComputedRecordLength(), 0u);
    EXPECT_EQ(checker.ComputedRecordCount(), 0u);
    std::string repaired;
    EXPECT_FALSE(checker.Repair(dir.Path(), &repaired));
    EXPECT_EQ(checker.RepairFailureReason(), Failure::kRecordTooLong);
    EXPECT_FALSE(fs.Exists(dir.File("fixedHDR.tmp")));
}

// A table without fields has records of one byte, the flag; its end-of-file byte is as long
// as a record but is none.
TEST_F(DbfFileTest, OneByteRecordsDoNotCountTheEndOfFileByte)
{
    EXPECT_EQ(Check(TableBuilder()), Result::kAgrees);
    EXPECT_EQ(Check(TableBuilder().Record("").Record("", true)), Result::kAgrees);
    EXPECT_EQ(Check(TableBuilder().Record("").Record("", true).EndOfFile(false)), Result::kAgrees);

    TableBuilder damaged;
    damaged.Record("").Record("", true).Record("").RecordCount(7);
    damaged.Write(path);
    CDBFFile checker(fs, path);
    ASSERT_EQ(checker.Result(), Result::kDisagrees);
    EXPECT_EQ(checker.ComputedRecordCount(), 3u);
    std::string repaired;
    ASSERT_TRUE(checker.Repair(dir.Path(), &repaired));
    EXPECT_EQ(CDBFFile(fs, repaired).Result(), Result::kAgrees);
    const auto bytes = ReadAllBytes(repaired);
    EXPECT_EQ(bytes.size(), 33u + 3 + 1);
    EXPECT_EQ(bytes[4], 3);
}

TEST_F(DbfFileTest, RepairsTheTenRecordExampleAndReplacesTheTable)
{
    TenRecords().RecordCount(12).Write(path);
    RecordingChecker checker(fs, path);
    ASSERT_EQ(checker.Result(), Result::kDisagrees);
    EXPECT_EQ(checker.ComputedHeaderLength(), 129u);
    EXPECT_EQ(checker.ComputedRecordLength(), 24u);
    EXPECT_EQ(checker.ComputedRecordCount(), 10u);
    const platform::CalendarDate before = platform::Today();
    std::string repaired;
    ASSERT_TRUE(checker.Repair(dir.Path(), &repaired));

    const auto bytes = ReadAllBytes(repaired);
    ASSERT_EQ(bytes.size(), 129u + 10 * 24 + 1);
    ExpectToday(bytes, before);
    EXPECT_EQ(bytes, TenRecords().Date(bytes[1], bytes[2], bytes[3]).Bytes());
    EXPECT_EQ(checker.events, (std::vector<std::string> { "started 0 after 0", "finished" }));
    ASSERT_EQ(checker.progress.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_DOUBLE_EQ(checker.progress[i], i / 10.0);

    const auto replaced = table::ReplaceWithRepaired(fs, path, repaired);
    ASSERT_TRUE(replaced.Succeeded());
    EXPECT_EQ(replaced.backupPath, dir.File("t.old"));
    EXPECT_EQ(ReadAllBytes(dir.File("t.old")), TenRecords().RecordCount(12).Bytes());
    table::RecordFile reopened(fs);
    ASSERT_TRUE(reopened.Open(path, table::RecordFile::Mode::kRead));
    EXPECT_EQ(reopened.RecordCount(), 10u);
    EXPECT_TRUE(reopened.ReadRecord(10));
    EXPECT_EQ(CDBFFile(fs, path).Result(), Result::kAgrees);
}

TEST_F(DbfFileTest, RepairWritesEachDisagreeingValue)
{
    // Any header length that does not match becomes H: the records follow the header.
    ExpectRepairedAs(TenRecords().HeaderLength(131), TenRecords());
    ExpectRepairedAs(TenRecords().HeaderLength(200), TenRecords());
    ExpectRepairedAs(TenRecords().RecordLength(30), TenRecords());
    ExpectRepairedAs(TenRecords().RecordCount(0).RecordLength(2), TenRecords());
    // A padded header keeps its pad byte, and its records their offsets.
    ExpectRepairedAs(TenRecords().HeaderPad(1).RecordCount(3), TenRecords().HeaderPad(1));
    // A cut last record is left out; the end-of-file byte is added.
    TableBuilder cut = TenRecords().EndOfFile(false);
    auto bytes = cut.Record("partial").Bytes();
    bytes.resize(bytes.size() - 5);
    testing_support::WriteAllBytes(path, bytes);
    CDBFFile checker(fs, path);
    ASSERT_EQ(checker.Result(), Result::kDisagrees);
    std::string repaired;
    ASSERT_TRUE(checker.Repair(dir.Path(), &repaired));
    auto out = ReadAllBytes(repaired);
    EXPECT_EQ(out, TenRecords().Date(out[1], out[2], out[3]).Bytes());
}

TEST_F(DbfFileTest, RepairCopiesRecordsLongerThanTheBufferAndAcrossBufferRuns)
{
    TableBuilder wide; // record length 1 + 10000 + 10000 + 5
    wide.Field("A", 'C', 16, 39).Field("B", 'C', 16, 39).Field("N", 'N', 5);
    for (char c : std::string("xyz"))
        wide.Record(std::string(9999, c) + "|" + std::string(9999, char(c - 32)) + "|12345");
    ExpectRepairedAs(TableBuilder(wide).RecordCount(7), wide);

    TableBuilder narrow; // 9000 / 7 records per run, 3000 records
    narrow.Field("S", 'C', 6);
    for (int i = 0; i < 3000; ++i)
        narrow.Record(std::to_string(100000 + i));
    ExpectRepairedAs(TableBuilder(narrow).RecordCount(1), narrow);
}

TEST_F(DbfFileTest, RepairEmptiesAStaleOutputAndTakesADirectoryWithoutSlash)
{
    testing_support::WriteAllBytes(dir.File("fixedHDR.tmp"), std::vector<std::uint8_t>(5000, 'q'));
    TenRecords().RecordCount(12).Write(path);
    CDBFFile checker(fs, path);
    std::string repaired;
    ASSERT_TRUE(checker.Repair(dir.Path().substr(0, dir.Path().size() - 1), &repaired));
    EXPECT_EQ(repaired, dir.File("fixedHDR.tmp"));
    EXPECT_EQ(ReadAllBytes(repaired).size(), 129u + 10 * 24 + 1);
}

TEST_F(DbfFileTest, RepairOfUnrepairableResultsFailsWithoutWriting)
{
    const std::pair<TableBuilder, std::string> cases[] = {
        { TenRecords(), "" },
        { TenRecords().Version(0x04), "damage 0" },
    };
    auto cut = TenRecords().Bytes();
    cut.resize(100);
    for (const auto& [b, event] : cases) {
        b.Write(path);
        RecordingChecker checker(fs, path);
        std::string repaired;
        EXPECT_FALSE(checker.Repair(dir.Path(), &repaired));
        EXPECT_EQ(checker.RepairFailureReason(), Failure::kNotRecoverable);
        EXPECT_EQ(checker.events,
            event.empty() ? std::vector<std::string> {} : std::vector<std::string> { event });
    }
    for (const auto& [headerLength, event] :
        { std::pair { 129, "damage 1" }, std::pair { 130, "damage 2" } }) {
        cut[8] = static_cast<std::uint8_t>(headerLength);
        testing_support::WriteAllBytes(path, cut);
        RecordingChecker checker(fs, path);
        std::string repaired;
        EXPECT_FALSE(checker.Repair(dir.Path(), &repaired));
        EXPECT_EQ(checker.events, std::vector<std::string> { event });
    }
    EXPECT_FALSE(fs.Exists(dir.File("fixedHDR.tmp")));
}

TEST_F(DbfFileTest, RepairWithoutAnOpenFileThrows)
{
    std::string repaired;
    auto codeOf = [&](CDBFFile& checker) {
        try {
            (void)checker.Repair(dir.Path(), &repaired);
        } catch (const CDBFException& e) {
            return e.Code();
        }
        return 0;
    };
    CDBFFile none(fs);
    EXPECT_EQ(codeOf(none), CDBFException::kNoFileOpened);
    CDBFFile missing(fs, dir.File("missing.dbf"));
    EXPECT_EQ(codeOf(missing), CDBFException::kNoFileOpened);

    TenRecords().RecordCount(12).Write(path);
    CDBFFile closed(fs, path);
    closed.Close();
    EXPECT_EQ(codeOf(closed), CDBFException::kFileClosed);
    CDBFFile twice(fs, path);
    EXPECT_EQ(codeOf(twice), 0);
    EXPECT_EQ(codeOf(twice), CDBFException::kFileClosed) << "a finished repair closed the table";
}

// Every write and every read of the repair fails in turn: no output is left, the table is
// as it was, and the reason is given.
TEST_F(DbfFileTest, FailedReadsAndWritesLeaveNoOutput)
{
    TableBuilder damaged;
    damaged.Field("A", 'C', 16, 39).Field("N", 'N', 5); // one record takes two buffer runs
    damaged.Record(std::string(10000, 'a')).Record(std::string(10000, 'b')).RecordCount(9);
    const auto original = damaged.Bytes();
    for (const bool reads : { false, true }) {
        for (int n = 1;; ++n) {
            ASSERT_LT(n, 50) << "the repair never succeeded";
            testing_support::WriteAllBytes(path, original);
            testing_support::FaultyFileSystem faulty;
            CDBFFile checker(faulty, path);
            ASSERT_EQ(checker.Result(), Result::kDisagrees);
            (reads ? faulty.failReadFrom : faulty.failWriteFrom) = (reads ? faulty.reads : 0) + n;
            std::string repaired;
            if (checker.Repair(dir.Path(), &repaired))
                break;
            EXPECT_EQ(checker.RepairFailureReason(),
                reads ? Failure::kReadFailed : Failure::kWriteFailed);
            EXPECT_NE(checker.LastSystemError(), 0);
            EXPECT_FALSE(fs.Exists(dir.File("fixedHDR.tmp"))) << n;
            EXPECT_EQ(ReadAllBytes(path), original);
        }
    }

    testing_support::FaultyFileSystem faulty;
    faulty.failOpenContaining = "fixedHDR";
    CDBFFile checker(faulty, path);
    std::string repaired;
    EXPECT_FALSE(checker.Repair(dir.Path(), &repaired));
    EXPECT_EQ(checker.RepairFailureReason(), Failure::kCreateFailed);
}

TEST_F(DbfFileTest, RepairFailsWhenTheTableShrankOrIsNamedLikeTheOutput)
{
    TenRecords().RecordCount(12).Write(path);
    CDBFFile checker(fs, path);
    std::filesystem::resize_file(path, 129 + 5 * 24);
    std::string repaired;
    EXPECT_FALSE(checker.Repair(dir.Path(), &repaired));
    EXPECT_EQ(checker.RepairFailureReason(), Failure::kReadFailed);
    EXPECT_FALSE(fs.Exists(dir.File("fixedHDR.tmp")));

    const std::string named = dir.File("fixedHDR.tmp");
    TenRecords().RecordCount(12).Write(named);
    CDBFFile self(fs, named);
    EXPECT_FALSE(self.Repair(dir.Path(), &repaired));
    EXPECT_EQ(self.RepairFailureReason(), Failure::kOutputIsTable);
    EXPECT_EQ(ReadAllBytes(named), TenRecords().RecordCount(12).Bytes());
}

// Tables written by other programs (tests/data/real and, when present, the larger shared
// corpus): unknown versions are not dBase tables, tables whose manifest finds the header in
// agreement with the size agree here too unless their terminator is missing, and every
// table found in disagreement is repaired into a copy that agrees and opens.
TEST_F(DbfFileTest, RealTables)
{
    // Read with 32-bit descriptors the length byte 8 and decimal byte 2 of a character
    // field make it 520 bytes wide; the writer meant 8, so the record length disagrees.
    const std::string extendedMisread = "javadbf/wrong-exented-character-field.dbf";
    int repairedCount = 0;
    for (const std::string folder : { LUMETTA_TEST_DATA "/real", LUMETTA_SHARED_DATA "/real" }) {
        std::ifstream manifest(folder + "/MANIFEST.tsv");
        std::string line;
        std::getline(manifest, line); // column names
        while (std::getline(manifest, line)) {
            std::vector<std::string> cells;
            std::stringstream stream(line);
            for (std::string cell; std::getline(stream, cell, '\t');)
                cells.push_back(cell);
            if (cells.size() < 13)
                continue;
            std::string extension = std::filesystem::path(cells[0]).extension().string();
            for (char& c : extension)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (extension != ".dbf")
                continue; // companions that are not tables
            SCOPED_TRACE(folder + "/" + cells[0]);
            std::filesystem::copy_file(
                folder + "/" + cells[0], path, std::filesystem::copy_options::overwrite_existing);
            CDBFFile checker(fs, path);
            const unsigned version = cells[5] == "-" ? 0 : std::stoul(cells[5], nullptr, 16);
            if (version != 0x03 && version != 0x83 && version != 0x8B && version != 0xF5) {
                EXPECT_EQ(checker.Result(), Result::kNotDbase);
                continue;
            }
            if (cells[12].find("no 0x0D field terminator") != std::string::npos) {
                EXPECT_TRUE(checker.Result() == Result::kNoTerminatorEven
                    || checker.Result() == Result::kNoTerminatorOdd);
                continue;
            }
            if (cells[11] == "yes" && cells[0] != extendedMisread) {
                EXPECT_EQ(checker.Result(), Result::kAgrees) << CheckResultText(checker.Result());
            }
            if (checker.Result() != Result::kDisagrees)
                continue;
            std::string repaired;
            ASSERT_TRUE(checker.Repair(dir.Path(), &repaired));
            EXPECT_EQ(CDBFFile(fs, repaired).Result(), Result::kAgrees);
            table::RecordFile reopened(fs);
            ASSERT_TRUE(reopened.Open(repaired, table::RecordFile::Mode::kRead))
                << table::DbfErrorText(reopened.LastError());
            EXPECT_EQ(reopened.RecordCount(), checker.ComputedRecordCount());
            ++repairedCount;
        }
    }
    EXPECT_GE(repairedCount, 5);
}

} // namespace
