// Indexes built over a fuzzed table (part one) on each of its first fields and a compound
// key, then used for navigation and seeks; the index files the builder writes must read back
// in key order. Part two, after the separator, is an index file from elsewhere, opened and
// read through the index reader.

#include "fuzz/fuzz_support.h"
#include "table/db_engine_exception.h"
#include "table/ndx_index.h"
#include "table/table.h"
#include "table/table_database.h"

#include <cstring>

namespace {

// Reads a whole index our builder wrote: every entry in (key, record) order, no error.
void CheckBuiltIndex(const std::string& path, std::uint32_t maxEntries)
{
    table::NdxIndex index(platform::FileSystem::Default());
    fuzzing::Require(index.Open(path), "a built index does not open");
    fuzzing::Require(index.First(), "a built index fails on First");
    std::string previous;
    double previousNumber = 0;
    std::uint32_t previousRecord = 0;
    for (std::uint32_t n = 0; n < maxEntries && index.Valid(); ++n) {
        if (index.KeyType() == table::NdxKeyType::kCharacter) {
            const std::string key(index.Key());
            fuzzing::Require(n == 0 || previous < key || (previous == key && previousRecord < index.Record()),
                             "a built index out of order");
            previous = key;
        } else {
            const double key = index.NumberKey();
            fuzzing::Require(n == 0 || previousNumber < key
                                 || (previousNumber == key && previousRecord < index.Record()),
                             "a built index out of order");
            previousNumber = key;
        }
        previousRecord = index.Record();
        fuzzing::Require(index.Next(), "a built index fails on Next");
    }
}

void ReadForeignIndex(std::string_view bytes)
{
    const std::string path = fuzzing::ScratchDir() + "foreign.ndx";
    fuzzing::WriteFile(path, bytes);
    table::NdxIndex index(platform::FileSystem::Default(), 4);
    if (!index.Open(path))
        return;
    (void)index.KeyExpression();
    if (index.First()) {
        for (int n = 0; n < 300 && index.Valid(); ++n) {
            (void)index.Key();
            (void)index.NumberKey();
            if (!index.Next())
                break;
        }
    }
    if (index.Last()) {
        for (int n = 0; n < 300 && index.Valid(); ++n) {
            if (!index.Prev())
                break;
        }
    }
    bool found = false;
    const std::string sought = bytes.size() > 8 ? std::string(bytes.substr(bytes.size() - 8)) : "A";
    (void)index.Seek(sought, table::NdxMatch::kWhole, &found);
    (void)index.Seek(sought, table::NdxMatch::kPrefix, &found);
    (void)index.Seek(std::string(), table::NdxMatch::kPrefix, &found);
    (void)index.Seek(0.0, &found);
    (void)index.Seek(-1e300, &found);
    (void)index.PositionOn(1, sought, &found);
    (void)index.PositionOn(0xFFFFFFFFu, 1.5, &found);
}

void UseIndex(table::CTable& t, const std::string& name, const std::string& expression)
{
    try {
        if (!t.CreateIndex(name, expression, false))
            return;
    } catch (const table::CDBEngineException&) {
        return;
    }
    CheckBuiltIndex(t.IndexFilePath(name), 5000);
    if (!t.UseIndex(name))
        return;
    std::vector<table::FieldValue> seen;
    if (t.GoTop()) {
        for (int n = 0; n < 100 && t.HasCurrentRecord(); ++n) {
            if (seen.size() < 5)
                seen.push_back(t.GetValue(0, false));
            if (!t.GoNext())
                break;
        }
    }
    if (t.GoTo(t.RecordCount())) {
        for (int n = 0; n < 20 && t.HasCurrentRecord(); ++n) {
            if (!t.GoPrev())
                break;
        }
    }
    for (const table::FieldValue& value : seen)
        (void)t.SeekValue(value);
    table::FieldValue text;
    text.type = 'C';
    text.text = "A";
    (void)t.SeekValue(text);
    t.ClearIndex();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [tablePart, indexPart] = fuzzing::SplitParts(data, size);
    fuzzing::ClearScratch();
    const std::string& dir = fuzzing::ScratchDir();
    if (!indexPart.empty())
        ReadForeignIndex(indexPart);

    fuzzing::WriteFile(dir + "t.dbf", tablePart);
    table::TableDatabase database(platform::FileSystem::Default());
    fuzzing::Require(database.SetDatabaseDirectory(dir), "scratch folder is a database");
    table::CTable t(&database);
    if (!t.Open("t", true) || t.RecordCount() > 20000)
        return 0;
    std::vector<std::string> names;
    for (int i = 0; i < t.FieldCount() && i < 3; ++i) {
        const std::string name = t.FieldName(i);
        names.push_back(name);
        UseIndex(t, "F" + std::to_string(i), name);
    }
    if (names.size() >= 2) {
        try {
            UseIndex(t, "KEY", t.KeyExpression(names));
        } catch (const table::CDBEngineException&) {
        }
    }
    return 0;
}
