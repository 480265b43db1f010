#pragma once

#include "shell/dialogs/search_dialog.h"

namespace tablegrid {
class CTableGrid;
}

namespace shell {

// The Search dialog's way into a table window's grid: each request becomes the grid's own
// search or replacement (which the window's grid runs under the wait cursor). The grid is not
// owned and must outlive this object.
class GridSearchTarget final : public SearchTarget
{
public:
    explicit GridSearchTarget(tablegrid::CTableGrid& grid)
        : m_grid(grid)
    { }

    bool Find(const SearchRequest& request, int direction, bool showNotFound) override;
    bool ReplaceInCurrentCell(
        const std::string& findText, const std::string& replaceText, bool caseSensitive) override;
    int ReplaceAll(const SearchRequest& request, const std::string& replaceText) override;

private:
    tablegrid::CTableGrid& m_grid;
};

} // namespace shell
