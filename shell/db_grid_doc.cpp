#include "shell/db_grid_doc.h"

#include "platform/file_system.h"

namespace shell {

bool CDBGridDoc::OnOpenDocument(const std::string& path)
{
    m_pathName = path;
    return true;
}

std::string CDBGridDoc::Title() const
{
    return platform::FileNameOf(m_pathName);
}

} // namespace shell
