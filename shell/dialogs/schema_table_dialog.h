#pragma once

#include "schema/schema_editing.h"
#include "table/field_def.h"

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace table {
class TableDatabase;
}

namespace shell {

// Table: what the database schema says about one table of the directory. The table's
// fields, read from its file's header, are listed (name, type, length, decimals); the
// selected field's description, whether it is a key field or the table's "name" field, and
// its relation to another table of the schema are edited below, and the table's
// description at the top.
//
// Edits go into the schema entry at once: a field's controls are stored when another field
// is selected and when the dialog closes, together with the table's description; there is
// nothing to cancel. A table file that cannot be read says so and leaves an empty dialog,
// which stores nothing. The database (and its schema entry `key`) must outlive the dialog.
class CSchemaTableDialog : public QDialog
{
    Q_OBJECT

public:
    // REQUIRES: the schema has a table `key`.
    CSchemaTableDialog(
        table::TableDatabase& database, const std::string& key, QWidget* parent = nullptr);

    bool TableRead() const { return m_read; }
    void SetHelpAction(std::function<void()> action) { m_helpAction = std::move(action); }

    void done(int result) override;

private:
    void BuildControls();
    bool ReadFields(table::TableDatabase& database);
    void SelectField(int index);
    void LoadField();
    void StoreField();
    void OnNameFieldClicked(bool checked);
    void OnRelationClicked(bool checked);
    std::string CurrentFieldName() const;

    schema::SchemaTable& m_table;
    std::string m_key;
    table::FieldList m_fields;
    bool m_read = false;
    int m_current = -1;
    QLineEdit* m_description = nullptr;
    QTreeWidget* m_list = nullptr;
    QGroupBox* m_group = nullptr;
    QLineEdit* m_fieldDescription = nullptr;
    QCheckBox* m_keyField = nullptr;
    QCheckBox* m_nameField = nullptr;
    QCheckBox* m_relation = nullptr;
    QComboBox* m_relatedTable = nullptr;
    QPushButton* m_help = nullptr;
    std::function<void()> m_helpAction;
};

} // namespace shell
