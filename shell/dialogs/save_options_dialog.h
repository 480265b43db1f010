#pragma once

#include <QDialog>

#include <string>

class QRadioButton;

namespace shell {

// Save As of a table not wholly shown: which columns and which records go into the new
// table. A group is enabled only when there is a choice in it (columns are hidden, records
// are filtered out), and then offers what is shown first; a group without a choice shows
// "All" and cannot be changed.
class CSaveOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    // `tableName` (cp1251) is named in the dialog's text. `allColumnsShown` false: some
    // columns are hidden; `allRecordsShown` false: a filter leaves records out.
    CSaveOptionsDialog(const std::string& tableName, bool allColumnsShown, bool allRecordsShown,
        QWidget* parent = nullptr);

    bool AllColumns() const;
    bool AllRecords() const;

    // Runs the dialog. On entry `*allColumns` and `*allRecords` say what the window shows
    // (false: columns hidden, records filtered); after OK they are the user's choice. False
    // when the user cancelled (the values are then left as they were).
    static bool Ask(
        QWidget* parent, const std::string& tableName, bool* allColumns, bool* allRecords);

private:
    QRadioButton* m_allColumns = nullptr;
    QRadioButton* m_allRecords = nullptr;
};

} // namespace shell
