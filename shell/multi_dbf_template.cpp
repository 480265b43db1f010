#include "shell/multi_dbf_template.h"

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/resource_source.h"
#include "shell/child_frame.h"
#include "shell/db_grid_doc.h"
#include "shell/main_frame.h"
#include "shell/viewer_app.h"

#include <memory>

namespace shell {
namespace {

// Field `index` of a document string, whose fields are separated by line breaks.
std::string DocStringField(const std::string& text, int index)
{
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = text.find('\n', start);
        if (start == std::string::npos)
            return {};
        ++start;
    }
    const std::size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string Upper(std::string text)
{
    platform::ToUpper1251(text);
    return text;
}

} // namespace

CMultiDBFTemplate::CMultiDBFTemplate(CViewerApp& app, int resourceId)
    : m_app(app)
    , m_resourceId(resourceId)
{
}

CMultiDBFTemplate::Confidence CMultiDBFTemplate::MatchDocType(const std::string& path) const
{
    const std::string extension = DocStringField(platform::LoadString(m_resourceId), 4);
    const std::string name = platform::FileNameOf(path);
    const std::size_t dot = name.rfind('.');
    if (!extension.empty() && dot != std::string::npos
        && Upper(name.substr(dot)) == Upper(extension))
        return Confidence::kYesAttemptNative;
    return Confidence::kYesAttemptForeign;
}

CDBGridDoc* CMultiDBFTemplate::OpenDocumentFile(const std::string& path)
{
    CMainFrame* mainFrame = m_app.MainFrame();
    if (!mainFrame || MatchDocType(path) == Confidence::kNo)
        return nullptr;
    auto document = std::make_unique<CDBGridDoc>();
    CDBGridDoc* opened = document.get();
    // The window opens the table while it is built, from the application's pending path.
    auto* frame = new CChildFrame(m_app, std::move(document));
    if (!opened->OnOpenDocument(path)) {
        delete frame;
        return nullptr;
    }
    mainFrame->AddTableWindow(frame);
    frame->UpdateTitle();
    m_app.AddToRecentFileList(path);
    frame->ShowFirstTime();
    return opened;
}

} // namespace shell
