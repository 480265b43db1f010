#include "tools/cli/cli.h"

#include "platform/file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using testing_support::TableBuilder;
using testing_support::TempDir;

struct Outcome
{
    int code;
    std::string out;
    std::string err;
};

Outcome Cli(const std::vector<std::string>& args)
{
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::Run(args, platform::FileSystem::Default(), { in, out, err });
    return { code, out.str(), err.str() };
}

TEST(MakeRegionTest, BuildsAndReplacesTheRegionTable)
{
    TempDir dir;
    TableBuilder kladr;
    kladr.Field("NAME", 'C', 10).Field("CODE", 'C', 13);
    kladr.Record("Moscow    7700000000000").Record("District  7700100000000").Record("Tver      6900000000000");
    kladr.Write(dir.File("KLADR.DBF"));
    TableBuilder old;
    old.Field("X", 'C', 1).Record("x");
    old.Write(dir.File("Region.dbf"));

    const Outcome built = Cli({ "make-region", dir.Path() });
    ASSERT_EQ(built.code, 0) << built.err;
    EXPECT_EQ(built.out,
        "Region table:     " + dir.File("Region.dbf") + "\n"
        "Records visited:  3\n"
        "Records kept:     2\n");
    const Outcome info = Cli({ "info", dir.File("Region.dbf") });
    EXPECT_NE(info.out.find("Records:        2\n"), std::string::npos) << info.out;
}

TEST(MakeRegionTest, RefusesWhatIsNoClassifierDirectory)
{
    TempDir dir;
    const Outcome none = Cli({ "make-region", dir.Path() });
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.err, "lumetta-cli: " + dir.Path()
            + ": no KLADR table (Kladr.dbf) can be opened there; nothing was written\n");
    TableBuilder table;
    table.Field("X", 'C', 1).Record("x");
    table.Write(dir.File("t.dbf"));
    const Outcome file = Cli({ "make-region", dir.File("t.dbf") });
    EXPECT_EQ(file.code, 2);
    EXPECT_EQ(file.err, "lumetta-cli: " + dir.File("t.dbf") + ": no such directory\n");
    EXPECT_EQ(Cli({ "make-region" }).err, "lumetta-cli: make-region needs a DIR\n");
}

} // namespace
