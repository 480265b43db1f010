#pragma once

#include "table/code_page_id.h"

namespace table {
class CTable;
}

namespace tablegrid {

// What became of a code page the user chose for an open table.
struct CodePageChoiceOutcome
{
    table::CodePageId codePage = table::CodePageId::kNone; // the table's code page now
    bool detectionFailed = false; // "<autodetect>" found no code page; the table has none
    bool written = false; // the code page's mark went into the file
    bool writeFailed = false; // the mark could not be written; the table keeps the page
};

// Gives `table` the code page the user chose: kAutodetect guesses it from the records. The
// mark in the file is written only when the box asking for it is ticked and the code page
// changes: choosing the table's own code page again, or a guess equal to it, writes
// nothing, and a failed guess (which leaves the table with no code page) never writes.
// REQUIRES: `table` is open.
CodePageChoiceOutcome ApplyCodePageChoice(
    table::CTable& table, table::CodePageId chosen, bool writeIntoFile);

} // namespace tablegrid
