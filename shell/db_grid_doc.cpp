#include "shell/db_grid_doc.h"

namespace shell {

bool CDBGridDoc::OnOpenDocument(const std::string& path)
{
    m_pathName = path;
    return true;
}

} // namespace shell
