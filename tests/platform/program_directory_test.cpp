#include "platform/file_system.h"
#include "platform/program_directory.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using platform::SettingsLocation;
using testing_support::ReadAllBytes;
using testing_support::WriteAllBytes;

class ProgramDirectoryTest : public ::testing::Test
{
protected:
    testing_support::TempDir dir;
    std::string program = dir.File("bin/");
    std::string config = dir.File("home/.config/lumetta/");
    testing_support::FaultyFileSystem fs;

    void SetUp() override { ASSERT_TRUE(fs.CreateDirectories(program)); }
    // Opens of new files beside the program fail, as in an installed program's directory.
    void MakeProgramDirectoryReadOnly() { fs.failOpenContaining = program + ".lumetta"; }
};

TEST_F(ProgramDirectoryTest, ProgramDirectoryHoldsThisProgram)
{
    const std::string directory = platform::ProgramDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), '/');
    EXPECT_TRUE(fs.Exists(directory + "platform_tests"));
}

TEST_F(ProgramDirectoryTest, ConfigDirectoryFollowsXdgThenHome)
{
    EXPECT_EQ(platform::ConfigDirectoryFor("/x/cfg", "/home/u"), "/x/cfg/lumetta/");
    EXPECT_EQ(platform::ConfigDirectoryFor("/x/cfg/", "/home/u"), "/x/cfg/lumetta/");
    EXPECT_EQ(platform::ConfigDirectoryFor("relative", "/home/u"), "/home/u/.config/lumetta/");
    EXPECT_EQ(platform::ConfigDirectoryFor("", "/home/u"), "/home/u/.config/lumetta/");
    EXPECT_EQ(platform::ConfigDirectoryFor(nullptr, nullptr), "");
}

TEST_F(ProgramDirectoryTest, WritesBesideTheProgramWhenItCan)
{
    SettingsLocation location(fs, program, config);
    EXPECT_EQ(location.WriteDirectory(), program);
    EXPECT_EQ(location.ProfilePath("Lumetta.ini"), program + "Lumetta.ini");
    EXPECT_EQ(fs.List(program), std::vector<std::string> {}); // the probe is gone
    EXPECT_FALSE(fs.Exists(config));

    WriteAllBytes(program + "lumetta.INI", { 'x' }); // found in any letter case
    EXPECT_EQ(location.ProfilePath("Lumetta.ini"), program + "lumetta.INI");
    EXPECT_EQ(location.FindFile("LUMETTA.ini"), program + "lumetta.INI");
}

TEST_F(ProgramDirectoryTest, OtherwiseWritesToTheConfigDirectoryAndReadsThereFirst)
{
    MakeProgramDirectoryReadOnly();
    SettingsLocation location(fs, program, config);
    EXPECT_EQ(location.WriteDirectory(), config); // created
    EXPECT_TRUE(fs.IsDirectory(config));
    EXPECT_EQ(location.SearchDirectories(), (std::vector<std::string> { config, program }));
    EXPECT_EQ(location.ProfilePath("Lumetta.ini"), config + "Lumetta.ini");

    // A settings file installed beside the program is copied, not shadowed, on first use.
    WriteAllBytes(program + "Lumetta.ini", { 'i', 'n', 's', 't' });
    EXPECT_EQ(location.ProfilePath("Lumetta.ini"), config + "Lumetta.ini");
    EXPECT_EQ(ReadAllBytes(config + "Lumetta.ini"), ReadAllBytes(program + "Lumetta.ini"));
    WriteAllBytes(config + "Lumetta.ini", { 'u', 's', 'e', 'r' });
    EXPECT_EQ(location.ProfilePath("Lumetta.ini"), config + "Lumetta.ini");
    EXPECT_EQ(location.FindFile("Lumetta.ini"), config + "Lumetta.ini");
    EXPECT_EQ(location.FindFile("lumtrus.dll"), std::nullopt);
}

TEST_F(ProgramDirectoryTest, FallsBackToReadingWhenNothingCanBeWritten)
{
    MakeProgramDirectoryReadOnly();
    WriteAllBytes(program + "Lumetta.ini", { 'x' });
    SettingsLocation nowhere(fs, program, "");
    EXPECT_EQ(nowhere.WriteDirectory(), "");
    EXPECT_EQ(nowhere.ProfilePath("Lumetta.ini"), program + "Lumetta.ini");

    // The copy into the config directory fails: the installed file is still read.
    SettingsLocation location(fs, program, config);
    fs.failRenames = true;
    EXPECT_EQ(location.ProfilePath("Lumetta.ini"), program + "Lumetta.ini");
    EXPECT_EQ(fs.List(config), std::vector<std::string> {});
}

TEST_F(ProgramDirectoryTest, ReadsItsDataBesideItselfThenInTheInstalledShareFolder)
{
    EXPECT_EQ(platform::InstalledDataDirectoryFor("/usr/bin/"), "/usr/share/lumetta/");
    EXPECT_EQ(platform::InstalledDataDirectoryFor("/opt/x/bin"), "/opt/x/share/lumetta/");
    EXPECT_EQ(platform::InstalledDataDirectoryFor(""), "");

    const std::string data = dir.File("share/lumetta/");
    ASSERT_TRUE(fs.CreateDirectories(data));
    EXPECT_EQ(platform::FindProgramData(fs, program, "lumteng.html"), std::nullopt);
    WriteAllBytes(data + "lumteng.html", { 'i' });
    EXPECT_EQ(platform::FindProgramData(fs, program, "LUMTENG.html"), data + "lumteng.html");

    // A directory of the name beside the program is passed over; a file there wins.
    ASSERT_TRUE(fs.CreateDirectories(program + "lumteng.html"));
    EXPECT_EQ(platform::FindProgramData(fs, program, "lumteng.html"), data + "lumteng.html");
    ASSERT_TRUE(fs.RemoveAll(program + "lumteng.html"));
    WriteAllBytes(program + "Lumteng.HTML", { 'b' });
    EXPECT_EQ(platform::FindProgramData(fs, program, "lumteng.html"), program + "Lumteng.HTML");
    EXPECT_EQ(platform::FindProgramData(fs, "", "lumteng.html"), std::nullopt);
}

} // namespace
