#include "table/record_file.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using table::DbfError;
using table::RecordFile;
using testing_support::TableBuilder;
using testing_support::TempDir;

class RecordFileTest : public ::testing::Test
{
protected:
    std::string Write(const TableBuilder& b) { return WriteBytes(b.Bytes()); }
    std::string WriteBytes(const std::vector<std::uint8_t>& bytes)
    {
        testing_support::WriteAllBytes(path, bytes);
        return path;
    }
    // Opens for reading and writing; the expected error when the open must fail.
    DbfError OpenError(const std::vector<std::uint8_t>& bytes)
    {
        WriteBytes(bytes);
        RecordFile file(platform::FileSystem::Default());
        EXPECT_FALSE(file.Open(path, RecordFile::Mode::kReadWrite));
        EXPECT_FALSE(file.IsOpen());
        return file.LastError();
    }
    static std::string RecordText(const RecordFile& file)
    {
        return std::string(reinterpret_cast<const char*>(file.Record()), file.RecordLength());
    }

    TempDir dir;
    std::string path = dir.File("t.dbf");
    RecordFile file { platform::FileSystem::Default() };
};

TableBuilder ThreeRecords()
{
    TableBuilder b;
    b.Field("NAME", 'C', 5).Field("QTY", 'N', 3).Record("alpha  1").Record("beta   2", true)
        .Record("gamma  3");
    return b;
}

TEST_F(RecordFileTest, OpensAndLaysOutFields)
{
    TableBuilder b;
    b.Field("NOTE", 'C', 0x2C, 0x01).Field("N", 'N', 8, 2).Field("D", 'D', 8);
    ASSERT_TRUE(file.Open(Write(b), RecordFile::Mode::kRead)) << table::DbfErrorText(file.LastError());
    EXPECT_EQ(file.RecordCount(), 0u);
    EXPECT_EQ(file.RecordLength(), 1 + 300 + 8 + 8);
    ASSERT_EQ(file.Fields().size(), 3u);
    EXPECT_EQ(file.Fields()[0].offset, 1u);
    EXPECT_EQ(file.Fields()[0].width, 300u);
    EXPECT_EQ(file.Fields()[1].offset, 301u);
    EXPECT_EQ(file.Fields()[2].offset, 309u);
    EXPECT_FALSE(file.HasMemoFields());
}

TEST_F(RecordFileTest, ReadsRecordsWithTheirFlags)
{
    ASSERT_TRUE(file.Open(Write(ThreeRecords()), RecordFile::Mode::kRead));
    ASSERT_TRUE(file.ReadRecord(2));
    EXPECT_EQ(RecordText(file), "*beta   2");
    EXPECT_EQ(file.CurrentRecord(), 2u);
    ASSERT_TRUE(file.ReadRecord(3));
    EXPECT_EQ(RecordText(file), " gamma  3");
    ASSERT_TRUE(file.ReadRecord(1));
    EXPECT_EQ(RecordText(file), " alpha  1");
}

TEST_F(RecordFileTest, RecordNumbersOutsideTheTableFail)
{
    ASSERT_TRUE(file.Open(Write(ThreeRecords()), RecordFile::Mode::kRead));
    ASSERT_TRUE(file.ReadRecord(1));
    EXPECT_FALSE(file.ReadRecord(0));
    EXPECT_EQ(file.LastError(), DbfError::kNoSuchRecord);
    EXPECT_EQ(file.CurrentRecord(), 0u);
    EXPECT_EQ(RecordText(file), std::string(9, ' ')); // a failed read leaves a blank buffer
    EXPECT_FALSE(file.ReadRecord(4));
    EXPECT_EQ(file.LastError(), DbfError::kNoSuchRecord);
}

TEST_F(RecordFileTest, PaddedHeaderPutsFirstRecordAtStoredLength)
{
    TableBuilder b = ThreeRecords();
    b.HeaderPad(1);
    ASSERT_TRUE(file.Open(Write(b), RecordFile::Mode::kRead));
    EXPECT_EQ(file.HeaderLength(), 32 * 2 + 34);
    EXPECT_EQ(file.Fields().size(), 2u);
    ASSERT_TRUE(file.ReadRecord(1));
    EXPECT_EQ(RecordText(file), " alpha  1");
}

