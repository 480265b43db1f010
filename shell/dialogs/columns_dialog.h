#pragma once

#include "tablegrid/operations/column_layout.h"

#include <QDialog>
#include <QIcon>

#include <functional>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace shell {

// Columns: which of a table window's columns are shown and in what order. A list of the
// columns (title, type, length, decimals) with a picture telling shown from hidden; Space or
// a double-click on a column, or Show and Hide, change it, Show All shows every column, Up
// and Down move it. Hiding every column is allowed.
//
// It works on its own copy of the layout: OK leaves the edited copy in Layout() for the
// caller to put in place, Cancel leaves the window's layout untouched. "Table..." and Help
// do what the caller gives them; without an action the button is disabled.
class CColumnsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CColumnsDialog(const tablegrid::ColumnLayout& layout, QWidget* parent = nullptr);

    const tablegrid::ColumnLayout& Layout() const { return m_layout; }
    int CurrentIndex() const { return m_current; }

    // "Table...": shows the table's properties over the dialog (handed as the parent).
    void SetTableAction(std::function<void(QWidget* parent)> action);
    void SetHelpAction(std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refill();
    void Toggle();
    void SetCurrentVisible(bool visible);
    void ShowAll();
    void Move(int step);
    void UpdateButtons();

    tablegrid::ColumnLayout m_layout;
    int m_current = 0;
    QIcon m_shown;
    QIcon m_hidden;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_show = nullptr;
    QPushButton* m_hide = nullptr;
    QPushButton* m_showAll = nullptr;
    QPushButton* m_table = nullptr;
    QPushButton* m_help = nullptr;
    std::function<void(QWidget*)> m_tableAction;
    std::function<void()> m_helpAction;
};

} // namespace shell
