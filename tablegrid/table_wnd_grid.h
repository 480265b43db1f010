#pragma once

#include "tablegrid/operations/progress_throttle.h"
#include "tablegrid/table_grid.h"

#include <string>

namespace tablegrid {

// What a table window offers the grid placed in it: the status bars and its title.
class TableWindowHost
{
public:
    virtual ~TableWindowHost() = default;
    // Pane `pane` of the main window's status bar, repainted at once.
    virtual void ShowMainStatus(int pane, const std::string& text) = 0;
    // Pane `pane` of the table window's own status bar.
    virtual void ShowFrameStatus(int pane, const std::string& text) = 0;
    // The window's title follows the grid's unsaved changes.
    virtual void UpdateFrameTitle() = 0;
    // After a save, another program's index file beside the table `tablePath` (cp1251) is
    // stale: true to delete it. The application may have been told to delete such files
    // without asking; otherwise the user is asked (Yes, All, No).
    virtual bool AskDeleteIndexFile(const std::string& tablePath) = 0;
    // What pane `pane` of the main window's status bar shows now (cp1251).
    virtual std::string MainStatusText(int pane) const
    {
        (void)pane;
        return {};
    }
    // Save As of a table not wholly shown: the options dialog (which columns, which
    // records), starting from what is given; false when the user cancels.
    virtual bool AskSaveOptions(const std::string& tableName, bool* allColumns, bool* allRecords)
    {
        (void)tableName;
        (void)allColumns;
        (void)allRecords;
        return true;
    }
};

// The table grid as a table window shows it: the table operations' reports become status
// texts and message boxes (texts from the resource set, boxes through the prompt), the
// current cell and the edit caret are shown in the status bars, and rows that cannot be read
// show "<absent>". The host is not owned and may be null (nothing is shown then).
class CTableWndGrid : public CTableGrid
{
    Q_OBJECT

public:
    explicit CTableWndGrid(TableWindowHost* host, QWidget* parent = nullptr);

    int Notify(int code, const std::string& text1, const std::string& text2) override;
    std::string GetAbsentText() const override;
    void RefreshRows(bool flush) override;
    // A save the file refused says so; the refused changes stay pending. After a save
    // that wrote the table's own changes, offers to delete another program's index file.
    bool SaveChanges(bool byRecordNumber, table::CTable* target) override;
    // Under the wait cursor, after the question that names what is marked.
    void MarkAll(bool deleteAll) override;
    bool ConfirmMarkAll(bool deleteAll, bool filtered) override;
    // Says "Unable to save as" with the path when the save fails; the options dialog through
    // the host.
    bool SaveAsTable(const std::string& path) override;
    bool AskSaveOptions(bool* allColumns, bool* allRecords) override;
    // Offers to save first, asks before packing, says why a pack could not be done.
    bool PackTable() override;
    void OnPendingChangesChanged() override;
    // The count's progress in the main status bar, then what the bar showed before.
    int Requery() override;
    // Under the wait cursor.
    bool Find(const std::string& findText, const std::string& columnTitle, int direction,
        SearchFlags flags, bool showNotFound) override;
    // Under the wait cursor, set once for the whole walk. It finds once a cell replaced: the
    // search's progress shows thinned as usual, and the idle text comes back once at the end
    // rather than after every cell (each time repainting the window).
    int ReplaceAll(const std::string& findText, const std::string& replaceText,
        const std::string& columnTitle, SearchFlags flags) override;

    void OnCurrentCellChanged(int row, int column) override;
    void OnEditCaretMoved(int position) override;
    void OnCellEdited(int row, int column) override;
    bool ValidateCell(int row, int column, const std::string& text) override;

private:
    void ShowMain(int pane, const std::string& text);
    void ShowProgress(int code, const std::string& text1, const std::string& text2);
    void ShowHeldProgress();
    static std::string ProgressText(int code, const std::string& text1, const std::string& text2);
    void OfferToDeleteIndexFile();

    TableWindowHost* m_host;
    ProgressThrottle m_progress;
};

} // namespace tablegrid
