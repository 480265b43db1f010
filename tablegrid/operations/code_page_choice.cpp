#include "tablegrid/operations/code_page_choice.h"

#include "table/table.h"

namespace tablegrid {

using table::CodePageId;

CodePageChoiceOutcome ApplyCodePageChoice(
    table::CTable& table, CodePageId chosen, bool writeIntoFile)
{
    CodePageChoiceOutcome outcome;
    CodePageId id = chosen;
    if (chosen == CodePageId::kAutodetect) {
        id = table.DetectCodePage();
        outcome.detectionFailed = id == CodePageId::kNone;
    }
    // A failed guess gives kNone; writing that would erase a mark the guess could not
    // contradict, so nothing is written then.
    const bool write = writeIntoFile && !outcome.detectionFailed && id != table.CodePage();
    outcome.writeFailed = !table.SetCodePage(id, write);
    outcome.written = write && !outcome.writeFailed;
    outcome.codePage = table.CodePage();
    return outcome;
}

} // namespace tablegrid
