#include "shell/main_frame.h"

#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/about_dialog.h"
#include "shell/app_font.h"
#include "shell/bookmark_commands.h"
#include "shell/cascade_layout.h"
#include "shell/classifier_selection.h"
#include "shell/child_frame.h"
#include "shell/command_icons.h"
#include "shell/command_menus.h"
#include "shell/db_grid_doc.h"
#include "shell/font_bar.h"
#include "shell/main_status_bar.h"
#include "shell/path_text.h"
#include "shell/tool_bar.h"
#include "shell/viewer_app.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QUrl>

namespace shell {
namespace {

using platform::qt::FromAnsi;

constexpr int kMinBarSize = 8;
constexpr int kMaxBarSize = 25;

} // namespace

CMainFrame::CMainFrame(CViewerApp& app, CommonControlsVersion controls)
    : CTaskFrameWnd(shell::HasNewBars(controls))
    , m_app(app)
    , m_controls(controls)
{
    setObjectName(QStringLiteral("MainFrame"));
    setWindowTitle(FromAnsi(app.Title()));
    setWindowIcon(ProgramIcon());
    setAcceptDrops(true);
    UpdateRouting();

    m_menus = std::make_unique<CommandMenus>(m_router, [&app] {
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < app.RecentFiles().Size(); ++i)
            texts.push_back(app.RecentFiles().MenuText(i));
        return texts;
    });
    ReloadMenus();

    m_toolBar = new CommandToolBar(m_router, HasNewBars(), this);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    if (HasNewBars()) {
        m_fontBar = new FontBar(this);
        m_fontBar->FillFaces();
        addToolBar(Qt::TopToolBarArea, m_fontBar);
        connect(m_fontBar, &FontBar::FontChosen, this, &CMainFrame::OnFontBarChoice);
    }
    m_statusBar = new MainStatusBar(this);
    setStatusBar(m_statusBar);
    CommandMenus::BindKeyboard(this, m_router);
    resize(900, 640);
    ApplyFont(nullptr, false, false);
}

CMainFrame::~CMainFrame()
{
    // The table windows go first, while everything they report to is still here; closed
    // ones waiting for their deletion included.
    const QList<CChildFrame*> windows = findChildren<CChildFrame*>();
    for (CChildFrame* window : windows)
        disconnect(window, nullptr, this, nullptr);
    qDeleteAll(windows);
}

void CMainFrame::AddTableWindow(CChildFrame* window)
{
    AddTaskWindow(window);
    connect(window, &CTaskChildWnd::Closed, this, [this] { UpdateCommandUI(); });
    connect(window, &QMdiSubWindow::windowStateChanged, this, [this] { UpdateMainTitle(); });
}

std::vector<CChildFrame*> CMainFrame::TableWindows() const
{
    std::vector<CChildFrame*> windows;
    for (CTaskChildWnd* window : TaskWindows()) {
        if (auto* table = qobject_cast<CChildFrame*>(window))
            windows.push_back(table);
    }
    return windows;
}

CChildFrame* CMainFrame::ActiveTableWindow() const
{
    return qobject_cast<CChildFrame*>(ActiveTaskWindow());
}

QIcon CMainFrame::TabIcon() const
{
    return TableIcon();
}

void CMainFrame::UpdateRouting()
{
    m_router.SetTargets({ ActiveTableWindow(), this, &m_app });
}

void CMainFrame::OnActiveWindowChanged(CTaskChildWnd*)
{
    UpdateRouting();
    UpdateMainTitle();
    CChildFrame* active = ActiveTableWindow();
    const int menu = active ? active->Document().DefaultMenu(IDR_TABLE_MENU) : IDR_MAIN_MENU;
    if (menu != m_currentMenu)
        ReloadMenus();
    if (active)
        active->OnActivate();
    UpdateCommandUI();
}

