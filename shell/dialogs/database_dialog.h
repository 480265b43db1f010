#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QTreeWidget;

namespace table {
class TableDatabase;
}

namespace shell {

// Database: the tables the schema of a database directory describes, one row each (key,
// description). Add puts table files of the directory into the schema, Remove takes one out
// after asking, Properties (or a double click) opens the Table dialog of a row, and Test
// shows the schema test's result. Changes go into the schema at once; Close ends the
// dialog, and the caller writes the schema whatever happened.
//
// The database must outlive the dialog.
class CDatabaseDialog : public QDialog
{
    Q_OBJECT

public:
    // Chooses the table files Add takes, in the widgets' dialog over `parent`; none when
    // cancelled.
    using FileChooser = std::function<std::vector<std::string>(QWidget* parent)>;

    explicit CDatabaseDialog(table::TableDatabase& database, QWidget* parent = nullptr);

    // Without a chooser Add does nothing.
    void SetFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    void SetHelpAction(std::function<void()> action) { m_helpAction = std::move(action); }

    // The key of the first selected row; empty without a selection.
    std::string SelectedKey() const;

private:
    void Refill(const std::string& current = {});
    void Add();
    void Remove();
    void Properties();
    void Test();

    table::TableDatabase& m_database;
    QTreeWidget* m_list = nullptr;
    FileChooser m_chooser;
    std::function<void()> m_helpAction;
};

// The schema test's result as the program words it (code page 1251): the first fault
// found, or "No errors found.".
std::string SchemaTestText(const table::TableDatabase& database);

} // namespace shell