TEST_F(RecordFileTest, VersionsOpenOrAreRefused)
{
    for (std::uint8_t version : { 0x03, 0x83, 0x04, 0x8B, 0xF5 }) {
        TableBuilder b = ThreeRecords();
        b.Version(version);
        EXPECT_TRUE(file.Open(Write(b), RecordFile::Mode::kRead)) << int(version);
        EXPECT_EQ(file.Version(), version);
    }
    for (std::uint8_t version : { 0x30, 0x31, 0x8C, 0x02, 0x00 }) {
        TableBuilder b = ThreeRecords();
        b.Version(version);
        EXPECT_EQ(OpenError(b.Bytes()), DbfError::kUnknownVersion) << int(version);
    }
}

TEST_F(RecordFileTest, DamagedHeadersFailCleanly)
{
    EXPECT_EQ(OpenError({}), DbfError::kTooShort);
    EXPECT_EQ(OpenError({ 0x03, 1, 2, 3, 0, 0 }), DbfError::kTooShort);
    {
        TableBuilder b = ThreeRecords();
        b.HeaderLength(32); // below the smallest header
        EXPECT_EQ(OpenError(b.Bytes()), DbfError::kHeaderTooShort);
    }
    {
        auto bytes = ThreeRecords().Bytes();
        bytes.resize(32 + 40); // the descriptor area is cut by the end of the file
        EXPECT_EQ(OpenError(bytes), DbfError::kDescriptorsCut);
    }
    {
        TableBuilder b = ThreeRecords();
        b.HeaderLength(0xFFFF); // 2046 descriptors claimed; the file is far shorter
        EXPECT_EQ(OpenError(b.Bytes()), DbfError::kDescriptorsCut);
    }
    {
        auto bytes = ThreeRecords().Bytes();
        bytes.resize(32 + 64 + 1); // descriptors whole, header length exactly the file
        EXPECT_TRUE(file.Open(WriteBytes(bytes), RecordFile::Mode::kRead));
        bytes.resize(32 + 64);     // the terminator is gone: header length past the end
        EXPECT_EQ(OpenError(bytes), DbfError::kHeaderPastEnd);
    }
    {
        TableBuilder b = ThreeRecords();
        b.RecordLength(0);
        EXPECT_EQ(OpenError(b.Bytes()), DbfError::kZeroRecordLength);
    }
    {
        TableBuilder b = ThreeRecords();
        b.RecordLength(8); // the fields need 9 bytes
        EXPECT_EQ(OpenError(b.Bytes()), DbfError::kFieldsExceedRecord);
    }
}

TEST_F(RecordFileTest, LaterFormatWithWideDescriptorsIsRefused)
{
    // Version 4 with 48-byte descriptors from offset 68: header length 68 + 48 + 1.
    std::vector<std::uint8_t> bytes(117 + 9 + 1, 0);
    bytes[0] = 0x04;
    bytes[4] = 1;
    bytes[8] = 117;
    bytes[10] = 9;
    std::memcpy(bytes.data() + 68, "TS", 2);
    bytes[68 + 32] = '@';
    bytes[68 + 33] = 8;
    bytes[116] = 0x0D;
    EXPECT_EQ(OpenError(bytes), DbfError::kUnsupportedLayout);
}

TEST_F(RecordFileTest, RecordCountBeyondTheFileFailsOnlyThoseRecords)
{
    TableBuilder b = ThreeRecords();
    b.RecordCount(0xFFFFFFFF); // nothing may be sized from this
    ASSERT_TRUE(file.Open(Write(b), RecordFile::Mode::kRead));
    EXPECT_EQ(file.RecordsInFile(), 3u);
    ASSERT_TRUE(file.ReadRecord(3));
    EXPECT_EQ(RecordText(file), " gamma  3");
    EXPECT_FALSE(file.ReadRecord(4));
    EXPECT_EQ(file.LastError(), DbfError::kRecordBeyondFile);
    EXPECT_FALSE(file.ReadRecord(0xFFFFFFFF));
    EXPECT_EQ(file.LastError(), DbfError::kRecordBeyondFile);

    auto bytes = ThreeRecords().Bytes();
    bytes.resize(bytes.size() - 4); // the last record is cut short
    ASSERT_TRUE(file.Open(WriteBytes(bytes), RecordFile::Mode::kRead));
    EXPECT_TRUE(file.ReadRecord(2));
    EXPECT_FALSE(file.ReadRecord(3));
    EXPECT_EQ(file.LastError(), DbfError::kRecordBeyondFile);
}

