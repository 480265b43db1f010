#include "shell/database_schema_command.h"

#include "platform/file_system.h"
#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/database_registry.h"
#include "shell/dialogs/database_dialog.h"
#include "shell/dialogs/dialog_texts.h"
#include "shell/file_open_command.h"
#include "shell/path_text.h"
#include "table/table_database.h"

#include <QFileDialog>

namespace shell {

std::string ChooseDatabaseDirectory(QWidget* parent)
{
    QFileDialog dialog(
        parent, ResourceText(IDS_SELECT_DATABASE_DIRECTORY), PathToQString(CurrentDirectory()));
    dialog.setObjectName(QStringLiteral("DatabaseDirectoryDialog"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    std::string directory = PathFromQString(dialog.selectedFiles().front());
    if (!directory.empty() && directory.back() != '/')
        directory += '/';
    return directory;
}

void RunDatabaseSchemaCommand(platform::FileSystem& fs, QWidget* parent, std::function<void()> help)
{
    const std::string directory = ChooseDatabaseDirectory(parent);
    if (directory.empty())
        return;
    table::TableDatabase database(fs);
    if (!database.SetDatabaseDirectory(directory))
        return;
    (void)SetCurrentDirectory(directory);
    // A directory without a schema file starts with an empty schema.
    (void)database.LoadSchema(DatabaseRegistry::kSchemaFileName);

    CDatabaseDialog dialog(database, parent);
    dialog.SetHelpAction(help);
    dialog.SetFileChooser([](QWidget* owner) {
        const std::unique_ptr<QFileDialog> files = MakeOpenDialog(owner);
        std::vector<std::string> paths;
        if (files->exec() == QDialog::Accepted) {
            for (const QString& path : files->selectedFiles())
                paths.push_back(PathFromQString(path));
        }
        return paths;
    });
    dialog.exec();

    if (!database.SaveSchema(DatabaseRegistry::kSchemaFileName)) {
        (void)platform::AskUser(
            platform::FormatText(platform::LoadString(IDS_SCHEMA_SAVE_FAILED),
                { PathToAnsi(database.Directory() + DatabaseRegistry::kSchemaFileName) }),
            platform::PromptButtons::kOk, platform::PromptIcon::kStop);
    }
}

} // namespace shell
