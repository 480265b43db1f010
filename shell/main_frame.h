#pragma once

#include "shell/command_router.h"
#include "shell/common_controls.h"
#include "shell/task_frame_wnd.h"

#include <memory>
#include <vector>

namespace shell {

class CChildFrame;
class CommandMenus;
class CommandToolBar;
class CViewerApp;
class FontBar;
class MainStatusBar;
struct FontRecord;

// The program's main window: the table windows in its window area, the menus of the state
// it is in (no table window active, or one active), the tool bar, the font bar, the status
// bar and the table bar. It handles the commands of the window (font, bars, About, window
// arrangement, exit) and routes every command: the active table window first, then this
// window, then the application.
//
// Closing it asks every table window in turn whether it may close; one refusal keeps the
// program open. Created and owned by the application, which outlives it.
class CMainFrame final : public CTaskFrameWnd, public CommandTarget
{
    Q_OBJECT

public:
    CMainFrame(CViewerApp& app, CommonControlsVersion controls);
    ~CMainFrame() override;

    // Adds a new table window to the window area and the table bar.
    void AddTableWindow(CChildFrame* window);
    std::vector<CChildFrame*> TableWindows() const;
    CChildFrame* ActiveTableWindow() const;

    // Gives every table window the font of `record` (10-point Courier New when null): taken
    // exactly, or with `exact` false the record's height read as tenths of a point. The font
    // bar shows the font's point size, recomputed from the height when `exact` or
    // `recompute`, and with `exact` its face.
    void ApplyFont(const FontRecord* record, bool exact, bool recompute);

    // Rebuilds the menu bar for the current state from the resource set.
    void ReloadMenus();
    // Brings the tool bar's states up to date after something they depend on changed.
    void UpdateCommandUI();
    // Re-runs the activation of the active table window (after a save or a font change).
    void ReactivateActiveWindow();
    // Every other table window on the file `saver` shows learns that it changed.
    void MarkChangedElsewhere(const CChildFrame* saver);
    // Every table window but `saver` on the file at `path` learns that it changed.
    void MarkChangedAt(const std::string& path, const CChildFrame* saver);

    CommandRouter& Router() { return m_router; }
    CommandMenus& Menus() { return *m_menus; }
    MainStatusBar* StatusPanes() const { return m_statusBar; }
    CommandToolBar* CommandBar() const { return m_toolBar; }
    FontBar* FontBarWidget() const { return m_fontBar; } // null without the new bars
    CommonControlsVersion Controls() const { return m_controls; }
    int CurrentMenu() const { return m_currentMenu; }

    bool UpdateCommand(int id, CommandState* state) override;
    bool ExecuteCommand(int id) override;

protected:
    QIcon TabIcon() const override;
    void OnActiveWindowChanged(CTaskChildWnd* window) override;

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void UpdateRouting();
    // The caption: the program's title, and the active table window's document title
    // while that window is not maximized (a maximized one is named by the window area).
    void UpdateMainTitle();
    // Cascades the shown table windows over most of the window area.
    void CascadeTableWindows();
    void OnFontBarChoice(const QString& face, const QString& sizeText);
    void OnFontCommand();
    void ShowFontInBar(int points, bool showFace);

    CViewerApp& m_app;
    CommonControlsVersion m_controls;
    CommandRouter m_router;
    std::unique_ptr<CommandMenus> m_menus;
    MainStatusBar* m_statusBar = nullptr;
    CommandToolBar* m_toolBar = nullptr;
    FontBar* m_fontBar = nullptr;
    int m_currentMenu = 0;
    bool m_firstActivation = true; // the window is maximized when it first shows
};

} // namespace shell
