#include "shell/settings/language_list.h"

#include "platform/language_library.h"
#include "platform/program_directory.h"
#include "resources/resource_ids.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

using testing_support::TempDir;

// A library of two strings: its language name and its signature.
std::string Library(const std::string& name, const std::string& signature)
{
    std::string data(platform::kLanguageLibraryMagic);
    const auto u32 = [&data](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            data += static_cast<char>(v >> (8 * i) & 0xFF);
    };
    u32(platform::kLanguageLibraryVersion);
    u32(2);
    u32(0);
    u32(0);
    for (const auto& [id, text] : { std::pair { IDS_LANGUAGE_NAME, name },
                                    std::pair { IDS_RESOURCE_SIGNATURE, signature } }) {
        u32(static_cast<std::uint32_t>(id));
        u32(static_cast<std::uint32_t>(text.size()));
        data += text;
    }
    return data;
}

class LanguageListTest : public ::testing::Test
{
protected:
    static void Write(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    shell::LanguageList Scan()
    {
        return shell::ScanLanguageLibraries(fs, { program.Path(), config.Path() }, "English",
                                            kSignature);
    }

    static constexpr const char* kSignature = "Lumetta resource file";
    testing_support::FaultyFileSystem fs;
    TempDir program;
    TempDir config;
};

TEST_F(LanguageListTest, ExtractWritesBesideTheProgramOrElseInTheSettingsDirectory)
{
    const platform::SettingsLocation location(fs, program.Path(), config.File("lumetta"));
    Write(program.File("lumtrus.dll"), "an older copy");
    ASSERT_TRUE(shell::ExtractLanguageLibrary(fs, location, "lumtrus.dll", "image"));
    EXPECT_EQ(testing_support::ReadAllBytes(program.File("lumtrus.dll")),
              std::vector<std::uint8_t>({ 'i', 'm', 'a', 'g', 'e' }));

    fs.failOpenContaining = program.Path() + ".lumetta"; // the program's directory is read-only
    ASSERT_TRUE(shell::ExtractLanguageLibrary(fs, location, "lumtrus.dll", "image 2"));
    EXPECT_EQ(testing_support::ReadAllBytes(config.File("lumetta/lumtrus.dll")).size(), 7u);

    fs.failWriteFrom = 1;
    EXPECT_FALSE(shell::ExtractLanguageLibrary(fs, location, "lumtrus.dll", "image 3"));
    EXPECT_EQ(testing_support::ReadAllBytes(config.File("lumetta/lumtrus.dll")).size(), 7u)
        << "a failed write leaves the copy there was";
}

TEST_F(LanguageListTest, ScanListsSignedLibrariesOfBothDirectories)
{
    Write(program.File("lumtrus.dll"), Library("Russian", kSignature));
    Write(config.File("LUMTDEU.DLL"), Library("Deutsch", kSignature));
    Write(program.File("lumtfake.dll"), Library("Fake", "Another program's resources"));
    Write(program.File("lumtcut.dll"), Library("Cut", kSignature).substr(0, 40));
    Write(program.File("lumtrand.dll"), std::string(300, '\x5A'));
    Write(program.File("lumtnameless.dll"), Library("", kSignature));
    Write(program.File("other.dll"), Library("Other", kSignature));
    const shell::LanguageList expected { { "English", "" },
        { "Russian", program.File("lumtrus.dll") }, { "Deutsch", config.File("LUMTDEU.DLL") } };
    EXPECT_EQ(Scan(), expected);
}

TEST_F(LanguageListTest, FirstLibraryOfANameWinsButTheBuiltInNameIsReplaced)
{
    Write(program.File("lumtrus.dll"), Library("Russian", kSignature));
    Write(config.File("lumtrus.dll"), Library("Russian", kSignature));
    Write(config.File("lumteng.dll"), Library("English", kSignature));
    const shell::LanguageList expected { { "English", config.File("lumteng.dll") },
        { "Russian", program.File("lumtrus.dll") } };
    EXPECT_EQ(Scan(), expected);
    EXPECT_NE(shell::LoadLanguageLibrary(fs, program.File("lumtrus.dll"), kSignature), nullptr);
    EXPECT_EQ(shell::LoadLanguageLibrary(fs, program.File("lumtrus.dll"), "Other"), nullptr);
}

} // namespace