TEST_F(RecordFileTest, AppendPutsRecordWhereEndByteWasAndUpdatesHeader)
{
    TableBuilder b;
    b.Field("NAME", 'C', 4).Date(1, 1, 1);
    ASSERT_TRUE(file.Open(Write(b), RecordFile::Mode::kReadWrite));
    const std::uint64_t endByteAt = file.HeaderLength();
    file.ClearRecord();
    std::memcpy(file.MutableRecord() + 1, "abcd", 4);
    ASSERT_TRUE(file.AppendRecord());
    EXPECT_EQ(file.CurrentRecord(), 1u);
    file.Close();

    const auto bytes = testing_support::ReadAllBytes(path);
    ASSERT_EQ(bytes.size(), endByteAt + 5 + 1);
    EXPECT_EQ(std::string(bytes.begin() + endByteAt, bytes.begin() + endByteAt + 5), " abcd");
    EXPECT_EQ(bytes.back(), 0x1A);
    EXPECT_EQ(bytes[4], 1);
    const platform::CalendarDate today = platform::Today();
    EXPECT_EQ(bytes[1], today.year % 100);
    EXPECT_EQ(bytes[2], today.month);
    EXPECT_EQ(bytes[3], today.day);
}

TEST_F(RecordFileTest, RewriteChangesOnlyTheRecordAndIsSeenByLaterReads)
{
    ASSERT_TRUE(file.Open(Write(ThreeRecords()), RecordFile::Mode::kReadWrite));
    const auto before = testing_support::ReadAllBytes(path);
    ASSERT_TRUE(file.ReadRecord(1)); // the window now holds all three records
    ASSERT_TRUE(file.ReadRecord(2));
    file.MutableRecord()[0] = ' ';
    ASSERT_TRUE(file.WriteRecord(2));
    ASSERT_TRUE(file.ReadRecord(1));
    ASSERT_TRUE(file.ReadRecord(2));
    EXPECT_EQ(RecordText(file), " beta   2");

    const auto after = testing_support::ReadAllBytes(path);
    ASSERT_EQ(before.size(), after.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < before.size(); ++i)
        differing += before[i] != after[i];
    EXPECT_EQ(differing, 1u); // the flag of record 2; the header date untouched
}

// Another program cuts the file short while it is open: the records it no longer holds are
// neither written (that would fill the gap with bytes no one wrote) nor read from what was
// read ahead once the read-ahead is forgotten.
TEST_F(RecordFileTest, RecordsCutAwayByAnotherProgramAreNotWrittenOrReadAgain)
{
    ASSERT_TRUE(file.Open(Write(ThreeRecords()), RecordFile::Mode::kReadWrite));
    ASSERT_TRUE(file.ReadRecord(3));
    auto bytes = ThreeRecords().Bytes();
    bytes.resize(ThreeRecords().TrueHeaderLength() + ThreeRecords().TrueRecordLength());
    WriteBytes(bytes);

    EXPECT_FALSE(file.WriteRecord(3));
    EXPECT_EQ(file.LastError(), DbfError::kRecordBeyondFile);
    EXPECT_EQ(testing_support::ReadAllBytes(path), bytes);
    file.ForgetReadAhead();
    EXPECT_FALSE(file.ReadRecord(2));
    ASSERT_TRUE(file.ReadRecord(1));
    EXPECT_EQ(RecordText(file), " alpha  1");
}

TEST_F(RecordFileTest, ReadOnlyFileRefusesWrites)
{
    ASSERT_TRUE(file.Open(Write(ThreeRecords()), RecordFile::Mode::kRead));
    ASSERT_TRUE(file.ReadRecord(1));
    EXPECT_FALSE(file.WriteRecord(1));
    EXPECT_EQ(file.LastError(), DbfError::kReadOnly);
    EXPECT_FALSE(file.AppendRecord());
    EXPECT_EQ(file.LastError(), DbfError::kReadOnly);
}

TEST_F(RecordFileTest, FailedAppendLeavesTheRecordCount)
{
    testing_support::FaultyFileSystem faulty;
    Write(ThreeRecords());
    RecordFile f(faulty);
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::kReadWrite));
    faulty.failWriteFrom = faulty.writes + 1;
    EXPECT_FALSE(f.AppendRecord());
    EXPECT_EQ(f.LastError(), DbfError::kWriteFailed);
    EXPECT_EQ(f.RecordCount(), 3u);
    f.Close();
    EXPECT_EQ(testing_support::ReadAllBytes(path), ThreeRecords().Bytes());
}

