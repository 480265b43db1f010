#pragma once

#include "table/code_page_id.h"
#include "table/field_def.h"
#include "table/memo_file.h"
#include "table/table_appender.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class File;
class FileSystem;
} // namespace platform

namespace samples {

// A text written in UTF-8 in the sources, in code page 866 as a DOS table stores it.
std::string OemText(std::string_view utf8);

// Writes one new table record by record through the engine: the file comes from
// CreateTableFile, field texts go into the record through the engine's field codec, memo
// texts into the table's memo file, and the records reach the file in large writes through
// a TableAppender, so a table of millions of records is written in well under a second.
//
// A record is built with Set and SetMemo, then added; fields not set since the last Add
// are blank. Every call reports failure as false and keeps an English error text naming
// the table. Not copyable; the file system must outlive the writer.
class SampleTableWriter
{
public:
    explicit SampleTableWriter(platform::FileSystem& fs);
    ~SampleTableWriter();
    SampleTableWriter(const SampleTableWriter&) = delete;
    SampleTableWriter& operator=(const SampleTableWriter&) = delete;

    // Creates the table at `path`, replacing one that exists. `version` is the header's
    // version byte (0x03, 0x83 or 0x8B); a table with memo fields gets an empty memo file of
    // the form its version implies, dBASE IV memos with 512-byte blocks. `codePage` goes into
    // the header's code-page byte.
    [[nodiscard]] bool Create(const std::string& path, const table::FieldList& fields,
        std::uint8_t version, table::CodePageId codePage);

    // Stores a text, given in the table's own bytes, into field `i` of the record being
    // built. REQUIRES: i names a field that is not a memo field.
    [[nodiscard]] bool Set(int i, std::string_view text);
    // Appends `text` to the memo file and puts its block number into memo field `i`.
    // REQUIRES: i names a memo field.
    [[nodiscard]] bool SetMemo(int i, std::string_view text);
    [[nodiscard]] bool Add(bool deleted = false);
    // Writes the header's record count and closes the files.
    [[nodiscard]] bool Finish();

    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& what);

    platform::FileSystem& m_fs;
    std::string m_path;
    std::unique_ptr<platform::File> m_file;
    std::unique_ptr<table::TableAppender> m_appender;
    table::MemoFile m_memo;
    std::vector<table::FieldLayout> m_fields;
    std::vector<std::uint8_t> m_record;
    std::string m_error;
};

} // namespace samples
