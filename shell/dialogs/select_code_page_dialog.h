#pragma once

#include "table/code_page_id.h"

#include <QDialog>

class QCheckBox;
class QListWidget;

namespace shell {

// Select codepage: the four choices ("<no codepage set>", "<autodetect>", the DOS and the
// Windows code page) in a sorted list, the table's current code page selected and named
// above it, and whether to write the choice into the file (unticked at every opening).
//
// It decides nothing: its caller reads ChosenCodePage() and WriteIntoFile() after OK and
// applies them to the table.
class CSelectCodePageDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CSelectCodePageDialog(table::CodePageId current, QWidget* parent = nullptr);

    // The code page of the entry selected (kAutodetect asks for a guess); the current one
    // when nothing is selected.
    table::CodePageId ChosenCodePage() const;
    bool WriteIntoFile() const;

private:
    table::CodePageId m_current;
    QListWidget* m_list = nullptr;
    QCheckBox* m_write = nullptr;
};

} // namespace shell
