#pragma once

#include <QString>

#include <functional>
#include <string>
#include <vector>

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

// The multi-selection open dialog for existing tables, starting in the current directory.
// The chosen paths in the dialog's order; none when cancelled.
std::vector<std::string> ChooseTablesToOpen(QWidget* parent);

// Opens the chosen paths that exist, in order, through `open`; paths that do not exist are
// skipped without a word. More than kOpenWithoutAsking existing files ask "Open %i files?"
// first, and only Yes opens them. Gives how many were passed to `open`.
int OpenChosenFiles(platform::FileSystem& fs, const std::vector<std::string>& paths,
                    const std::function<void(const std::string&)>& open);

} // namespace shell
