#pragma once

#include <QDialog>

class QCheckBox;

namespace shell {

// The help of the address classifiers (dialog 156): what the tables are, how the region
// table comes about, how to open the classifiers and how to select by region and by
// settlement, with the box "show this message when the classifiers are opened". OK accepts
// (the caller keeps the box's state); Escape and the close box reject.
class CClassifierHelpDialog : public QDialog
{
    Q_OBJECT

public:
    CClassifierHelpDialog(bool showOnOpen, QWidget* parent = nullptr);

    bool ShowOnOpen() const;

private:
    QCheckBox* m_showOnOpen = nullptr;
};

} // namespace shell
