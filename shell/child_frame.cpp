#include "shell/child_frame.h"

#include "platform/file_system.h"
#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/app_font.h"
#include "shell/command_icons.h"
#include "shell/command_menus.h"
#include "shell/db_grid_doc.h"
#include "shell/dialogs/delete_index_dialog.h"
#include "shell/grid_search_target.h"
#include "shell/main_frame.h"
#include "shell/main_status_bar.h"
#include "shell/path_text.h"
#include "shell/table_open_checks.h"
#include "shell/viewer_app.h"
#include "shell/wait_cursor.h"
#include "shell/window_title.h"
#include "table/table.h"
#include "tablegrid/row_images.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace shell {
namespace {

using platform::FormatText;
using platform::LoadString;
using platform::qt::FromAnsi;

constexpr int kPanePadding = 12;
constexpr int kKeyboardMenuOffset = 5;

} // namespace

CChildFrame::CChildFrame(CViewerApp& app, std::unique_ptr<CDBGridDoc> document)
    : m_app(app)
    , m_document(std::move(document))
    , m_images(tablegrid::MakeRowHeaderImages())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(TableIcon());

    m_body = new QWidget;
    m_grid = new tablegrid::CTableWndGrid(this, m_body);
    m_searchTarget = std::make_unique<GridSearchTarget>(*m_grid);
    m_statusBar = new QStatusBar(m_body);
    m_statusBar->setSizeGripEnabled(false);
    const QFontMetrics metrics(m_statusBar->font());
    const int cellWidth = metrics.horizontalAdvance(FromAnsi(
        FormatText(LoadString(IDS_CELL_POSITION), { 999999, 999999, 99999, 99999 })));
    const int recordWidth = metrics.horizontalAdvance(
        FromAnsi(FormatText(LoadString(IDS_RECORD_POSITION), { 999999, 999999 })));
    for (int i = 0; i < 3; ++i) {
        m_panes[i] = new QLabel(m_statusBar);
        m_panes[i]->setObjectName(QStringLiteral("FramePane%1").arg(i));
        m_panes[i]->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    }
    m_panes[0]->setMinimumWidth(cellWidth + kPanePadding);
    m_panes[1]->setMinimumWidth(recordWidth + kPanePadding);
    m_statusBar->addWidget(m_panes[0]);
    m_statusBar->addWidget(m_panes[1]);
    m_statusBar->addWidget(m_panes[2], 1);
    auto* layout = new QVBoxLayout(m_body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_statusBar);
    setWidget(m_body);

    m_tablePath = app.PendingPath();
    if (!m_tablePath.empty())
        OpenPendingTable();
    (void)m_grid->Create("DBGrid " + m_tablePath, &m_images, 0);
    m_grid->SetDateFormatIndex(static_cast<int>(app.DateFormat()));
    if (app.CurrentFontRecord())
        m_grid->SetEditorsFont(FontFromRecord(*app.CurrentFontRecord()), true);
    m_grid->RefreshRows(true);
    setFocusProxy(m_grid);
    CommandMenus::BindEditingKeys(this, *this);
}

CChildFrame::~CChildFrame()
{
    // The grid reports to this window; it goes while the window is still whole, after the
    // dialog that searches it.
    delete m_searchDialog;
    delete m_body;
}

void CChildFrame::OpenPendingTable()
{
    CheckTableHeader(m_app.Files(), m_tablePath);
    const std::string directory = platform::DirectoryOf(m_tablePath);
    table::TableDatabase* database = m_app.Databases().Register(directory);
    if (m_grid->OpenTable(m_tablePath, database))
        m_tableDirectory = directory;
}

QString CChildFrame::FrameStatusText(int pane) const
{
    return pane >= 0 && pane < 3 ? m_panes[pane]->text() : QString();
}

QString CChildFrame::TabLabel() const
{
    return FromAnsi(TableTabLabel(m_grid->TablePath(), m_grid->HasPendingChanges(), m_number));
}

void CChildFrame::AssignNumber()
{
    std::vector<CChildFrame*> frames;
    if (CMainFrame* main = m_app.MainFrame())
        frames = main->TableWindows();
    std::vector<NumberedWindow> windows;
    for (const CChildFrame* frame : frames)
        windows.push_back({ TableNameOf(frame->m_grid->TablePath()), frame == this ? -1 : frame->m_number });
    const WindowNumbering numbering = NumberNewWindow(windows, TableNameOf(m_grid->TablePath()));
    if (numbering.renumberIndex >= 0) {
        CChildFrame* renumbered = frames[static_cast<std::size_t>(numbering.renumberIndex)];
        renumbered->m_number = numbering.renumberTo;
        renumbered->UpdateTitle();
    }
    m_number = numbering.number;
}

void CChildFrame::UpdateTitle()
{
    if (m_number == -1)
        AssignNumber();
    const bool modified = m_grid->HasPendingChanges();
    m_document->SetModifiedFlag(modified);
    setWindowTitle(FromAnsi(TableWindowTitle(m_grid->TablePath(), modified, m_number)));
    emit TabLabelChanged();
    UpdateFilterPane();
    m_grid->viewport()->update();
}

void CChildFrame::ShowFirstTime()
{
    if (!m_firstShow)
        return;
    m_firstShow = false;
    showMaximized();
}

