#pragma once

#include <QDialog>

#include <string>

namespace shell {

// Asks whether to delete the index file another program keeps beside a table that was just
// saved: that index does not know the records written. "Yes" (accepted), "All" (accepted,
// and the caller stops asking for the rest of the session) or "No" (rejected; also Escape).
// Texts come from dialog 146 and string 61916, which names the table's path (cp1251).
class CDeleteIndexDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CDeleteIndexDialog(const std::string& tablePath, QWidget* parent = nullptr);

    // Whether the dialog was closed with "All".
    bool ChoseAll() const { return m_all; }

private:
    bool m_all = false;
};

} // namespace shell
