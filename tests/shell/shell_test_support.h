#pragma once

#include "shell/common_controls.h"
#include "shell/viewer_app.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

#include <QDialog>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace shell_testing {

// Runs `act` on the modal dialog named `name` (its template's id constant) as soon as the
// code under test shows it, from inside that dialog's own event loop; a dialog `act` leaves
// open is then cancelled, so a test never hangs on it. Another dialog, or none within a
// few seconds, fails the test. Call it before the command that opens the dialog; for a
// dialog opened from another, call it from the outer one's `act` before the button.
void OnModalDialog(const char* name, std::function<void(QDialog&)> act);

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
