#include "platform/file_system.h"
#include "platform/profile_file.h"
#include "shell/settings/app_settings.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using shell::AppSettings;
using table::DateFormat;

class AppSettingsTest : public ::testing::Test
{
protected:
    std::string Text() const
    {
        const auto bytes = testing_support::ReadAllBytes(file.Path());
        return { bytes.begin(), bytes.end() };
    }

    testing_support::TempDir dir;
    platform::ProfileFile file { platform::FileSystem::Default(), dir.File("Lumetta.ini") };
};

TEST_F(AppSettingsTest, NoFileGivesTheDefaultsAndExitWritesEveryKey)
{
    const AppSettings settings = AppSettings::Read(file, "English");
    EXPECT_EQ(settings.font, shell::FontRecord {});
    EXPECT_EQ(settings.font.faceName, "Courier New");
    EXPECT_EQ(settings.font.height, -13);
    EXPECT_EQ(settings.font.weight, 400);
    EXPECT_EQ(settings.font.charSet, 204);
    EXPECT_EQ(settings.language, "English");
    EXPECT_EQ(settings.dateFormat, DateFormat::kDdMmYyyy);

    ASSERT_TRUE(settings.Write(file));
    EXPECT_EQ(Text(),
        "[Font]\r\nFaceName=Courier New\r\nHight=-13\r\nWidth=0\r\nWeight=400\r\n"
        "Italic=0\r\nCharSet=204\r\n\r\n[Interface]\r\nLanguage=English\r\n"
        "Date=DD.MM.YYYY\r\n");
}

TEST_F(AppSettingsTest, SavedValuesReadBackAndBytesWrapAsInTheFontRecord)
{
    AppSettings saved;
    saved.font = { "Arial Cyr", 16, 7, 700, 1, 0 };
    saved.language = "\xD0\xF3\xF1\xF1\xEA\xE8\xE9"; // "Russian" in 1251
    saved.dateFormat = DateFormat::kYyyyMmDd;
    ASSERT_TRUE(saved.Write(file));
    const AppSettings read = AppSettings::Read(file, "English");
    EXPECT_EQ(read.font, saved.font);
    EXPECT_EQ(read.language, saved.language);
    EXPECT_EQ(read.dateFormat, DateFormat::kYyyyMmDd);

    ASSERT_TRUE(file.WriteString("Font", "FaceName", std::string(40, 'F')));
    ASSERT_TRUE(file.WriteString("Font", "Italic", "257"));
    ASSERT_TRUE(file.WriteString("Font", "CharSet", "-1"));
    const AppSettings odd = AppSettings::Read(file, "English");
    EXPECT_EQ(odd.font.faceName, std::string(31, 'F'));
    EXPECT_EQ(odd.font.italic, 1);
    EXPECT_EQ(odd.font.charSet, 255);
}

TEST_F(AppSettingsTest, DateTextsMatchExactly)
{
    const std::pair<const char*, DateFormat> cases[] = {
        { "YYYYMMDD", DateFormat::kYyyyMmDd },
        { "MM/DD/YY", DateFormat::kMmDdYy },
        { "MM/DD/YYYY", DateFormat::kMmDdYyyy },
        { "DD.MM.YY", DateFormat::kDdMmYy },
        { "DD.MM.YYYY", DateFormat::kDdMmYyyy },
        { "dd.mm.yy", DateFormat::kDdMmYyyy },
        { "MM/DD", DateFormat::kDdMmYyyy },
        { "", DateFormat::kDdMmYyyy },
    };
    for (const auto& [text, form] : cases) {
        ASSERT_TRUE(file.WriteString("Interface", "Date", text));
        EXPECT_EQ(AppSettings::Read(file, "English").dateFormat, form) << '"' << text << '"';
    }
    EXPECT_EQ(shell::DateFormatText(DateFormat::kMmDdYyyy), "MM/DD/YYYY");
}

TEST_F(AppSettingsTest, ClassifierHelpIsShownUnlessTurnedOff)
{
    EXPECT_TRUE(shell::ReadShowClassifierHelp(file));
    ASSERT_TRUE(shell::WriteShowClassifierHelp(file, false));
    EXPECT_FALSE(shell::ReadShowClassifierHelp(file));
    EXPECT_EQ(file.GetString("RUR", "ShowHelp", ""), "0");
}

} // namespace
