#pragma once

#include "shell/menu_doc.h"

#include <string>

namespace shell {

// The document of a table window. It carries no table data: the window's grid opens and
// owns the table. The document keeps the path it was opened with and a modified flag.
// Owned by its table window.
class CDBGridDoc : public CMenuDoc
{
public:
    // Opening reads nothing (the window opens the table) and always succeeds.
    bool OnOpenDocument(const std::string& path);

    const std::string& PathName() const { return m_pathName; }
    void SetPathName(const std::string& path) { m_pathName = path; }
    // The document's title, which the main window shows beside its own for a table window
    // that is not maximized: the file name of the path, as a path (not cp1251 text).
    std::string Title() const;

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified) { m_modified = modified; }

private:
    std::string m_pathName;
    bool m_modified = false;
};

} // namespace shell
