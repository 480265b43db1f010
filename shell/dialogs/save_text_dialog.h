#pragma once

#include "tablegrid/operations/text_export_format.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace shell {

// Save As Text: how each field of the exported lines is enclosed and what parts the fields,
// with a sample line of four fields that follows every change. The separator is one of four
// named characters (comma, semicolon, tab, space) or any text under "Other:"; a format
// whose separator is one of the four opens with it chosen, any other with "Other:" ticked.
// OK with an empty delimiter or separator asks first whether to go on (No keeps the dialog
// open).
class CSaveTextDialog : public QDialog
{
    Q_OBJECT

public:
    // `path` (cp1251) is shown as the file written to.
    CSaveTextDialog(const std::string& path, const tablegrid::TextExportFormat& format,
        QWidget* parent = nullptr);

    // The format as the dialog shows it now (after OK: as accepted).
    tablegrid::TextExportFormat Format() const;

    // Runs the dialog over `*format`; after OK it holds the accepted format. False when the
    // user cancelled (the format is then left as it was).
    static bool Ask(QWidget* parent, const std::string& path, tablegrid::TextExportFormat* format);

private:
    void OnOk();
    void UpdateControls();

    QLineEdit* m_left = nullptr;
    QLineEdit* m_right = nullptr;
    QComboBox* m_separators = nullptr;
    QCheckBox* m_other = nullptr;
    QLineEdit* m_otherText = nullptr;
    QLabel* m_sample = nullptr;
};

} // namespace shell
