#pragma once

#include <QDialog>

class QButtonGroup;
class QLineEdit;

namespace shell {

class CUpDownCtrl;

// What the Go To dialog asks for: where to go (numbered as the grid's GoToPosition takes
// them) and the row and record numbers typed last. A table window keeps one for its
// lifetime, so the dialog opens as it was left.
struct GoToChoice
{
    enum Kind { kTop = 0, kBottom = 1, kRow = 2, kRecord = 3 };

    int kind = kTop;
    long long row = 0;
    long long record = 0;
};

// The Go To dialog: the first row, the last row, a row number or a record number. The row
// edit and its arrows are enabled only for "Row", the record edit and its arrows only for
// "Record". The arrows reach the table window's row count and record count (a table of
// millions of rows can be reached anywhere), and no larger number can be typed.
//
// It decides nothing: its caller reads Choice() after OK and goes there.
class CGoToDialog : public QDialog
{
    Q_OBJECT

public:
    // Numbers outside 1..count are brought into it; a count of 0 leaves the edit empty.
    CGoToDialog(const GoToChoice& choice, long long rowCount, long long recordCount,
        QWidget* parent = nullptr);

    GoToChoice Choice() const;
    // The number to go to: the row for "Row", the record for "Record", 0 otherwise.
    long long Number() const;

private:
    void OnKindChosen(int kind);

    QButtonGroup* m_kinds = nullptr;
    QLineEdit* m_row = nullptr;
    QLineEdit* m_record = nullptr;
    CUpDownCtrl* m_rowSpin = nullptr;
    CUpDownCtrl* m_recordSpin = nullptr;
};

} // namespace shell
