// CTableGrid: Save As, as a new table or as delimited text.

#include "tablegrid/table_grid.h"

namespace tablegrid {

bool CTableGrid::AskSaveOptions(bool*, bool*)
{
    return true;
}

// Not written yet: refuses, so nothing is ever reported saved that was not.
bool CTableGrid::SaveAsTable(const std::string&)
{
    return false;
}

bool CTableGrid::SaveAsText(const std::string&, const TextExportFormat&)
{
    return false;
}

} // namespace tablegrid
