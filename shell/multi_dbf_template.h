#pragma once

#include <string>

namespace shell {

class CDBGridDoc;
class CViewerApp;

// The document template of table windows: makes the document and the table window for a
// path. Its resource id (155) names both its document string and the menu of table windows.
// One instance, owned by the application; refers to the application, which outlives it.
class CMultiDBFTemplate
{
public:
    enum class Confidence { kNo, kYesAttemptForeign, kYesAttemptNative, kYesAlreadyOpen };

    CMultiDBFTemplate(CViewerApp& app, int resourceId);

    int ResourceId() const { return m_resourceId; }

    // How well a path suits the template. A path whose extension is the template's filter
    // extension (field 4 of its document string) suits natively, any other path as a
    // foreign one. Never "already open": a table open in one window opens in another.
    Confidence MatchDocType(const std::string& path) const;

    // Makes a document and its table window for `path`, which the window opens from the
    // application's pending path, adds the path to the recent list and shows the window.
    // nullptr when the window could not be made.
    CDBGridDoc* OpenDocumentFile(const std::string& path);

private:
    CViewerApp& m_app;
    int m_resourceId;
};

} // namespace shell
