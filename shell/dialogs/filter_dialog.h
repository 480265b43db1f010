#pragma once

#include "tablegrid/operations/filter_node.h"

#include <QDialog>

#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace shell {

// The Filter dialog: the deletion-mark and emptiness options and the list of conditions,
// in groups separated by OR lines. A condition is made from a column (any column of the
// window, hidden ones too), an operator offered for the column's type, the case box for
// character-like columns and a value, and added with "Add" after its value is checked
// ("Invalid format" for a date or number that is none). The list's entries can be deleted,
// moved up and down, and separated with "Or"; double-clicking a condition takes it back
// into the editors to be changed.
//
// OK refuses a list that starts or ends with an OR line or holds two in a row, selecting
// the first such line; a condition still being edited is offered to the list first. Enter
// in the value box adds the condition instead of closing.
//
// It decides nothing: after OK its caller reads the options and Entries() and sets the
// filter. Texts are cp1251 at its edges, as the grid keeps them.
class CFilterDialog : public QDialog
{
    Q_OBJECT

public:
    // `columns` are the window's columns (titles and types), `entries` the condition list
    // the window's filter holds (its tree flattened).
    CFilterDialog(std::vector<tablegrid::FilterColumn> columns, int deletionMode,
        int emptinessMode, std::vector<tablegrid::FilterCondition> entries,
        QWidget* parent = nullptr);

    int DeletionMode() const;
    int EmptinessMode() const;
    const std::vector<tablegrid::FilterCondition>& Entries() const { return m_entries; }

private:
    void BuildControls();
    void OnColumnChosen(int index);
    void OnOperatorChosen(int index);
    void OnValueChanged();
    // The Add button's work; false when nothing was added.
    bool AddCondition();
    void OnDelete();
    void MoveSelected(int by);
    void OnOr();
    void OnEntryDoubleClicked(QListWidgetItem* item);
    void OnOk();
    void InsertEntry(int index, const tablegrid::FilterCondition& entry, const QString& text);
    void RemoveEntry(int index);
    int SelectedEntry() const;
    void SelectEntry(int index);
    void UpdateListButtons();
    char ChosenType() const;

    std::vector<tablegrid::FilterColumn> m_columns;
    std::vector<tablegrid::FilterCondition> m_entries;
    // A column or an operator was chosen since the last condition was added.
    bool m_editing = false;

    QButtonGroup* m_deletion = nullptr;
    QButtonGroup* m_emptiness = nullptr;
    QComboBox* m_column = nullptr;
    QComboBox* m_operator = nullptr;
    QCheckBox* m_caseSensitive = nullptr;
    QLineEdit* m_value = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_or = nullptr;
};

} // namespace shell
