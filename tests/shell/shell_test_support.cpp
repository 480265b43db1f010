#include "tests/shell/shell_test_support.h"

#include "platform/file_system.h"
#include "platform/program_directory.h"
#include "shell/main_frame.h"
#include "tests/support/table_builder.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

namespace shell_testing {
namespace {

constexpr int kPollMs = 10;
constexpr int kPolls = 500;

void PollForDialog(const QString& name, std::function<void(QDialog&)> act, int pollsLeft)
{
    QTimer::singleShot(kPollMs, [name, act = std::move(act), pollsLeft]() mutable {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if (pollsLeft > 0)
                PollForDialog(name, std::move(act), pollsLeft - 1);
            else
                ADD_FAILURE() << "no dialog " << name.toStdString() << " was shown";
            return;
        }
        if (dialog->objectName() != name) {
            ADD_FAILURE() << "dialog " << dialog->objectName().toStdString() << " was shown, not "
                          << name.toStdString();
            dialog->done(QDialog::Rejected);
            return;
        }
        act(*dialog);
        if (dialog->isVisible())
            dialog->done(QDialog::Rejected);
    });
}

} // namespace

void OnModalDialog(const char* name, std::function<void(QDialog&)> act)
{
    PollForDialog(QString::fromLatin1(name), std::move(act), kPolls);
}

ShellTest::~ShellTest()
{
    app.reset();
}

void ShellTest::Start(const std::vector<std::string>& arguments, shell::CommonControlsVersion controls)
{
    app = std::make_unique<shell::CViewerApp>(
        files, platform::SettingsLocation(files, programDir.Path(), configDir.Path()), controls);
    ASSERT_TRUE(app->InitInstance(arguments));
    QApplication::processEvents();
}

std::string ShellTest::WriteTable(const std::string& name, int records) const
{
    testing_support::TableBuilder builder;
    builder.Field("NAME", 'C', 10).Field("SUM", 'N', 6, 2);
    for (int i = 0; i < records; ++i) {
        char sum[8];
        std::snprintf(sum, sizeof sum, "%6.2f", i * 1.5);
        builder.Record("Name" + std::to_string(i) + std::string(10 - 4 - std::to_string(i).size(), ' ') + sum);
    }
    const std::string path = tables.File(name);
    builder.Write(path);
    return path;
}

std::string ShellTest::SettingsText() const
{
    const auto bytes = testing_support::ReadAllBytes(programDir.File("Lumetta.ini"));
    return { bytes.begin(), bytes.end() };
}

void ShellTest::WriteSettings(const std::string& text) const
{
    testing_support::WriteAllBytes(programDir.File("Lumetta.ini"), { text.begin(), text.end() });
}

void ShellTest::Screenshot(const char* name, QWidget* widget) const
{
    QDir().mkpath(QStringLiteral(LUMETTA_SCREENSHOT_DIR));
    const QString path = QStringLiteral(LUMETTA_SCREENSHOT_DIR "/%1.png").arg(QString::fromLatin1(name));
    EXPECT_TRUE((widget ? widget : &Main())->grab().save(path));
}

} // namespace shell_testing
