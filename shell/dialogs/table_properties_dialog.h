#pragma once

#include <QDateTime>
#include <QDialog>
#include <QFont>
#include <QString>

#include <cstdint>
#include <string>

namespace platform {
class FileSystem;
}
namespace table {
class CTable;
}

namespace shell {

// What the file system says about a table's file.
struct TableFileStatus
{
    QString fullName;
    std::uint64_t size = 0;
    QDateTime created; // where the file system keeps no birth time: its last status change
    QDateTime modified;
};

// Table properties: the file's name, size and times, the header's record count, header and
// record sizes and field count, and the field list (number, name, type, length, decimals)
// in columns under a heading, both in a fixed-pitch font the dialog owns. Times are written
// in the system locale's short date and time form. Only a Close button.
class CTablePropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    // REQUIRES: `table` is open.
    CTablePropertiesDialog(
        const TableFileStatus& status, const table::CTable& table, QWidget* parent = nullptr);

    // The status of the file at `path` (the system's bytes), opened for reading through
    // `fs`. False when it cannot be opened; `*error` is then the system's error number.
    static bool ReadStatus(
        platform::FileSystem& fs, const std::string& path, TableFileStatus* status, int* error);
    // The dialog for the table whose file is `path`, modal. A file that cannot be opened
    // shows the system's message for it instead, and no dialog.
    static void Show(QWidget* parent, platform::FileSystem& fs, const std::string& path,
        const table::CTable& table);

    // A time as the dialog shows it.
    static QString TimeText(const QDateTime& time);

private:
    QFont m_listFont;
};

} // namespace shell
