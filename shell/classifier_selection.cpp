#include "shell/classifier_selection.h"

#include "classifiers/classifier_tables.h"
#include "platform/code_page.h"
#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/wait_cursor.h"
#include "table/table.h"

#include <array>
#include <utility>

namespace shell {
namespace {

struct SelectionTables
{
    const char* source;
    const char* target;
    // Which window a message names first when both are missing.
    bool targetReportedFirst;
    int noCurrentRecord;
};

SelectionTables TablesOf(ClassifierSelection selection)
{
    if (selection == ClassifierSelection::kRegion)
        return { classifiers::kRegionName, classifiers::kKladrName, false, IDS_NO_REGION_SELECTED };
    return { classifiers::kKladrName, classifiers::kStreetName, true, IDS_NO_SETTLEMENT_SELECTED };
}

void ShowStop(const std::string& text)
{
    platform::AskUser(text, platform::PromptButtons::kOk, platform::PromptIcon::kStop);
}

void ReportNotOpen(const char* name)
{
    std::string upper = name;
    platform::ToUpper1251(upper);
    ShowStop(platform::FormatText(platform::LoadString(IDS_CLASSIFIER_TABLE_NOT_OPEN), { upper }));
}

CChildFrame* LastWindowOf(const CMainFrame& main, const char* name)
{
    CChildFrame* found = nullptr;
    for (CChildFrame* window : main.TableWindows()) {
        if (classifiers::IsClassifierTable(window->TablePath(), name))
            found = window;
    }
    return found;
}

// The CODE text of the record current in `window`; false when it has none (no rows, a row
// of a record not yet saved, or a table without the field).
bool CurrentCode(CChildFrame& window, std::string* code)
{
    tablegrid::CTableWndGrid* grid = window.Grid();
    table::CTable* table = grid->GetTable();
    const int row = grid->GetCurrentRow();
    if (!table || !table->IsOpen() || row < 0 || row >= grid->GetRowCount())
        return false;
    grid->EnsureRowsCached(row, row);
    const int record = grid->RecordOfRow(row);
    const int field = table->FieldIndex(classifiers::kCodeField);
    if (record <= 0 || static_cast<std::uint32_t>(record) > table->RecordCount() || field < 0
        || !table->GoTo(static_cast<std::uint32_t>(record)))
        return false;
    *code = table->GetValue(field, true).text;
    return true;
}

} // namespace

bool CanSelect(const CMainFrame& main, ClassifierSelection selection)
{
    const CChildFrame* active = main.ActiveTableWindow();
    return active && classifiers::IsClassifierTable(active->TablePath(), TablesOf(selection).source);
}

void Select(CMainFrame& main, ClassifierSelection selection)
{
    const SelectionTables names = TablesOf(selection);
    CChildFrame* source = LastWindowOf(main, names.source);
    CChildFrame* target = LastWindowOf(main, names.target);
    const std::pair<const char*, CChildFrame*> sourceWindow { names.source, source };
    const std::pair<const char*, CChildFrame*> targetWindow { names.target, target };
    for (const auto& [name, window] : names.targetReportedFirst
             ? std::array { targetWindow, sourceWindow }
             : std::array { sourceWindow, targetWindow }) {
        if (!window) {
            ReportNotOpen(name);
            return;
        }
    }
    std::string code;
    if (!CurrentCode(*source, &code)) {
        ShowStop(platform::LoadString(names.noCurrentRecord));
        return;
    }
    // The rows change under an editor still open in the target: its text is taken first.
    if (!target->EndCellEdit())
        return;
    tablegrid::CTableWndGrid* grid = target->Grid();
    grid->FilterRoot() = selection == ClassifierSelection::kRegion
        ? classifiers::RegionSelectionFilter(code)
        : classifiers::SettlementSelectionFilter(code);
    {
        WaitCursor wait;
        grid->ApplyFilter();
    }
    target->UpdateFilterPane();
    main.ActivateTaskWindow(target);
}

} // namespace shell
