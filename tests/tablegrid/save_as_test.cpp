// Save As below the window: the field texts, the text export, the new tables and the files
// they replace.

#include "tablegrid/operations/csv_line.h"
#include "tablegrid/operations/delimited_line.h"
#include "tablegrid/operations/field_text.h"
#include "tablegrid/operations/record_copy.h"
#include "tablegrid/operations/table_saver.h"
#include "tablegrid/operations/text_export.h"

#include "platform/file_system.h"
#include "table/memo_file.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <sys/stat.h>

namespace tablegrid {
namespace {

using testing_support::ReadAllBytes;
using testing_support::TableBuilder;

std::string ReadText(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = ReadAllBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

table::FieldLayout Layout(char type, std::uint8_t length, std::uint8_t decimals = 0)
{
    table::FieldLayout field;
    field.def = { "F", type, length, decimals };
    field.offset = 0;
    field.width = field.def.StorageWidth();
    return field;
}

// One field copied into a new record as a save copies it, through a record copy of one field.
void CopyOneField(const table::FieldLayout& field, const std::uint8_t* from, std::uint8_t* to)
{
    std::vector<std::uint8_t> source(field.offset + field.width);
    std::copy_n(from, field.width, source.begin() + field.offset);
    std::vector<std::uint8_t> target(1 + field.width);
    std::copy_n(to, field.width, target.begin() + 1);
    RecordCopy({ &field }).Copy(source.data(), target.data());
    std::copy_n(target.begin() + 1, field.width, to);
}

// The fast paths must agree with the value route for every byte sequence: random bytes
// drawn from what number, date and logical fields hold, good and bad.
TEST(FieldTextTest, FastPathsAgreeWithTheValueForAnyBytes)
{
    std::mt19937 random(7);
    const std::string alphabet = "0123456789  -.+?TFYNtfynx\xE0\x8E";
    // Character text of every width the conversion from 866 takes apart (by byte, by eight
    // bytes, by sixteen with the overlapping end), letters mostly, with pseudographics and
    // the letter yo now and then.
    const std::string letters = "ab \x80\x9F\xA0\xAF\xE0\xEF\x81\xA5\xE3";
    const std::string rare = "\xB0\xDF\xF0\xF1\xFF\x7F\x01";
    const table::FieldLayout fields[] = { Layout('N', 7, 2), Layout('N', 5), Layout('F', 9, 3),
        Layout('N', 20, 4), Layout('D', 8), Layout('L', 1), Layout('C', 6), Layout('N', 3, 2),
        Layout('C', 8), Layout('C', 15), Layout('C', 16), Layout('C', 17), Layout('C', 45) };
    std::string fast;
    std::string slow;
    for (const table::FieldLayout& field : fields) {
        for (int n = 0; n < 4000; ++n) {
            std::vector<std::uint8_t> bytes(field.width);
            for (auto& b : bytes) {
                const std::string& from = field.def.type != 'C' ? alphabet
                    : random() % 40 == 0                       ? rare
                                                               : letters;
                b = static_cast<std::uint8_t>(from[random() % from.size()]);
            }
            // Plausible stored forms as well as noise.
            if (n % 3 == 0 && field.def.type != 'C') {
                std::string good = field.def.type == 'D'
                    ? "2024" + std::to_string(10 + random() % 3) + std::to_string(10 + random() % 25)
                    : std::to_string(random() % 100000);
                // Numbers of every length with their decimals, some with a minus or a
                // leading zero.
                if (field.def.type != 'D' && n % 2 == 0) {
                    good = std::to_string(random() % 1000000000000ull).substr(0, 1 + random() % 12);
                    if (field.def.decimals > 0)
                        good += "." + std::string(field.def.decimals, static_cast<char>('0' + random() % 10));
                    if (random() % 5 == 0)
                        good.insert(0, random() % 2 ? "-" : "0");
                }
                std::fill(bytes.begin(), bytes.end(), ' ');
                std::copy_n(good.begin(), std::min(good.size(), bytes.size()),
                    bytes.end() - static_cast<long>(std::min(good.size(), bytes.size())));
            }
            for (int form = 0; form <= 4; ++form) {
                const auto date = static_cast<table::DateFormat>(form);
                fast.clear();
                slow.clear();
                const bool a = AppendFieldText(field, bytes.data(), date, form % 2 == 1, fast);
                const bool b = AppendFieldTextByValue(field, bytes.data(), date, form % 2 == 1, slow);
                ASSERT_EQ(a, b) << field.def.type << " '" << std::string(bytes.begin(), bytes.end()) << "'";
                ASSERT_EQ(fast, slow) << field.def.type << " '" << std::string(bytes.begin(), bytes.end()) << "'";
            }
            std::vector<std::uint8_t> x(field.width);
            std::vector<std::uint8_t> y(field.width);
            CopyOneField(field, bytes.data(), x.data());
            CopyFieldValueByValue(field, bytes.data(), y.data());
            ASSERT_EQ(x, y) << field.def.type << " '" << std::string(bytes.begin(), bytes.end()) << "'";
        }
    }
}

// Fields laid out one after another from byte `first` of a record, and pointers to them.
struct LaidOutFields
{
    LaidOutFields(std::vector<table::FieldLayout> all, std::uint32_t first)
        : fields(std::move(all))
        , end(first)
    {
        for (auto& field : fields) {
            field.offset = end;
            end += field.width;
        }
        for (const auto& field : fields)
            pointers.push_back(&field);
    }
    LaidOutFields(const LaidOutFields&) = delete;

    std::vector<table::FieldLayout> fields;
    std::vector<const table::FieldLayout*> pointers;
    std::uint32_t end; // the byte after the last field
};

// The export's one-pass line is the line made field by field through the values, for
// records of random bytes, under delimiters of every length (none, one byte, past sixteen).
TEST(FieldTextTest, DelimitedLineIsTheLineMadeFieldByField)
{
    std::mt19937 random(11);
    const LaidOutFields laid({ Layout('C', 20), Layout('N', 7, 2), Layout('D', 8), Layout('L', 1),
                                 Layout('M', 10), Layout('C', 3), Layout('N', 4) },
        0);
    const auto& fields = laid.fields;
    const auto& layouts = laid.pointers;
    const std::uint32_t offset = laid.end;
    const std::string pieces[] = { "0123456789", "  ", "\x80\xA0\xE5\xB3", "-.", "TFY?" };
    const TextExportFormat formats[] = { {}, { "", "", "" }, { "<", ">", "|" },
        { std::string(20, '['), std::string(17, ']'), ";;" } };
    int made = 0;
    for (const TextExportFormat& format : formats) {
        for (const bool oem : { false, true }) {
            const auto date = static_cast<table::DateFormat>(random() % 5);
            const DelimitedLine line(layouts, format, date, oem);
            for (int n = 0; n < 3000; ++n) {
                std::vector<std::uint8_t> record(offset, ' ');
                for (const auto& field : fields) {
                    const std::string& from = pieces[random() % 5];
                    // Often a well-formed value, so that most records get the one-pass line.
                    std::string good = field.def.type == 'D' ? "2023" + std::to_string(10 + random() % 3)
                            + std::to_string(10 + random() % 19)
                                                             : std::to_string(random() % 100);
                    if (field.def.type == 'N' && field.def.decimals > 0)
                        good += ".25";
                    if (random() % 4 != 0 && good.size() <= field.width) {
                        std::copy(good.begin(), good.end(),
                            record.begin() + field.offset + field.width - good.size());
                    } else {
                        for (std::uint32_t i = 0; i < field.width; ++i)
                            record[field.offset + i] = static_cast<std::uint8_t>(from[random() % from.size()]);
                    }
                }
                std::string expected;
                bool first = true;
                for (const auto& field : fields) {
                    std::string text;
                    if (!AppendFieldTextByValue(field, record.data() + field.offset, date, oem, text))
                        continue;
                    expected += (first ? "" : format.separator) + format.leftDelimiter + text
                        + format.rightDelimiter;
                    first = false;
                }
                expected += "\r\n";
                std::vector<char> out(line.Room());
                if (char* end = line.Put(record.data(), out.data())) {
                    ASSERT_EQ(std::string(out.data(), end), expected);
                    ++made;
                }
            }
        }
    }
    EXPECT_GT(made, 2000);
}

// The CSV line made in one pass is the line made through the values, for records of random
// bytes (quotes, line ends, blanks of every kind, Cyrillic) under separators that quote
// numbers and dates too.
TEST(FieldTextTest, CsvLineIsTheLineMadeThroughTheValues)
{
    std::mt19937 random(3);
    const LaidOutFields laid({ Layout('C', 12), Layout('N', 7, 2), Layout('D', 8), Layout('L', 1),
                                 Layout('C', 2), Layout('N', 4) },
        1);
    const auto& fields = laid.fields;
    const auto& layouts = laid.pointers;
    const std::uint32_t offset = laid.end;
    const std::string text = "ab  \"\r\n\t,;.\x80\xA0\xE5\xF0\xB3\xC0\xFF";
    const std::string values = "0123456789 -.TFYNtfn?";
    int made = 0;
    for (const std::string separator : { ",", ";", ".", "-", "\t", "\xC0" }) {
        for (const bool oem : { false, true }) {
            const CsvLine line(layouts, separator, oem);
            for (int n = 0; n < 2000; ++n) {
                std::vector<std::uint8_t> record(offset, ' ');
                for (const auto& field : fields) {
                    const std::string& from = field.def.type == 'C' ? text : values;
                    for (std::uint32_t i = 0; i < field.width; ++i) {
                        if (random() % 3 != 0)
                            record[field.offset + i] = static_cast<std::uint8_t>(from[random() % from.size()]);
                    }
                }
                if (n % 2 == 0) {
                    std::memcpy(record.data() + fields[1].offset, "  -1.25", 7);
                    std::memcpy(record.data() + fields[2].offset, n % 4 ? "20240229" : "        ", 8);
                    std::memcpy(record.data() + fields[5].offset, "  17", 4);
                }
                std::string expected;
                ASSERT_TRUE(AppendCsvLineByValue(layouts, separator, oem, record.data(), nullptr, expected));
                std::vector<char> out(line.Room());
                if (char* end = line.Put(record.data(), out.data())) {
                    ASSERT_EQ(std::string(out.data(), end), expected)
                        << std::string(record.begin(), record.end());
                    ++made;
                }
            }
        }
    }
    EXPECT_GT(made, 5000);
    // A separator of two bytes leaves every line to the value route.
    const CsvLine two(layouts, "||", false);
    std::vector<std::uint8_t> record(offset, ' ');
    std::vector<char> out(two.Room());
    EXPECT_EQ(two.Put(record.data(), out.data()), nullptr);
}

// A new table's record copied in one pass is the record copied field by field, for fields
// in the source's order (character fields then taken as one piece) and out of it.
TEST(FieldTextTest, RecordCopyIsTheCopyFieldByField)
{
    std::mt19937 random(5);
    const LaidOutFields laid({ Layout('C', 5), Layout('C', 9), Layout('N', 6, 2), Layout('D', 8),
                                 Layout('C', 3), Layout('L', 1), Layout('F', 8, 1), Layout('N', 3),
                                 Layout('M', 10) },
        1);
    const auto& fields = laid.fields;
    const std::uint32_t offset = laid.end;
    const std::string alphabet = "0123456789  -.TFY?\x80" "a";
    // A memo field is the caller's: it parts fields that lie together in the source.
    const std::vector<std::vector<int>> orders = { { 0, 1, 2, 3, 4, 5, 6, 7 }, { 1, 0, 4, 7, 3 },
        { 4, 5, 0, 1 }, { 0, 8, 1 } };
    for (const auto& order : orders) {
        std::vector<const table::FieldLayout*> from;
        std::uint32_t length = 1;
        for (const int i : order) {
            from.push_back(&fields[static_cast<std::size_t>(i)]);
            length += from.back()->width;
        }
        const RecordCopy copy(from);
        for (int n = 0; n < 3000; ++n) {
            std::vector<std::uint8_t> source(offset);
            for (auto& b : source)
                b = static_cast<std::uint8_t>(alphabet[random() % alphabet.size()]);
            if (n % 2 == 0) {
                std::memcpy(source.data() + fields[2].offset, "  1.25", 6);
                std::memcpy(source.data() + fields[3].offset, "20240131", 8);
                source[fields[5].offset] = 'T';
            }
            std::vector<std::uint8_t> fast(length, '#');
            std::vector<std::uint8_t> slow(length, '#');
            copy.Copy(source.data(), fast.data());
            std::uint32_t at = 1;
            for (const table::FieldLayout* field : from) {
                if (!field->def.IsMemoType())
                    CopyFieldValueByValue(*field, source.data() + field->offset, slow.data() + at);
                at += field->width;
            }
            ASSERT_EQ(fast, slow) << std::string(source.begin(), source.end());
        }
    }
}

TEST(FieldTextTest, TextFormsAndCopiedValues)
{
    auto text = [](const table::FieldLayout& field, const std::string& stored, int form = 4) {
        std::string out;
        const bool ok = AppendFieldText(field, reinterpret_cast<const std::uint8_t*>(stored.data()),
            static_cast<table::DateFormat>(form), false, out);
        return ok ? out : std::string("<none>");
    };
    EXPECT_EQ(text(Layout('N', 8, 2), "0012.5  "), "   12.50");
    EXPECT_EQ(text(Layout('N', 6, 2), "      "), "  0.00");
    EXPECT_EQ(text(Layout('D', 8), "20240229", 1), "02/29/24");
    EXPECT_EQ(text(Layout('D', 8), "        "), "");       // a blank date is an empty text
    EXPECT_EQ(text(Layout('D', 8), "2024XX01"), "<none>"); // a bad one is left out
    EXPECT_EQ(text(Layout('L', 1), "y"), "T");
    EXPECT_EQ(text(Layout('L', 1), "?"), "F");

    auto copied = [](const table::FieldLayout& field, const std::string& stored) {
        std::string out(field.width, '#');
        CopyOneField(field, reinterpret_cast<const std::uint8_t*>(stored.data()),
            reinterpret_cast<std::uint8_t*>(out.data()));
        return out;
    };
    EXPECT_EQ(copied(Layout('N', 7, 2), "0012.5 "), "  12.50");
    EXPECT_EQ(copied(Layout('N', 7, 2), "       "), "       "); // blank stays blank, not 0.00
    EXPECT_EQ(copied(Layout('L', 1), "y"), "T");
    EXPECT_EQ(copied(Layout('L', 1), "?"), "?"); // unknown stays unknown
    EXPECT_EQ(copied(Layout('D', 8), "2024XX01"), "        ");
    EXPECT_EQ(copied(Layout('D', 8), "00500101"), "20500101"); // two-digit years widen
}

// A table in a fresh directory: NAME C8, SUM N7.2, DT D8, OK L1 and optionally NOTE M10
// with memo texts; record 2 is marked deleted.
class SaveAsTest : public ::testing::Test
{
protected:
    void Make(bool memo, std::uint8_t codePageByte = 0)
    {
        TableBuilder b;
        b.CodePageByte(codePageByte);
        b.Field("NAME", 'C', 8).Field("SUM", 'N', 7, 2).Field("DT", 'D', 8).Field("OK", 'L', 1);
        std::string notes[3] = { "", "", "" };
        if (memo) {
            b.Version(0x83).Field("NOTE", 'M', 10);
            table::MemoFile file(platform::FileSystem::Default());
            ASSERT_TRUE(file.Create(dir.File("t.dbt"), table::MemoForm::kDbase3, 512, "t"));
            std::uint32_t block = 0;
            ASSERT_TRUE(file.AppendText("first, \"quoted\"\r\nnote", &block));
            notes[0] = std::string(9, ' ') + std::to_string(block);
            ASSERT_TRUE(file.AppendText("third", &block));
            notes[2] = std::string(9, ' ') + std::to_string(block);
        }
        b.Record(std::string("Ivanov    12.5020240131T") + (memo ? notes[0] : ""));
        b.Record(std::string("Petrov     1.00        ?") + (memo ? "          " : ""), true);
        b.Record(std::string("\xC8\xE2\xE0\xED;x    -3.0019991231F") + (memo ? notes[2] : ""));
        b.Write(dir.File("t.dbf"));
        ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
        ASSERT_TRUE(source.Open(dir.File("t.dbf"), false));
        ASSERT_EQ(source.MemoUnavailable(), false) << int(source.MemoError());
    }

    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    testing_support::TempDir dir;
    table::TableDatabase database { platform::FileSystem::Default() };
    table::CTable source { &database };
};

TEST_F(SaveAsTest, DelimitedTextAsTheProgramWritesIt)
{
    Make(false);
    TextExport::Options options;
    options.format = { "\"", "\"", ";" };
    ASSERT_EQ(TextExport::Write(source, { 0, 1, 2, 3 }, options, dir.File("a.txt"),
                  platform::FileSystem::Default()),
        TextExport::Result::kWritten);
    EXPECT_EQ(ReadText(dir.File("a.txt")),
        "\"Ivanov  \";\"  12.50\";\"31.01.2024\";\"T\"\r\n"
        "\"Petrov  \";\"   1.00\";\"\";\"F\"\r\n"
        "\"\xC8\xE2\xE0\xED;x  \";\"  -3.00\";\"31.12.1999\";\"F\"\r\n");

    // Empty delimiters still part the fields; hidden columns and order follow the list; the
    // table's filter picks the lines; progress counts lines.
    options.format = { "", "", "," };
    options.dateFormat = table::DateFormat::kYyyyMmDd;
    source.SetDeletedFilter(table::CTable::DeletedFilter::kNotDeleted);
    ASSERT_EQ(TextExport::Write(source, { 3, 0 }, options, dir.File("b.txt"),
                  platform::FileSystem::Default()),
        TextExport::Result::kWritten);
    EXPECT_EQ(ReadText(dir.File("b.txt")), "T,Ivanov  \r\nF,\xC8\xE2\xE0\xED;x  \r\n");
    ASSERT_EQ(TextExport::Write(source, {}, options, dir.File("c.txt"), platform::FileSystem::Default()),
        TextExport::Result::kWritten);
    EXPECT_EQ(ReadText(dir.File("c.txt")), "\r\n\r\n"); // no visible column: empty lines
}

TEST_F(SaveAsTest, CsvForOtherPrograms)
{
    Make(true, 0x65); // code page 866: the Cyrillic bytes read as 866 here
    TextExport::Options options;
    options.style = TextExport::Style::kCsv;
    ASSERT_EQ(TextExport::Write(source, { 0, 1, 2, 3, 4 }, options, dir.File("a.csv"),
                  platform::FileSystem::Default()),
        TextExport::Result::kWritten);
    // 0xC8 0xE2 0xE0 0xED in 866 are the box-drawing and letters that 1251 maps; what
    // matters is UTF-8 output, quoting and the forms.
    const std::string csv = ReadText(dir.File("a.csv"));
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")), "NAME,SUM,DT,OK,NOTE");
    EXPECT_NE(csv.find("Ivanov,12.50,2024-01-31,T,\"first, \"\"quoted\"\"\r\nnote\"\r\n"),
        std::string::npos);
    EXPECT_NE(csv.find("Petrov,1.00,,,\r\n"), std::string::npos);
    EXPECT_NE(csv.find(";x,-3.00,1999-12-31,F,third\r\n"), std::string::npos);
}

TEST_F(SaveAsTest, AFailedExportLeavesTheOldFileAndNoPartialOutput)
{
    Make(false);
    testing_support::WriteAllBytes(dir.File("a.txt"), { 'o', 'l', 'd' });
    const auto before = Entries();
    testing_support::FaultyFileSystem faulty;
    faulty.failWriteFrom = 1;
    EXPECT_EQ(TextExport::Write(source, { 0 }, {}, dir.File("a.txt"), faulty),
        TextExport::Result::kWriteFailed);
    EXPECT_EQ(ReadText(dir.File("a.txt")), "old");
    EXPECT_EQ(Entries(), before);
    faulty.failWriteFrom = 0;
    faulty.failRenames = true;
    EXPECT_EQ(TextExport::Write(source, { 0 }, {}, dir.File("a.txt"), faulty),
        TextExport::Result::kWriteFailed);
    EXPECT_EQ(ReadText(dir.File("a.txt")), "old");
    EXPECT_EQ(Entries(), before);
}

// The export and the new table write their blocks while they make the next ones: a write
// failing after the first blocks still fails the save and leaves nothing behind.
TEST_F(SaveAsTest, AWriteFailingPartWayThroughALargeSave)
{
    TableBuilder b;
    b.Field("TEXT", 'C', 250);
    for (int i = 0; i < 40000; ++i)
        b.Record(std::to_string(i)); // 10 MB of text: three blocks
    b.Write(dir.File("big.dbf"));
    ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
    ASSERT_TRUE(source.Open(dir.File("big.dbf"), false));
    testing_support::WriteAllBytes(dir.File("a.txt"), { 'o', 'l', 'd' });
    const auto before = Entries();
    for (const int failing : { 2, 3 }) {
        testing_support::FaultyFileSystem faulty;
        faulty.failWriteFrom = failing;
        EXPECT_EQ(TextExport::Write(source, { 0 }, {}, dir.File("a.txt"), faulty),
            TextExport::Result::kWriteFailed);
        EXPECT_EQ(faulty.writes, failing); // nothing is written after the failure
        EXPECT_EQ(ReadText(dir.File("a.txt")), "old");
        EXPECT_EQ(Entries(), before);
    }
    std::uint64_t lines = 0;
    ASSERT_EQ(TextExport::Write(source, { 0 }, {}, dir.File("a.txt"), platform::FileSystem::Default(),
                  nullptr, &lines),
        TextExport::Result::kWritten);
    EXPECT_EQ(lines, 40000u);
    const std::string text = ReadText(dir.File("a.txt"));
    EXPECT_EQ(text.size(), 40000u * 254);
    EXPECT_EQ(text.substr(254 * 39999, 7), "\"39999 ");

    {
        const int failing = 3;
        testing_support::FaultyFileSystem faulty;
        faulty.failWriteFrom = failing + 2; // after the header's two writes
        TableSaver saver(faulty);
        EXPECT_EQ(saver.Subset(source, { 0 }, true, dir.File("a.txt"), nullptr),
            TableSaver::Result::kWriteFailed);
        EXPECT_EQ(faulty.writes, failing + 2);
        EXPECT_EQ(ReadText(dir.File("a.txt")).size(), 40000u * 254);
        EXPECT_EQ(Entries(), before);
    }
    TableSaver saver(platform::FileSystem::Default());
    ASSERT_EQ(saver.Subset(source, { 0 }, true, dir.File("copy.dbf"), nullptr),
        TableSaver::Result::kSaved);
    ASSERT_TRUE(saver.Commit());
    EXPECT_EQ(ReadAllBytes(dir.File("copy.dbf")).size(), ReadAllBytes(dir.File("big.dbf")).size());
}

// A device or a pipe at the chosen path stays what it is: no save renames a file onto it.
TEST_F(SaveAsTest, NeverReplacesADeviceOrAPipe)
{
    Make(false);
    const std::string pipe = dir.File("pipe.txt");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_EQ(TextExport::Write(source, { 0 }, {}, pipe, platform::FileSystem::Default()),
        TextExport::Result::kCreateFailed);
    TableSaver saver(platform::FileSystem::Default());
    EXPECT_EQ(saver.Copy(source, pipe), TableSaver::Result::kCreateFailed);
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_EQ(Entries(), (std::vector<std::string> { "pipe.txt", "t.dbf" }));
}

TEST_F(SaveAsTest, WholeCopyCarriesTheMemoFileUnderTheNewName)
{
    Make(true);
    TableSaver saver(platform::FileSystem::Default());
    ASSERT_EQ(saver.Copy(source, dir.File("copy.dbf")), TableSaver::Result::kSaved);
    EXPECT_FALSE(std::filesystem::exists(dir.File("copy.dbf"))); // not before Commit
    ASSERT_TRUE(saver.Commit());
    EXPECT_EQ(ReadAllBytes(dir.File("copy.dbf")), ReadAllBytes(dir.File("t.dbf")));
    EXPECT_EQ(ReadAllBytes(dir.File("copy.dbt")), ReadAllBytes(dir.File("t.dbt")));
    EXPECT_EQ(Entries(), (std::vector<std::string> { "copy.dbf", "copy.dbt", "t.dbf", "t.dbt" }));
}

TEST_F(SaveAsTest, SubsetHoldsTheChosenRecordsAndFieldsWithTheirMemoTexts)
{
    Make(true, 0xC9);
    const auto original = ReadAllBytes(dir.File("t.dbf"));
    ASSERT_TRUE(source.SetFilterExpression("SUM > 0", false));
    std::vector<std::pair<std::uint32_t, std::uint32_t>> seen;
    TableSaver saver(platform::FileSystem::Default());
    ASSERT_EQ(saver.Subset(source, { 4, 0 }, false, dir.File("sub.dbf"),
                  [&](std::uint32_t from, std::uint32_t to, std::uint8_t*) { seen.emplace_back(from, to); }),
        TableSaver::Result::kSaved);
    ASSERT_TRUE(saver.Commit());
    EXPECT_EQ(seen, (std::vector<std::pair<std::uint32_t, std::uint32_t>> { { 1, 1 }, { 2, 2 } }));
    EXPECT_EQ(ReadAllBytes(dir.File("t.dbf")), original);

    table::CTable copy(&database);
    ASSERT_TRUE(copy.Open(dir.File("sub.dbf"), false));
    EXPECT_EQ(copy.CodePage(), table::CodePageId::k1251); // the source's mark carried
    ASSERT_EQ(copy.RecordCount(), 2u);
    ASSERT_EQ(copy.FieldCount(), 2);
    EXPECT_EQ(copy.FieldName(0), "NOTE");
    ASSERT_TRUE(copy.GoTo(1));
    std::string memo;
    ASSERT_TRUE(copy.ReadMemoText(0, &memo));
    EXPECT_EQ(memo, "first, \"quoted\"\r\nnote");
    EXPECT_FALSE(copy.IsDeleted());
    ASSERT_TRUE(copy.GoTo(2));
    EXPECT_TRUE(copy.IsDeleted());
    ASSERT_TRUE(copy.ReadMemoText(0, &memo));
    EXPECT_EQ(memo, "");
    EXPECT_EQ(copy.GetValue(1, false).text, "Petrov  ");
}

TEST_F(SaveAsTest, NeverOntoTheSourceOrItsMemoUnderAnySpelling)
{
    Make(true);
    std::filesystem::create_directory(dir.File("sub"));
    std::filesystem::create_symlink(dir.File("t.dbf"), dir.File("link.dbf"));
    EXPECT_TRUE(TableSaver::WouldOverwriteSource(source, dir.File("sub/../t.dbf")));
    EXPECT_TRUE(TableSaver::WouldOverwriteSource(source, dir.File("link.dbf")));
    EXPECT_TRUE(TableSaver::WouldOverwriteSource(source, dir.File("t.dbt")));
    EXPECT_FALSE(TableSaver::WouldOverwriteSource(source, dir.File("u.dbf")));
    TableSaver saver(platform::FileSystem::Default());
    EXPECT_EQ(saver.Copy(source, dir.File("link.dbf")), TableSaver::Result::kSameFile);
    EXPECT_EQ(saver.Subset(source, { 0 }, true, dir.File("sub/../t.dbf")), TableSaver::Result::kSameFile);
}

// A name that is a link is saved through: the files it names are replaced (a table's memo
// file beside the table it names), keeping their permissions, and the links stay.
TEST_F(SaveAsTest, ALinkChosenIsSavedThroughAndStays)
{
    namespace stdfs = std::filesystem;
    Make(true);
    stdfs::create_directory(dir.File("other"));
    std::ofstream(dir.File("other/old.dbf")) << "an old table";
    stdfs::create_symlink("other/old.dbf", dir.File("l.dbf"));
    stdfs::create_symlink(dir.File("other/e.txt"), dir.File("e.txt"));
    testing_support::SetModeOf(dir.File("other/old.dbf"), 0600);
    TableSaver saver(platform::FileSystem::Default());
    ASSERT_EQ(saver.Copy(source, dir.File("l.dbf")), TableSaver::Result::kSaved);
    EXPECT_EQ(testing_support::ModeOf(saver.WrittenPath()), 0600); // private while written too
    ASSERT_TRUE(saver.Commit());
    EXPECT_EQ(ReadAllBytes(dir.File("other/old.dbf")), ReadAllBytes(dir.File("t.dbf")));
    EXPECT_EQ(ReadAllBytes(dir.File("other/old.dbt")), ReadAllBytes(dir.File("t.dbt")));
    EXPECT_EQ(testing_support::ModeOf(dir.File("other/old.dbf")), 0600); // private as it was
    ASSERT_EQ(TextExport::Write(source, { 0 }, {}, dir.File("e.txt"), platform::FileSystem::Default()),
        TextExport::Result::kWritten);
    EXPECT_EQ(ReadText(dir.File("other/e.txt")).substr(0, 12), "\"Ivanov  \"\r\n");
    EXPECT_TRUE(stdfs::is_symlink(dir.File("l.dbf")));
    EXPECT_TRUE(stdfs::is_symlink(dir.File("e.txt")));
    EXPECT_EQ(Entries(), (std::vector<std::string> { "e.txt", "l.dbf", "other", "t.dbf", "t.dbt" }));
}

// Replacing another table: whichever step fails, the old table and memo stay as they were
// and nothing of the save is left behind.
TEST_F(SaveAsTest, OverwritingFailsCleanlyAtEveryStep)
{
    Make(true);
    {
        TableSaver saver(platform::FileSystem::Default());
        ASSERT_EQ(saver.Copy(source, dir.File("old.dbf")), TableSaver::Result::kSaved);
        ASSERT_TRUE(saver.Commit());
    }
    testing_support::WriteAllBytes(dir.File("old.dbt"), { 'm', 'e', 'm', 'o' });
    const auto oldTable = ReadAllBytes(dir.File("old.dbf"));
    const auto before = Entries();
    for (int write = 1; write <= 6; ++write) {
        testing_support::FaultyFileSystem faulty;
        faulty.failWriteFrom = write;
        TableSaver saver(faulty);
        if (saver.Subset(source, { 0, 4 }, true, dir.File("old.dbf")) == TableSaver::Result::kSaved)
            continue;
        EXPECT_EQ(ReadAllBytes(dir.File("old.dbf")), oldTable) << write;
        EXPECT_EQ(Entries(), before) << write;
    }
    // The renames of the new files' own creation, the old memo moved aside, the new memo
    // and table put in place: each one failing in turn, until a save gets through.
    bool replaced = false;
    for (int step = 1; step <= 12 && !replaced; ++step) {
        testing_support::FaultyFileSystem faulty;
        faulty.failRenameNumber = step;
        TableSaver saver(faulty);
        replaced = saver.Subset(source, { 0, 4 }, true, dir.File("old.dbf")) == TableSaver::Result::kSaved
            && saver.Commit();
        if (replaced)
            break;
        EXPECT_EQ(ReadAllBytes(dir.File("old.dbf")), oldTable) << step;
        EXPECT_EQ(ReadText(dir.File("old.dbt")), "memo") << step;
        EXPECT_EQ(Entries(), before) << step;
    }
    ASSERT_TRUE(replaced);
    EXPECT_NE(ReadText(dir.File("old.dbt")), "memo");
    EXPECT_EQ(Entries(), before);
}

} // namespace
} // namespace tablegrid
