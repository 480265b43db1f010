#pragma once

// The whole program started for a benchmark, its settings in a folder of its own under the
// system's temporary directory, its main window at a working size.

#include "platform/file_system.h"
#include "platform/program_directory.h"
#include "shell/main_frame.h"
#include "shell/viewer_app.h"

#include <filesystem>
#include <string>

namespace bench {

inline std::string ProgramFolder(const char* name)
{
    const std::string folder = (std::filesystem::temp_directory_path() / name).string();
    std::filesystem::create_directories(folder);
    return folder;
}

struct StartedProgram
{
    explicit StartedProgram(const char* folder)
        : app(platform::FileSystem::Default(),
            platform::SettingsLocation(platform::FileSystem::Default(), ProgramFolder(folder),
                ProgramFolder(folder)))
        , started(app.InitInstance({}))
    {
        if (started)
            app.MainFrame()->resize(1200, 800);
    }

    shell::CViewerApp app;
    bool started;
};

} // namespace bench
