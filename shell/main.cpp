#include "platform/file_system.h"
#include "platform/program_directory.h"
#include "platform/qt/qt_prompt.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "resources/table_resources.h"
#include "shell/quit_on_signal.h"
#include "shell/viewer_app.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Without a display Qt would abort in its platform plugin; say how to run instead.
bool HasDisplay()
{
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char* argv[])
{
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "lumetta: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Run it on a desktop, or under a virtual display, for example:\n"
                     "  xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
    QApplication qtApplication(argc, argv);
    // Names the desktop entry the windows belong to, so the desktop shows its icon and
    // groups the windows under it.
    QGuiApplication::setDesktopFileName(QStringLiteral("lumetta"));
    const shell::QuitOnSignal quitOnSignal;
    platform::FileSystem& fs = platform::FileSystem::Default();
    shell::CViewerApp app(fs, platform::SettingsLocation::ForThisProgram(fs));
    // Boxes are titled with the program's built-in title from the first one on.
    resources::InstallEnglishResources();
    platform::qt::QtPrompt prompt(platform::LoadString(IDS_APP_TITLE));
    platform::SetCurrentPrompt(&prompt);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!app.InitInstance(arguments))
        return 1;
    const int result = QApplication::exec();
    app.ExitInstance();
    platform::SetCurrentPrompt(nullptr);
    return result;
}
