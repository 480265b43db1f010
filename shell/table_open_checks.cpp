#include "shell/table_open_checks.h"

#include "platform/file_system.h"
#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/path_text.h"
#include "table/dbf_file.h"
#include "table/header_repair.h"

namespace shell {
namespace {

using platform::FormatText;
using platform::LoadString;
using platform::PromptButtons;
using platform::PromptIcon;

void ShowError(const std::string& text)
{
    platform::AskUser(text, PromptButtons::kOk, PromptIcon::kStop);
}

HeaderCheckOutcome OfferRepair(platform::FileSystem& fs, table::CDBFFile& checker,
                               const std::string& path)
{
    const std::string question = FormatText(
        LoadString(IDS_HEADER_CORRUPTED), { PathToAnsi(platform::FileNameOf(path)) });
    if (platform::AskUser(question, PromptButtons::kYesNo, PromptIcon::kQuestion)
        != platform::IDYES)
        return HeaderCheckOutcome::kRepairDeclined;

    std::string repaired;
    if (!checker.Repair(table::RepairDirectoryFor(path), &repaired)) {
        checker.Close();
        ShowError(LoadString(IDS_HEADER_NOT_FIXED));
        return HeaderCheckOutcome::kRepairFailed;
    }
    checker.Close();
    const table::ReplaceResult replaced = table::ReplaceWithRepaired(fs, path, repaired);
    if (!replaced.Succeeded()) {
        // The user asked for a repair and did not get one: say so rather than open the old
        // file as if it had been mended.
        if (replaced.originalPath != path) {
            // The table is missing from its path and the open that follows fails: the user
            // learns where the table is, and the corrected copy stays, as the one file that
            // holds the records under the table's header.
            ShowError(FormatText(LoadString(IDS_HEADER_ORIGINAL_AT_BACKUP),
                { PathToAnsi(replaced.originalPath), PathToAnsi(replaced.repairedPath) }));
            return HeaderCheckOutcome::kOriginalMoved;
        }
        // The table is back in its place; the corrected copy is of no further use.
        if (replaced.repairedPath != path && fs.Exists(replaced.repairedPath))
            (void)fs.Remove(replaced.repairedPath);
        ShowError(LoadString(IDS_HEADER_NOT_FIXED));
        return HeaderCheckOutcome::kRepairFailed;
    }
    platform::AskUser(
        FormatText(LoadString(IDS_HEADER_FIXED), { PathToAnsi(replaced.backupPath) }),
        PromptButtons::kOk, PromptIcon::kInformation);
    return HeaderCheckOutcome::kRepaired;
}

} // namespace

HeaderCheckOutcome CheckTableHeader(platform::FileSystem& fs, const std::string& path)
{
    using Result = table::CDBFFile::CheckResult;
    table::CDBFFile checker(fs, path);
    switch (checker.Result()) {
    case Result::kDisagrees:
        return OfferRepair(fs, checker, path);
    case Result::kNotDbase:
    case Result::kNoTerminatorEven:
    case Result::kNoTerminatorOdd:
        checker.Close();
        platform::AskUser(LoadString(IDS_NOT_A_TABLE), PromptButtons::kOk, PromptIcon::kExclamation);
        return HeaderCheckOutcome::kNotATable;
    case Result::kAgrees:
    case Result::kCannotOpen:
    case Result::kNotChecked:
        break;
    }
    return HeaderCheckOutcome::kSound;
}

} // namespace shell
