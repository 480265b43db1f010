#pragma once

#include "shell/common_controls.h"
#include "shell/viewer_app.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace shell_testing {

// A running program for a test: its own program directory (where the settings file goes),
// a directory for tables, and the application started with a command line. The program
// reaches files through `files`, which fails only when a test asks it to.
class ShellTest : public ::testing::Test
{
protected:
    ~ShellTest() override;

    // Starts the application; its main window shows (offscreen).
    void Start(const std::vector<std::string>& arguments = {},
               shell::CommonControlsVersion controls = {});
    shell::CMainFrame& Main() const { return *app->MainFrame(); }

    // A small table `name` in the table directory: NAME C10, SUM N6.2, `records` records.
    std::string WriteTable(const std::string& name, int records = 3) const;
    std::string SettingsText() const;
    void WriteSettings(const std::string& text) const;

    // Saves `widget` (the main window when null) as `name`.png in the screenshot folder, for
    // a person to look at.
    void Screenshot(const char* name, QWidget* widget = nullptr) const;

    testing_support::FaultyFileSystem files;
    testing_support::TempDir programDir;
    testing_support::TempDir configDir;
    testing_support::TempDir tables;
    std::unique_ptr<shell::CViewerApp> app;
};

} // namespace shell_testing