void CChildFrame::OnActivate()
{
    if (m_inActivation)
        return;
    m_inActivation = true;
    m_grid->setFocus();
    if (m_changedElsewhere) {
        const std::string question = FormatText(
            LoadString(IDS_FILE_CHANGED_ELSEWHERE), { PathToAnsi(m_grid->TablePath()) });
        if (platform::AskUser(question, platform::PromptButtons::kYesNo,
                platform::PromptIcon::kQuestion)
            == platform::IDYES) {
            Reload();
            m_changedElsewhere = false;
        }
    }
    m_inActivation = false;
}

bool CChildFrame::ConfirmClose()
{
    if (!EndCellEdit())
        return false;
    const std::size_t pending = m_grid->PendingChanges().Size();
    const bool agreed = m_grid->ConfirmPendingChanges();
    MarkWhenWritten(pending, false);
    return agreed;
}

void CChildFrame::Save()
{
    if (!EndCellEdit())
        return;
    (void)WritePending();
    if (CMainFrame* main = m_app.MainFrame())
        main->ReactivateActiveWindow();
}

bool CChildFrame::WritePending()
{
    const std::size_t pending = m_grid->PendingChanges().Size();
    bool saved = false;
    {
        WaitCursor wait;
        saved = m_grid->SaveChanges(true, nullptr);
    }
    UpdateTitle();
    MarkWhenWritten(pending, false);
    return saved;
}

void CChildFrame::MarkWhenWritten(std::size_t pendingBefore, bool changedFile)
{
    // Only a save that wrote something takes changes off the list (or drops one whose record
    // is gone); one with nothing pending, or one the file refused, leaves the file as the
    // other windows show it, and they must not ask to read it again.
    const bool wrote = changedFile || m_grid->PendingChanges().Size() < pendingBefore;
    if (CMainFrame* main = m_app.MainFrame(); main && wrote)
        main->MarkChangedElsewhere(this);
}

void CChildFrame::Reload()
{
    if (!m_grid->HasOpenTable())
        return;
    if (m_grid->HasPendingChanges()) {
        // Reopening would drop this window's own unsaved changes: the rows are read again
        // with the changes kept over them.
        m_grid->RefreshRows(true);
        return;
    }
    WaitCursor wait;
    const int row = m_grid->GetCurrentRow();
    const int column = m_grid->GetCurrentColumn();
    table::TableDatabase* database = m_grid->GetTable()->Database();
    if (!m_grid->ReopenTable(database)) {
        m_tableDirectory.clear();
        UpdateTitle();
        return;
    }
    if (row >= 0 && m_grid->GetRowCount() > 0) {
        // Cached first, so the status bar can name the row's record.
        const int shown = std::min(row, m_grid->GetRowCount() - 1);
        m_grid->EnsureRowsCached(shown, shown);
        m_grid->SetCurrentCell(shown, std::max(column, 0));
    }
    UpdateTitle();
}

void CChildFrame::SetGridFont(const QFont& font)
{
    m_grid->SetEditorsFont(font, true);
    m_grid->RefreshRows(true);
}

void CChildFrame::SetDateFormat(table::DateFormat format)
{
    m_grid->SetDateFormat(static_cast<int>(format));
}

void CChildFrame::ShowMainStatus(int pane, const std::string& text)
{
    if (CMainFrame* main = m_app.MainFrame())
        main->StatusPanes()->SetPaneText(pane, text);
}

void CChildFrame::ShowFrameStatus(int pane, const std::string& text)
{
    if (pane >= 0 && pane < 3)
        m_panes[pane]->setText(FromAnsi(text));
}

void CChildFrame::UpdateFrameTitle()
{
    UpdateTitle();
}

bool CChildFrame::AskDeleteIndexFile(const std::string& tablePath)
{
    if (m_app.DeleteIndexWithoutAsking())
        return true;
    CDeleteIndexDialog dialog(tablePath, window());
    const bool agreed = dialog.exec() == QDialog::Accepted;
    if (dialog.ChoseAll())
        m_app.SetDeleteIndexWithoutAsking(true);
    return agreed;
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (!ConfirmClose()) {
        event->ignore();
        return;
    }
    CTaskChildWnd::closeEvent(event);
}

void CChildFrame::showEvent(QShowEvent* event)
{
    CTaskChildWnd::showEvent(event);
    CMainFrame* main = m_app.MainFrame();
    if (!m_fitPending || !main || !main->isVisible())
        return;
    // Until the window is laid out in a visible main window its grid shows a row or two,
    // too few to fit the columns to; they are fitted once it has its real size.
    m_fitPending = false;
    QMetaObject::invokeMethod(this, [this] {
        m_grid->AutofitColumns();
        m_grid->viewport()->update();
    }, Qt::QueuedConnection);
}

void CChildFrame::contextMenuEvent(QContextMenuEvent* event)
{
    CMainFrame* main = m_app.MainFrame();
    if (!main || !m_body->geometry().contains(event->pos())) {
        CTaskChildWnd::contextMenuEvent(event);
        return;
    }
    std::unique_ptr<QMenu> menu = main->Menus().MakePopup(IDR_CONTEXT_MENU, 0, this);
    if (!menu)
        return;
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
        ? m_body->mapToGlobal(QPoint(kKeyboardMenuOffset, kKeyboardMenuOffset))
        : event->globalPos();
    menu->exec(at);
    event->accept();
}

} // namespace shell
