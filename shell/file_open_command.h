#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QFileDialog;
class QWidget;

namespace platform {
class FileSystem;
}

namespace shell {

// More files than this chosen at once ask before they open.
inline constexpr int kOpenWithoutAsking = 5;

// The open dialog's filter in the widgets' form, from a resource filter such as
// "DBF files (*.dbf)|*.dbf|All files |*.*||": each description and pattern pair becomes
// "description (pattern)"; "*.*" stands for every file, as it always has in these filters.
QString FileDialogFilter(const std::string& resourceFilter);

// The multi-selection open dialog for existing tables, starting in the current directory. A
// name typed without an extension is taken with the default extension "dbf".
std::unique_ptr<QFileDialog> MakeOpenDialog(QWidget* parent);

// Runs the open dialog. The chosen paths in the dialog's order; none when cancelled. The
// directory they were chosen in becomes the current one, so the next dialog starts where
// tables were last opened from (Open in Directory moves it to the active table's).
std::vector<std::string> ChooseTablesToOpen(QWidget* parent);

// Opens the chosen paths that exist, in order, through `open`; paths that do not exist are
// skipped without a word. More than kOpenWithoutAsking existing files ask "Open %i files?"
// first, and only Yes opens them. Gives how many were passed to `open`.
int OpenChosenFiles(platform::FileSystem& fs, const std::vector<std::string>& paths,
                    const std::function<void(const std::string&)>& open);

} // namespace shell