void CMainFrame::UpdateMainTitle()
{
    const QString program = FromAnsi(m_app.Title());
    QString title = program;
    if (const CChildFrame* active = ActiveTableWindow()) {
        // A maximized window's title is put beside the caption by the window area, which
        // builds on whatever the caption holds then: it must be the program's title alone.
        if (!active->isMaximized())
            title
                = QStringLiteral("%1 - %2").arg(program, PathToQString(active->Document().Title()));
        else if (windowTitle() == QStringLiteral("%1 - [%2]").arg(program, active->windowTitle()))
            return;
    }
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CMainFrame::CascadeTableWindows()
{
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : MdiArea()->subWindowList(QMdiArea::StackingOrder)) {
        if (window->isVisible() && !window->isMinimized())
            windows.push_back(window);
    }
    if (windows.empty())
        return;
    QStyleOptionTitleBar option;
    option.initFrom(windows.front());
    const int step = windows.front()->style()->pixelMetric(
        QStyle::PM_TitleBarHeight, &option, windows.front());
    const std::vector<QRect> places
        = CascadeRects(MdiArea()->viewport()->size(), static_cast<int>(windows.size()), step);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized())
            windows[i]->showNormal();
        windows[i]->setGeometry(places[i]);
    }
}

void CMainFrame::ReloadMenus()
{
    CChildFrame* active = ActiveTableWindow();
    m_currentMenu = active ? active->Document().DefaultMenu(IDR_TABLE_MENU) : IDR_MAIN_MENU;
    m_menus->Fill(menuBar(), m_currentMenu);
    // The bars' texts are set once when they are made, so they follow the language here.
    if (m_toolBar)
        m_toolBar->ReloadTexts();
    if (m_fontBar)
        m_fontBar->ReloadTexts();
}

void CMainFrame::UpdateCommandUI()
{
    UpdateRouting();
    if (m_toolBar)
        m_toolBar->UpdateStates();
}

void CMainFrame::ReactivateActiveWindow()
{
    if (CChildFrame* active = ActiveTableWindow())
        active->OnActivate();
    UpdateCommandUI();
}

void CMainFrame::MarkChangedElsewhere(const CChildFrame* saver)
{
    MarkChangedAt(saver->TablePath(), saver);
}

void CMainFrame::MarkChangedAt(const std::string& path, const CChildFrame* saver)
{
    for (CChildFrame* window : TableWindows()) {
        if (window != saver && IsSameFile(window->TablePath(), path))
            window->SetChangedElsewhere(true);
    }
}

void CMainFrame::ApplyFont(const FontRecord* record, bool exact, bool recompute)
{
    const int dpi = ScreenDpi();
    FontRecord applied;
    int points = 10;
    if (!record) {
        applied = DefaultFontRecord(dpi);
    } else {
        points = record->height / 10;
        applied = exact ? *record : RecordForPoints(*record, record->height / 10.0, dpi);
        if (exact || recompute)
            points = PointSizeOfHeight(record->height, dpi);
    }
    m_app.SetCurrentFont(applied);
    const QFont font = FontFromRecord(applied);
    for (CChildFrame* window : TableWindows())
        window->SetGridFont(font);
    ReactivateActiveWindow();
    if (m_fontBar)
        ShowFontInBar(points, exact);
}

void CMainFrame::ShowFontInBar(int points, bool showFace)
{
    QString face;
    if (showFace && m_app.CurrentFontRecord()) {
        // A face the display lacks is shown as the one it substitutes, which is what the
        // windows show.
        face = FromAnsi(m_app.CurrentFontRecord()->faceName);
        if (m_fontBar->FaceList()->findText(face, Qt::MatchFixedString) < 0)
            face = QFontInfo(FontFromRecord(*m_app.CurrentFontRecord())).family();
    }
    m_fontBar->ShowFont(points, face);
}

void CMainFrame::OnFontBarChoice(const QString& face, const QString& sizeText)
{
    const int dpi = ScreenDpi();
    FontRecord record = m_app.CurrentFontRecord().value_or(DefaultFontRecord(dpi));
    bool isNumber = false;
    const int size = sizeText.trimmed().toInt(&isNumber);
    if (face.isEmpty() || !isNumber || size < kMinBarSize || size > kMaxBarSize) {
        // Nothing to apply (no face chosen, or a size the bar cannot apply): the bar shows
        // the size in use again rather than one the windows do not have.
        ShowFontInBar(PointSizeOfHeight(record.height, dpi), false);
        return;
    }
    record.faceName = platform::qt::ToAnsi(face);
    if (record.faceName.size() > FontRecord::kMaxFaceName)
        record.faceName.resize(FontRecord::kMaxFaceName);
    record.height = size * 10;
    ApplyFont(&record, false, false);
}

