#include "platform/file_system.h"
#include "platform/profile_file.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <random>

namespace {

using platform::ProfileFile;
using testing_support::ReadAllBytes;
using testing_support::TempDir;

class ProfileFileTest : public ::testing::Test
{
protected:
    void WriteText(const std::string& text)
    {
        testing_support::WriteAllBytes(path, { text.begin(), text.end() });
    }
    std::string Text() const
    {
        const auto bytes = ReadAllBytes(path);
        return { bytes.begin(), bytes.end() };
    }

    TempDir dir;
    std::string path = dir.File("Lumetta.ini");
    ProfileFile file { platform::FileSystem::Default(), path };
};

TEST_F(ProfileFileTest, NamesMatchWithoutCaseAndTheFirstOfDuplicatesWins)
{
    WriteText("; remark\n"
              "  [ Font ]  ; heads may carry remarks\n"
              "FaceName = Arial Narrow \n"
              "facename=Second\n"
              "Quoted=\" padded \"\n"
              "Single='x'\n"
              "Unpaired=\"x\n"
              "Empty=\n"
              "NoEquals\n"
              ";Hidden=1\n"
              "[font]\n"
              "Weight=700\n"
              "[\xCF\xF0\xE8\xEC\xE5\xF0]\n" // a Cyrillic section name in 1251
              "Key=cyr\n");
    EXPECT_EQ(file.GetString("FONT", "FACENAME", "d"), "Arial Narrow");
    EXPECT_EQ(file.GetString("Font", "Quoted", "d"), " padded ");
    EXPECT_EQ(file.GetString("Font", "Single", "d"), "x");
    EXPECT_EQ(file.GetString("Font", "Unpaired", "d"), "\"x");
    EXPECT_EQ(file.GetString("Font", "Empty", "d"), "");
    EXPECT_EQ(file.GetString("Font", "NoEquals", "d"), "d");
    EXPECT_EQ(file.GetString("Font", ";Hidden", "d"), "d");
    // Only the first [Font] is looked at, even for keys it lacks.
    EXPECT_EQ(file.GetInt("Font", "Weight", 400), 400);
    EXPECT_EQ(file.GetString("\xEF\xD0\xC8\xCC\xC5\xD0", "key", "d"), "cyr");
    EXPECT_EQ(file.GetString("Missing", "Key", "d"), "d");

    // A whole section at once gives what the single reads give, key by key.
    const std::vector<platform::ProfileEntry> font = file.ReadSection("FONT");
    ASSERT_EQ(font.size(), 5u);
    EXPECT_EQ(font[0].key, "FaceName");
    EXPECT_EQ(font[0].value, "Arial Narrow");
    EXPECT_EQ(font[1].key, "Quoted");
    EXPECT_EQ(font[1].value, " padded ");
    EXPECT_EQ(font[4].key, "Empty");
    EXPECT_TRUE(file.ReadSection("Missing").empty());
}

TEST_F(ProfileFileTest, IntegersAreTheLeadingDecimalNumber)
{
    WriteText("[N]\r\na=-13\r\nb= +42abc\r\nc=abc\r\nd=0x10\r\ne=\r\nf=4294967299\r\n");
    EXPECT_EQ(file.GetInt("N", "a", 7), -13);
    EXPECT_EQ(file.GetInt("N", "b", 7), 42);
    EXPECT_EQ(file.GetInt("N", "c", 7), 0);
    EXPECT_EQ(file.GetInt("N", "d", 7), 0);
    EXPECT_EQ(file.GetInt("N", "e", 7), 7); // empty value: the default
    EXPECT_EQ(file.GetInt("N", "f", 7), 3); // wraps at 32 bits
    EXPECT_EQ(file.GetInt("N", "missing", 7), 7);
}

TEST_F(ProfileFileTest, WritesKeepTheRestOfTheFileInPlace)
{
    WriteText("; settings\n[Font]\nFaceName = Arial\n; keep me\n\n[Other]\nx=1");
    ASSERT_TRUE(file.WriteString("FONT", "facename", "Courier New"));
    ASSERT_TRUE(file.WriteString("Font", "Hight", "-13"));
    ASSERT_TRUE(file.WriteString("Interface", "Language", "English"));
    EXPECT_EQ(Text(),
        "; settings\r\n[Font]\r\nFaceName=Courier New\r\n; keep me\r\nHight=-13\r\n\r\n"
        "[Other]\r\nx=1\r\n\r\n[Interface]\r\nLanguage=English\r\n");
}

TEST_F(ProfileFileTest, FirstWriteCreatesTheFile)
{
    EXPECT_EQ(file.GetString("A", "k", "d"), "d");
    ASSERT_TRUE(file.WriteString("A", "k", "v"));
    EXPECT_EQ(Text(), "[A]\r\nk=v\r\n");
}

TEST_F(ProfileFileTest, NamesThatWouldBreakTheFileAreRefused)
{
    EXPECT_FALSE(file.WriteString("A]B", "Key", "v"));
    EXPECT_FALSE(file.WriteString("Section", "K=ey", "v"));
    EXPECT_FALSE(file.WriteString("Section", "Key\n[Evil]", "v"));
    EXPECT_FALSE(file.WriteSection("", { { "Key", "v" } }));
    EXPECT_FALSE(file.WriteSection("Section", { { " ", "v" } }));
    // Names that would read back as a section head or a comment.
    EXPECT_FALSE(file.WriteString("T", "[T]k", "v"));
    EXPECT_FALSE(file.WriteString("T", " ;k", "v"));
    EXPECT_FALSE(file.WriteSection("T", { { "ok", "1" }, { "[x", "2" } }));
    EXPECT_FALSE(file.WriteString("[T", "k", "v"));
    EXPECT_FALSE(file.WriteString(";T", "k", "v"));
    EXPECT_FALSE(platform::FileSystem::Default().Exists(path));
    // Such characters inside a name are harmless.
    ASSERT_TRUE(file.WriteString("T;x", "k[1];", "v"));
    EXPECT_EQ(file.GetString("t;x", "K[1];", "-"), "v");
}

TEST_F(ProfileFileTest, SectionWritesAndDeletions)
{
    WriteText("[A]\nk=1\n;c\nK=2\n\n[Recent File List]\nFile1=a\nFile2=b\n\n[a]\nk=3\n[B]\nz=1\n");
    ASSERT_TRUE(file.WriteSection("recent file list", { { "File1", "c" } }));
    EXPECT_EQ(file.GetString("Recent File List", "File2", "-"), "-");
    ASSERT_TRUE(file.DeleteKey("A", "k")); // both entries of the first [A]
    EXPECT_EQ(file.GetString("A", "k", "-"), "-");
    ASSERT_TRUE(file.WriteSection("Recent File List", {}));
    EXPECT_EQ(Text(), "[A]\r\n;c\r\n\r\n[Recent File List]\r\n\r\n[a]\r\nk=3\r\n[B]\r\nz=1\r\n");
    ASSERT_TRUE(file.DeleteSection("A")); // every [A], so the second never comes to light
    EXPECT_EQ(file.GetString("A", "k", "-"), "-");
    EXPECT_EQ(Text(), "[Recent File List]\r\n\r\n[B]\r\nz=1\r\n");
    ASSERT_TRUE(file.WriteSection("New", { { "x", "1" }, { "y", "2" } }));
    EXPECT_EQ(file.GetInt("new", "Y", 0), 2);
}

TEST_F(ProfileFileTest, ValuesReadBackAsWritten)
{
    for (const std::string value : { " lead", "trail ", "\"quoted\"", "'q'", "a=b;c", "" }) {
        ASSERT_TRUE(file.WriteString("V", "k", value));
        EXPECT_EQ(file.GetString("V", "k", "d"), value);
    }
    ASSERT_TRUE(file.WriteString("V", "k", "two\r\nlines"));
    EXPECT_EQ(file.GetString("V", "k", "d"), "two  lines");
    EXPECT_EQ(file.GetString("V", "lines", "d"), "d");

    // A lone CR inside a line of a file edited by hand reads as the blank a write makes of
    // it, so the value read writes back unchanged.
    WriteText("[V]\r\nk=first\r((\r\n");
    EXPECT_EQ(file.GetString("V", "k", "d"), "first ((");
    ASSERT_EQ(file.ReadSection("V").size(), 1u);
    EXPECT_EQ(file.ReadSection("V")[0].value, "first ((");
}

TEST_F(ProfileFileTest, FailedWritesLeaveTheFileAsItWas)
{
    WriteText("[A]\r\nk=old\r\n");
    testing_support::FaultyFileSystem fs;
    ProfileFile faulty(fs, path);

    fs.failWriteFrom = 1;
    EXPECT_FALSE(faulty.WriteString("A", "k", "new"));
    fs.failWriteFrom = 0;
    fs.failRenames = true;
    EXPECT_FALSE(faulty.WriteSection("A", {}));
    EXPECT_FALSE(faulty.DeleteSection("A"));
    EXPECT_EQ(Text(), "[A]\r\nk=old\r\n");
    EXPECT_EQ(fs.List(dir.Path()), std::vector<std::string> { "Lumetta.ini" });

    // A file that is there but cannot be read is not replaced by what little was known.
    fs.failRenames = false;
    fs.failOpenContaining = "Lumetta.ini";
    EXPECT_EQ(faulty.GetString("A", "k", "d"), "d");
    EXPECT_FALSE(faulty.WriteString("B", "k", "v"));
    EXPECT_EQ(Text(), "[A]\r\nk=old\r\n");
}

TEST_F(ProfileFileTest, DamagedFilesReadWithoutHarm)
{
    std::mt19937 random(7);
    std::string junk(64 * 1024, '\0');
    for (char& c : junk)
        c = static_cast<char>(random());
    WriteText(junk + "\n[A]\nk=after junk");
    EXPECT_EQ(file.GetString("A", "k", "d"), "after junk"); // no final line end
    ASSERT_TRUE(file.WriteString("A", "k", "v"));
    EXPECT_EQ(file.GetString("A", "k", "d"), "v");

    WriteText("[A]\nk=" + std::string(4 * 1024 * 1024, 'x') + std::string(1, '\0') + "\r\r\n[");
    EXPECT_EQ(file.GetString("A", "k", "d").size(), 4u * 1024 * 1024 + 1);

    std::string huge(ProfileFile::kMaxFileSize + 1, '\n');
    WriteText(huge);
    EXPECT_EQ(file.GetString("A", "k", "d"), "d");
    EXPECT_FALSE(file.WriteString("A", "k", "v"));
}

} // namespace
