#include "shell/file_open_command.h"

#include "platform/file_system.h"
#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/path_text.h"

#include <QFileDialog>
#include <QStringList>

namespace shell {

QString FileDialogFilter(const std::string& resourceFilter)
{
    const QStringList parts = platform::qt::FromAnsi(resourceFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString pattern = parts[i + 1].trimmed();
        if (description.isEmpty() || pattern.isEmpty())
            break;
        // "*.*" is every file there; here it would leave out names without a dot.
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        // A description that already shows its pattern is kept as it is; the widgets read
        // the pattern from the parentheses.
        const QString shown = description.endsWith(QLatin1Char(')'))
            ? description.left(description.lastIndexOf(QLatin1Char('('))).trimmed()
            : description;
        filters << QStringLiteral("%1 (%2)").arg(shown, pattern);
    }
    return filters.join(QStringLiteral(";;"));
}

std::unique_ptr<QFileDialog> MakeOpenDialog(QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent, QString(),
        PathToQString(CurrentDirectory()), FileDialogFilter(platform::LoadString(IDS_OPEN_FILTER)));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setDefaultSuffix(QStringLiteral("dbf"));
    return dialog;
}

std::vector<std::string> ChooseTablesToOpen(QWidget* parent)
{
    const std::unique_ptr<QFileDialog> dialog = MakeOpenDialog(parent);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    std::vector<std::string> paths;
    for (const QString& path : dialog->selectedFiles())
        paths.push_back(PathFromQString(path));
    if (!paths.empty()) {
        const std::string directory = platform::DirectoryOf(paths.front());
        if (!directory.empty())
            (void)SetCurrentDirectory(directory);
    }
    return paths;
}

int OpenChosenFiles(platform::FileSystem& fs, const std::vector<std::string>& paths,
                    const std::function<void(const std::string&)>& open)
{
    int existing = 0;
    for (const std::string& path : paths)
        existing += fs.Exists(path) ? 1 : 0;
    if (existing > kOpenWithoutAsking) {
        const std::string question
            = platform::FormatText(platform::LoadString(IDS_OPEN_FILES_QUESTION), { existing });
        if (platform::AskUser(question, platform::PromptButtons::kYesNo,
                platform::PromptIcon::kQuestion)
            != platform::IDYES)
            return 0;
    }
    int opened = 0;
    for (const std::string& path : paths) {
        if (fs.Exists(path)) {
            open(path);
            ++opened;
        }
    }
    return opened;
}

} // namespace shell
