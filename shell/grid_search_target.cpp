#include "shell/grid_search_target.h"

#include "tablegrid/table_grid.h"

namespace shell {

bool GridSearchTarget::Find(const SearchRequest& request, int direction, bool showNotFound)
{
    return m_grid.Find(request.findText, request.columnTitle, direction,
        { request.caseSensitive, request.wholeWord }, showNotFound);
}

bool GridSearchTarget::ReplaceInCurrentCell(
    const std::string& findText, const std::string& replaceText, bool caseSensitive)
{
    return m_grid.ReplaceInCurrentCell(findText, replaceText, caseSensitive);
}

int GridSearchTarget::ReplaceAll(const SearchRequest& request, const std::string& replaceText)
{
    return m_grid.ReplaceAll(request.findText, replaceText, request.columnTitle,
        { request.caseSensitive, request.wholeWord });
}

} // namespace shell
