#pragma once

#include "grid/grid_image_list.h"
#include "shell/command_router.h"
#include "shell/dialogs/goto_dialog.h"
#include "shell/task_child_wnd.h"
#include "table/date_format.h"
#include "tablegrid/table_wnd_grid.h"

#include <memory>
#include <string>

class QLabel;
class QLineEdit;
class QStatusBar;

namespace shell {

class CDBGridDoc;
class CSearchDialog;
class CViewerApp;
class GridSearchTarget;

// A table window: the grid over one table and the window's own status bar (the current
// cell, the current record, and "Filter" while a filter is set).
//
// Its Filter command sets the grid's filter from the Filter dialog; Go To moves the cursor
// to a row or a record, the dialog keeping what was typed for as long as the window lives.
//
// The window opens its table while it is built, from the application's pending path: the
// header is checked first (a damaged header is offered for repair), the table's directory
// gets its database, and the grid opens the table. When the table cannot be opened the
// window stays, with an empty grid and no table directory.
//
// The Table menu's Columns, Properties and Codepage change how the window shows its table
// (which columns, in which order; the code page its texts are read in) and show what the
// file holds; the column layout is the window's own and never written.
//
// Find and Replace open the window's Search dialog, made at the first search and kept until
// the window closes, so its options and lists of texts last as long as the window.
//
// The record commands (delete, undelete, append, pack) and the editing keys act on the grid;
// while a cell editor is open the editing commands are the editor's own, and a command that
// changes the rows first closes the editor, so a text being typed is never lost by it.
//
// Windows on tables of one file name are numbered (" : 1", " : 2") in their titles and tabs;
// " *" marks unsaved changes. A window whose file another window saved asks, when it next
// becomes active, whether to read the table again.
//
// Owns its document; deleted when closed. Refers to the application, which outlives it.
class CChildFrame final : public CTaskChildWnd,
                          public tablegrid::TableWindowHost,
                          public CommandTarget
{
    Q_OBJECT

public:
    CChildFrame(CViewerApp& app, std::unique_ptr<CDBGridDoc> document);
    ~CChildFrame() override;

    CDBGridDoc& Document() const { return *m_document; }
    tablegrid::CTableWndGrid* Grid() const { return m_grid; }
    // The path the window was opened with; empty for a window made without one.
    const std::string& TablePath() const { return m_tablePath; }
    // The table's directory, ending in '/'; empty when the table could not be opened.
    const std::string& TableDirectory() const { return m_tableDirectory; }
    int WindowNumber() const { return m_number; }
    bool ChangedElsewhere() const { return m_changedElsewhere; }
    void SetChangedElsewhere(bool changed) { m_changedElsewhere = changed; }
    QString FrameStatusText(int pane) const;

    QString TabLabel() const override;

    // Numbers the window when it has no number yet, then sets its title, its tab and its
    // status bar's filter pane, and repaints the grid.
    void UpdateTitle();
    // The window's first appearance: maximized inside the main window.
    void ShowFirstTime();
    // The window became the active table window: the grid takes the focus and, when another
    // window saved the file, the user is asked whether to read it again.
    void OnActivate();
    // Asks about unsaved changes before the window closes (saving them on Yes); false when
    // the user cancelled, or the save on Yes left changes the file refused, and the window
    // must stay. A save that wrote something marks the other windows on the file.
    bool ConfirmClose();
    // Writes the unsaved changes; when something was written, every other window on the
    // file learns that it changed.
    void Save();
    // Save As: the file dialog, then SaveAsPath. SaveAsPath saves by the name's ending: .dbf
    // as a new table opened in a window of its own, .txt and .csv as text after the Save As
    // Text dialog; any other ending says it cannot. True when saved.
    void SaveAs();
    bool SaveAsPath(const std::string& path);
    // Reads the table from its file again, keeping the current cell where it can.
    void Reload();
    void SetGridFont(const QFont& font);
    void SetDateFormat(table::DateFormat format);
    // Pane 2 of the window's status bar: "Filter" while the grid is filtered (its options
    // or its conditions), nothing otherwise. Going to a record can take the filter away.
    void UpdateFilterPane();
    // Closes an open cell editor, taking its text; false when the text was refused (the
    // editor stays open and the command must not run).
    bool EndCellEdit();

    void ShowMainStatus(int pane, const std::string& text) override;
    void ShowFrameStatus(int pane, const std::string& text) override;
    void UpdateFrameTitle() override;
    std::string MainStatusText(int pane) const override;
    // Unless the user chose "All" before, the Delete index file dialog asks.
    bool AskDeleteIndexFile(const std::string& tablePath) override;
    // The Save As options dialog.
    bool AskSaveOptions(const std::string& tableName, bool* allColumns, bool* allRecords) override;

    bool UpdateCommand(int id, CommandState* state) override;
    bool ExecuteCommand(int id) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OpenPendingTable();
    void AssignNumber();
    // Save without the reactivation; false when changes the file refused are still pending.
    bool WritePending();
    // Packs after the grid's questions; the other windows on the file learn when it changed.
    void Pack();
    // After something that may have written the file: the other windows on it learn of it
    // when pending changes left the list (a save wrote them) or when `changedFile` says so.
    void MarkWhenWritten(std::size_t pendingBefore, bool changedFile);
    // The text field of the open cell editor, or null (no editor open, or a check box).
    QLineEdit* OpenTextEditor() const;
    bool EditingCommandEnabled(int id) const;
    void RunEditingCommand(int id);
    void RunRecordCommand(int id);
    // The Filter dialog over the grid's filter; on OK the filter it describes is set, after
    // saving the pending changes when the deletion or emptiness option changes.
    void RunFilterDialog();
    void RunGoToDialog();
    // The Columns dialog over a copy of the grid's layout; on OK the grid takes the new
    // layout, its columns are built and fitted again and the rows read anew.
    void RunColumnsDialog();
    // Table properties of the window's table over `parent`; a file that cannot be opened
    // says why instead.
    void ShowTableProperties(QWidget* parent);
    // Select codepage: the table takes the chosen (or guessed) code page, the mark going
    // into the file when asked and the code page changes, and the rows are shown anew.
    void RunCodePageDialog();
    // The Search dialog over the window, modal, in find or replace mode.
    void OpenSearch(bool replaceMode);
    void UpdateMainCommandUI();

    CViewerApp& m_app;
    std::unique_ptr<CDBGridDoc> m_document;
    grid::GridImageList m_images; // outlives the grid, which points at it
    QWidget* m_body = nullptr;
    tablegrid::CTableWndGrid* m_grid = nullptr;
    QStatusBar* m_statusBar = nullptr;
    std::unique_ptr<GridSearchTarget> m_searchTarget;
    CSearchDialog* m_searchDialog = nullptr; // a child of the window; null until first used
    QLabel* m_panes[3] = {};
    std::string m_tablePath;
    std::string m_tableDirectory;
    bool m_firstShow = true;
    bool m_fitPending = true; // columns fit to the rows once the window first has its size
    int m_number = -1; // -1 until numbered, 0 for no number
    bool m_changedElsewhere = false;
    bool m_inActivation = false;
    GoToChoice m_goTo;
};

} // namespace shell
