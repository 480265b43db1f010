#pragma once

#include "table/date_format.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QListWidget;

namespace shell {

// The Language command's dialog: the languages the program knows (a sorted list, the current
// one selected) and the five date forms (the current one selected). Names are cp1251.
//
// It decides nothing: its caller compares the choice with what is current and applies it.
class CSelectLanguageDialog : public QDialog
{
    Q_OBJECT

public:
    CSelectLanguageDialog(const std::vector<std::string>& languages, const std::string& current,
        table::DateFormat currentFormat, QWidget* parent = nullptr);

    // The selected language; the current one when nothing is selected.
    std::string ChosenLanguage() const;
    table::DateFormat ChosenDateFormat() const;

private:
    QListWidget* m_list = nullptr;
    QComboBox* m_dateFormat = nullptr;
    std::string m_current;
    table::DateFormat m_currentFormat;
};

} // namespace shell