TEST_F(RecordFileTest, DeletionFlagsChangeOnlyTheFlagsAskedFor)
{
    ASSERT_TRUE(file.Open(Write(ThreeRecords()), RecordFile::Mode::kReadWrite));
    ASSERT_TRUE(file.ReadRecord(2));
    file.MutableRecord()[1] = 'B'; // a change of the buffer that is not written
    const std::uint8_t flags[] = { 0, ' ', '*' };
    ASSERT_TRUE(file.WriteDeletionFlags(1, flags, 3));
    // The current record shows its new flag and keeps the unwritten change.
    EXPECT_EQ(RecordText(file), " Beta   2");

    auto expected = ThreeRecords().Bytes();
    const std::size_t first = ThreeRecords().TrueHeaderLength();
    const std::size_t length = ThreeRecords().TrueRecordLength();
    expected[first + length] = ' ';
    expected[first + 2 * length] = '*';
    EXPECT_EQ(testing_support::ReadAllBytes(path), expected);
    ASSERT_TRUE(file.ReadRecord(3));
    EXPECT_EQ(RecordText(file), "*gamma  3");
}

TEST_F(RecordFileTest, DeletionFlagsKeepWhatAnotherHandleWroteMeanwhile)
{
    ASSERT_TRUE(file.Open(Write(ThreeRecords()), RecordFile::Mode::kReadWrite));
    ASSERT_TRUE(file.ReadRecord(1)); // the window now holds all three records
    RecordFile other(platform::FileSystem::Default());
    ASSERT_TRUE(other.Open(path, RecordFile::Mode::kReadWrite));
    ASSERT_TRUE(other.ReadRecord(2));
    other.MutableRecord()[1] = 'B';
    ASSERT_TRUE(other.WriteRecord(2));

    const std::uint8_t flags[] = { '*', 0, '*' };
    ASSERT_TRUE(file.WriteDeletionFlags(1, flags, 3));
    const auto bytes = testing_support::ReadAllBytes(path);
    const std::size_t second
        = ThreeRecords().TrueHeaderLength() + ThreeRecords().TrueRecordLength();
    EXPECT_EQ(std::string(bytes.begin() + second, bytes.begin() + second + 9), "*Beta   2");
}

TEST_F(RecordFileTest, DeletionFlagsAreWrittenAWindowAtATime)
{
    TableBuilder b;
    b.Field("N", 'N', 7);
    const std::uint32_t records = 50000; // 8-byte records: several windows
    for (std::uint32_t k = 1; k <= records; ++k) {
        const std::string text = std::to_string(k);
        b.Record(std::string(7 - text.size(), ' ') + text);
    }
    Write(b);
    testing_support::FaultyFileSystem counting;
    RecordFile f(counting);
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::kReadWrite));
    // Every record marked but every tenth, which lies between marked ones and stays as it is.
    std::vector<std::uint8_t> flags(records, '*');
    auto expected = b.Bytes();
    for (std::uint32_t k = 1; k <= records; ++k) {
        if (k % 10 == 0)
            flags[k - 1] = 0;
        else
            expected[b.TrueHeaderLength() + std::size_t { k - 1 } * 8] = '*';
    }
    const int writesBefore = counting.writes;
    ASSERT_TRUE(f.WriteDeletionFlags(1, flags.data(), records));
    const int perWindow = static_cast<int>(RecordFile::kWindowBytes / 8);
    EXPECT_EQ(counting.writes - writesBefore,
              (static_cast<int>(records) + perWindow - 1) / perWindow);
    f.Close();
    EXPECT_EQ(testing_support::ReadAllBytes(path), expected);
}

TEST_F(RecordFileTest, DeletionFlagsOfRecordsNotThereFail)
{
    const std::uint8_t flags[] = { '*', '*', '*' };
    ASSERT_TRUE(file.Open(Write(ThreeRecords()), RecordFile::Mode::kReadWrite));
    EXPECT_FALSE(file.WriteDeletionFlags(0, flags, 2));
    EXPECT_EQ(file.LastError(), DbfError::kNoSuchRecord);
    EXPECT_FALSE(file.WriteDeletionFlags(3, flags, 2));
    EXPECT_EQ(file.LastError(), DbfError::kNoSuchRecord);
    ASSERT_TRUE(file.Open(path, RecordFile::Mode::kRead));
    EXPECT_FALSE(file.WriteDeletionFlags(1, flags, 3));
    EXPECT_EQ(file.LastError(), DbfError::kReadOnly);
    EXPECT_EQ(testing_support::ReadAllBytes(path), ThreeRecords().Bytes());

    // The header counts five records, the file holds three: those it holds are written.
    TableBuilder b = ThreeRecords();
    b.RecordCount(5);
    ASSERT_TRUE(file.Open(Write(b), RecordFile::Mode::kReadWrite));
    EXPECT_FALSE(file.WriteDeletionFlags(2, flags, 3));
    EXPECT_EQ(file.LastError(), DbfError::kRecordBeyondFile);
    auto expected = b.Bytes();
    expected[b.TrueHeaderLength() + 2 * b.TrueRecordLength()] = '*';
    EXPECT_EQ(testing_support::ReadAllBytes(path), expected);
}