void CMainFrame::OnFontCommand()
{
    const int dpi = ScreenDpi();
    const FontRecord current = m_app.CurrentFontRecord().value_or(DefaultFontRecord(dpi));
    const QFont shown = FontInUse(current, dpi);
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, shown, this);
    // OK on the font as it was shown changes nothing, not even the face name of a font the
    // display shows through a substitute.
    if (!chosen || SameFontChoice(font, shown))
        return;
    FontRecord record = RecordFromFont(font, dpi);
    // A family left as it was keeps the face name the settings hold.
    if (font.family().compare(shown.family(), Qt::CaseInsensitive) == 0)
        record.faceName = current.faceName;
    record.width = current.width;
    record.charSet = current.charSet;
    ApplyFont(&record, true, false);
}

bool CMainFrame::UpdateCommand(int id, CommandState* state)
{
    switch (id) {
    case ID_VIEW_FONT:
    case ID_APP_ABOUT:
    case ID_APP_EXIT:
        state->enabled = true;
        return true;
    case ID_VIEW_TOOLBAR:
        *state = { true, true, !m_toolBar->isHidden(), {} };
        return true;
    case ID_VIEW_STATUS_BAR:
        *state = { true, true, !m_statusBar->isHidden(), {} };
        return true;
    case ID_VIEW_FONT_BAR:
        *state = { m_fontBar != nullptr, true, m_fontBar && !m_fontBar->isHidden(), {} };
        return true;
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
        state->enabled = !TableWindows().empty();
        return true;
    case ID_EDIT_ADD_BOOKMARK: {
        const CChildFrame* active = ActiveTableWindow();
        state->enabled = active && CanAddBookmark(*active);
        return true;
    }
    case ID_EDIT_BOOKMARKS:
        state->enabled = HasBookmarkWindows(*this);
        return true;
    case ID_CLASSIFIERS_REGION:
        state->enabled = CanSelect(*this, ClassifierSelection::kRegion);
        return true;
    case ID_CLASSIFIERS_SETTLEMENT:
        state->enabled = CanSelect(*this, ClassifierSelection::kSettlement);
        return true;
    default:
        return false;
    }
}

bool CMainFrame::ExecuteCommand(int id)
{
    switch (id) {
    case ID_VIEW_FONT:
        OnFontCommand();
        return true;
    case ID_APP_ABOUT: {
        std::function<void()> otherProducts;
        if (m_app.HasHelp())
            otherProducts = [this] { m_app.OpenHelpTopic(CViewerApp::kOtherProductsTopic); };
        CAboutDlg about(m_controls, otherProducts, this);
        about.exec();
        return true;
    }
    case ID_APP_EXIT:
        close();
        return true;
    case ID_VIEW_TOOLBAR:
        m_toolBar->setVisible(m_toolBar->isHidden());
        return true;
    case ID_VIEW_STATUS_BAR:
        m_statusBar->setVisible(m_statusBar->isHidden());
        return true;
    case ID_VIEW_FONT_BAR:
        m_fontBar->setVisible(m_fontBar->isHidden());
        return true;
    case ID_WINDOW_CASCADE:
        // The window area's own cascade gives each window the size it asks for, which for
        // a window that was only ever maximized is a small one.
        CascadeTableWindows();
        return true;
    case ID_WINDOW_TILE_HORZ:
        MdiArea()->tileSubWindows();
        return true;
    case ID_EDIT_ADD_BOOKMARK:
    case ID_EDIT_BOOKMARKS:
        // The bookmark is of the cell the cursor is on, and Go moves the cursor: a text
        // being typed is taken (or, when refused, the command waits) first.
        if (CChildFrame* active = ActiveTableWindow(); active && !active->EndCellEdit())
            return true;
        if (id == ID_EDIT_BOOKMARKS)
            ShowBookmarks(*this);
        else if (CChildFrame* active = ActiveTableWindow())
            (void)AddBookmark(*active, this);
        UpdateCommandUI();
        return true;
    case ID_CLASSIFIERS_REGION:
    case ID_CLASSIFIERS_SETTLEMENT:
        Select(*this, id == ID_CLASSIFIERS_REGION ? ClassifierSelection::kRegion
                                                  : ClassifierSelection::kSettlement);
        UpdateCommandUI();
        return true;
    default:
        return false;
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    for (CChildFrame* window : TableWindows()) {
        if (!window->ConfirmClose()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void CMainFrame::showEvent(QShowEvent* event)
{
    CTaskFrameWnd::showEvent(event);
    if (m_firstActivation) {
        // The program always starts maximized; it keeps no window positions.
        m_firstActivation = false;
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            m_app.OpenTableFile(PathFromQString(url.toLocalFile()));
    }
}

} // namespace shell
