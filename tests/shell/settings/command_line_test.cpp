#include "shell/settings/command_line.h"

#include <gtest/gtest.h>

namespace {

using shell::ParseCommandLine;
using Files = std::vector<std::string>;

TEST(CommandLineTest, FilesComeInOrderAndSwitchesAreSkipped)
{
    EXPECT_EQ(ParseCommandLine({}).files, Files {});
    const auto line = ParseCommandLine({ "a.dbf", "-x", "/data/b.dbf", "", "../c.dbf" });
    EXPECT_EQ(line.files, (Files { "a.dbf", "/data/b.dbf", "../c.dbf" }));
    EXPECT_FALSE(line.classifierDirectory);
}

TEST(CommandLineTest, ClassifierSwitchTakesADirectoryInEitherForm)
{
    EXPECT_EQ(ParseCommandLine({ "-k/data/kladr" }).classifierDirectory, "/data/kladr/");
    const auto separate = ParseCommandLine({ "a.dbf", "-k", " /data/kladr/ ", "b.dbf" });
    EXPECT_EQ(separate.classifierDirectory, "/data/kladr/");
    EXPECT_EQ(separate.files, (Files { "a.dbf", "b.dbf" })); // the directory is no table
    EXPECT_EQ(ParseCommandLine({ "-k", "one", "-ktwo" }).classifierDirectory, "one/");
    EXPECT_FALSE(ParseCommandLine({ "-k" }).classifierDirectory);
    EXPECT_FALSE(ParseCommandLine({ "-k  " }).classifierDirectory);
}

} // namespace