TEST_F(RecordFileTest, AFailedFlagWriteIsNotSeenByLaterReads)
{
    testing_support::FaultyFileSystem faulty;
    Write(ThreeRecords());
    RecordFile f(faulty);
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::kReadWrite));
    ASSERT_TRUE(f.ReadRecord(1));
    faulty.failWriteFrom = faulty.writes + 1;
    const std::uint8_t flags[] = { '*', '*', '*' };
    EXPECT_FALSE(f.WriteDeletionFlags(1, flags, 3));
    EXPECT_EQ(f.LastError(), DbfError::kWriteFailed);
    EXPECT_EQ(RecordText(f), " alpha  1");
    ASSERT_TRUE(f.ReadRecord(3));
    EXPECT_EQ(RecordText(f), " gamma  3");
    EXPECT_EQ(testing_support::ReadAllBytes(path), ThreeRecords().Bytes());
}

TEST_F(RecordFileTest, ScansReadWholeWindowsWithOneCall)
{
    TableBuilder b;
    b.Field("N", 'N', 7);
    const int records = 50000; // 8-byte records: several windows
    for (int i = 1; i <= records; ++i) {
        std::string text = std::to_string(i);
        b.Record(std::string(7 - text.size(), ' ') + text);
    }
    Write(b);
    testing_support::FaultyFileSystem counting;
    RecordFile f(counting);
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::kRead));
    const int readsAtOpen = counting.reads;
    for (std::uint32_t k = 1; k <= records; ++k) {
        ASSERT_TRUE(f.ReadRecord(k));
        ASSERT_EQ(std::stoi(RecordText(f).substr(1)), static_cast<int>(k));
    }
    const int perWindow = static_cast<int>(RecordFile::kWindowBytes / 8);
    EXPECT_EQ(counting.reads - readsAtOpen, (records + perWindow - 1) / perWindow);

    // Backward: the window ends at the record asked for, so it is as cheap.
    const int readsForward = counting.reads;
    for (std::uint32_t k = records; k >= 1; --k)
        ASSERT_TRUE(f.ReadRecord(k));
    EXPECT_LE(counting.reads - readsForward, (records + perWindow - 1) / perWindow + 1);

    // At random: one read each.
    const int readsBefore = counting.reads;
    for (std::uint32_t k : { 40000u, 7u, 25000u })
        ASSERT_TRUE(f.ReadRecord(k));
    EXPECT_EQ(counting.reads - readsBefore, 3);

    const std::uint8_t* run = nullptr;
    std::uint32_t count = 0;
    ASSERT_TRUE(f.ReadRun(records - 1, &run, &count));
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(run) + 8, 8), "   50000");
}

TEST_F(RecordFileTest, ReadErrorsAreReported)
{
    testing_support::FaultyFileSystem faulty;
    Write(ThreeRecords());
    RecordFile f(faulty);
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::kRead));
    faulty.failReadFrom = faulty.reads + 1;
    EXPECT_FALSE(f.ReadRecord(1));
    EXPECT_EQ(f.LastError(), DbfError::kReadFailed);
    EXPECT_NE(f.LastSystemError(), 0);
}

TEST_F(RecordFileTest, OffsetsBeyondFourGigabytesAreAddressed)
{
    // A sparse file: 70,000 records of 65,535 bytes put record 70,000 past 4 GB.
    TableBuilder b;
    b.Field("A", 'C', 0xFE, 0xFF); // 65,534 bytes
    auto bytes = b.Bytes();
    bytes.pop_back();
    bytes[4] = 0x70; // 70,000 records
    bytes[5] = 0x11;
    bytes[6] = 0x01;
    WriteBytes(bytes);
    const std::uint64_t last = bytes.size() + std::uint64_t { 69999 } * 65535;
    {
        auto raw = platform::FileSystem::Default().Open(path, platform::OpenMode::kReadWrite, nullptr);
        ASSERT_TRUE(raw);
        ASSERT_TRUE(raw->WriteAt(last, " far", 4));
        ASSERT_TRUE(raw->Truncate(last + 65535));
    }
    ASSERT_TRUE(file.Open(path, RecordFile::Mode::kRead));
    EXPECT_GT(file.FileLength(), std::uint64_t { 1 } << 32);
    ASSERT_TRUE(file.ReadRecord(70000));
    EXPECT_EQ(RecordText(file).substr(0, 4), " far");
}

} // namespace
