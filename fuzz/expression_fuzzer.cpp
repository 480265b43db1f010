// An expression text parsed against a fixed table's fields and evaluated over its records
// in both code-page modes; where the filter's compiled form takes the text, it must give the
// general evaluator's answer for every record. Then the text is set as the filter of that
// table and walked through. After the
// part separator come the bytes of one more record, evaluated as they are (often shorter or
// longer than a record), as a damaged file hands them over.

#include "fuzz/fuzz_support.h"
#include "table/expression.h"
#include "table/fast_filter.h"
#include "table/table.h"
#include "table/table_database.h"

#include <cmath>
#include <cstring>

namespace {

struct Column
{
    const char* name;
    char type;
    std::uint8_t length;
    std::uint8_t decimals;
};

// Every kind of field an expression can meet, a long character field (decimals * 256 +
// length bytes) among them.
constexpr Column kColumns[] = {
    { "NAME", 'C', 12, 0 }, { "SUM", 'N', 10, 2 }, { "BORN", 'D', 8, 0 }, { "OK", 'L', 1, 0 },
    { "NOTE", 'M', 10, 0 }, { "RATE", 'F', 8, 3 }, { "LONGTEXT", 'C', 44, 1 },
};

// Records over those fields: ordinary values, blanks, and bytes no writer should leave.
const char* const kRecords[] = {
    (" Ivanov          12.5019991231T         1   1.250"
     "Long text field that runs on and on"),
    "*Petrov        -999.99        F              -0.001",
    "                                                    ",
    " \xc0\xe1\xe2\xe3                ABC 00000000?   abc  1e308     ",
    " \x8f\xa5\xe2\xe0\xae\xa2   1.2.3.4   2024023?X    -x      NaN     ",
};

std::vector<table::FieldLayout> Layout()
{
    std::vector<table::FieldLayout> layout;
    std::uint32_t offset = 1;
    for (const Column& c : kColumns) {
        table::FieldLayout f;
        f.def = { c.name, c.type, c.length, c.decimals };
        f.offset = offset;
        f.width = f.def.StorageWidth();
        offset += f.width;
        layout.push_back(f);
    }
    return layout;
}

std::uint32_t RecordLength(const std::vector<table::FieldLayout>& layout)
{
    return layout.back().offset + layout.back().width;
}

std::vector<std::uint8_t> RecordBytes(const char* text, std::uint32_t length)
{
    std::vector<std::uint8_t> record(length, ' ');
    std::memcpy(record.data(), text, std::min<std::size_t>(std::strlen(text), length));
    return record;
}

// The fixed table's file, written by hand: header, descriptors, records, end-of-file byte.
std::string TableFile(const std::vector<table::FieldLayout>& layout)
{
    const std::uint32_t recordLength = RecordLength(layout);
    const std::uint32_t headerLength = 32 * (static_cast<std::uint32_t>(layout.size()) + 1) + 1;
    const std::uint32_t count = std::size(kRecords);
    std::string file(32, '\0');
    file[0] = '\x83';
    file[1] = 124;
    file[2] = 1;
    file[3] = 1;
    file[4] = static_cast<char>(count);
    file[8] = static_cast<char>(headerLength & 0xFF);
    file[9] = static_cast<char>(headerLength >> 8);
    file[10] = static_cast<char>(recordLength & 0xFF);
    file[11] = static_cast<char>(recordLength >> 8);
    for (const table::FieldLayout& f : layout) {
        std::string d(32, '\0');
        std::memcpy(d.data(), f.def.name.data(), f.def.name.size());
        d[11] = f.def.type;
        d[16] = static_cast<char>(f.def.length);
        d[17] = static_cast<char>(f.def.decimals);
        file += d;
    }
    file += '\x0D';
    for (const char* r : kRecords) {
        const auto bytes = RecordBytes(r, recordLength);
        file.append(bytes.begin(), bytes.end());
    }
    file += '\x1A';
    return file;
}

struct Fixture
{
    Fixture()
    {
        fuzzing::WriteFile(fuzzing::ScratchDir() + "fixed.dbf", TableFile(layout));
        fuzzing::Require(database.SetDatabaseDirectory(fuzzing::ScratchDir()), "database");
        fuzzing::Require(t.Open("fixed", false), "the fixed table opens");
        for (const char* r : kRecords)
            records.push_back(RecordBytes(r, RecordLength(layout)));
    }

    std::vector<table::FieldLayout> layout = Layout();
    std::vector<std::vector<std::uint8_t>> records;
    table::TableDatabase database { platform::FileSystem::Default() };
    table::CTable t { &database };
};

void Check(table::Expression& e, const std::uint8_t* record, std::size_t length)
{
    for (bool oem : { false, true }) {
        table::ExprValue value;
        if (e.Evaluate(record, length, oem, &value)) {
            fuzzing::Require(value.type == e.ResultType(), "a value of another type than the parse said");
            if (value.type == 'N')
                fuzzing::Require(std::isfinite(value.number), "a number that is not finite");
            if (value.type == 'C')
                fuzzing::Require(value.text.size() <= table::kMaxTextLength, "a text over the limit");
        }
        (void)e.IsTrue(record, length, oem);
    }
}

// The compiled form against the general evaluator, on a record of the table's length.
void Compare(const table::FastFilter& fast, table::Expression& e, const std::uint8_t* record,
             std::size_t length)
{
    for (bool oem : { false, true }) {
        const table::FastFilter::Answer answer = fast.Test(record, oem);
        if (answer != table::FastFilter::Answer::kUnsure) {
            fuzzing::Require((answer == table::FastFilter::Answer::kTrue) == e.IsTrue(record, length, oem),
                             "the compiled filter and the general evaluator disagree");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Fixture fixture;
    const auto [text, record] = fuzzing::SplitParts(data, size);

    table::ExprError error;
    std::unique_ptr<table::Expression> e = table::ParseExpression(text, fixture.layout, &error);
    fuzzing::Require((e != nullptr) == (error.code == table::ExprErrorCode::kNone),
                     "a parse that failed without a reason, or the other way round");
    if (e) {
        for (const auto& r : fixture.records)
            Check(*e, r.data(), r.size());
        Check(*e, reinterpret_cast<const std::uint8_t*>(record.data()), record.size());
        if (const auto fast = table::FastFilter::Compile(text, fixture.layout)) {
            for (const auto& r : fixture.records)
                Compare(*fast, *e, r.data(), r.size());
            if (record.size() == RecordLength(fixture.layout))
                Compare(*fast, *e, reinterpret_cast<const std::uint8_t*>(record.data()), record.size());
        }
    } else {
        fuzzing::Require(error.position <= text.size(), "an error position past the text");
    }

    table::CTable& t = fixture.t;
    if (t.SetFilterExpression(std::string(text), true)) {
        if (t.GoTop()) {
            for (int n = 0; n < 10 && t.HasCurrentRecord(); ++n) {
                fuzzing::Require(t.PassesFilters(), "the filter let a record through it refuses");
                if (!t.GoNext())
                    break;
            }
        }
        (void)t.GetFilterExpression(true);
    }
    (void)t.SetFilterExpression({}, false);
    return 0;
}
