#pragma once

#include "platform/file_system.h"
#include "table/table_database.h"
#include "tablegrid/row_images.h"
#include "tablegrid/table_wnd_grid.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tablegrid::test {

using testing_support::TableBuilder;

// Records what the grid shows in the status bars.
class FakeHost : public tablegrid::TableWindowHost
{
public:
    void ShowMainStatus(int pane, const std::string& text) override
    {
        main[pane] = text;
        if (pane == 0)
            mainHistory.push_back(text);
    }
    void ShowFrameStatus(int pane, const std::string& text) override { frame[pane] = text; }
    void UpdateFrameTitle() override { ++titleUpdates; }
    bool AskDeleteIndexFile(const std::string& tablePath) override
    {
        indexQuestions.push_back(tablePath);
        return deleteIndex;
    }

    bool AskSaveOptions(const std::string& tableName, bool* allColumns, bool* allRecords) override
    {
        saveOptionQuestions.push_back(tableName + ":" + std::to_string(*allColumns) + ":"
            + std::to_string(*allRecords));
        *allColumns = saveAllColumns;
        *allRecords = saveAllRecords;
        return saveOptionsAccepted;
    }

    std::map<int, std::string> main;
    std::vector<std::string> saveOptionQuestions; // "name:allColumns:allRecords" as asked
    bool saveAllColumns = false;
    bool saveAllRecords = false;
    bool saveOptionsAccepted = true;
    std::vector<std::string> mainHistory; // every text of main pane 0, in order
    std::vector<std::string> indexQuestions;
    bool deleteIndex = true;
    std::map<int, std::string> frame;
    int titleUpdates = 0;
};

class TableGridTest : public ::testing::Test
{
protected:
    TableGridTest() { EXPECT_TRUE(database.SetDatabaseDirectory(dir.Path())); }

    // Every field type: C, N with decimals, D, L, M, F and an unknown letter.
    std::string EveryType()
    {
        TableBuilder b;
        b.Field("NAME", 'C', 8).Field("SUM", 'N', 7, 2).Field("DT", 'D', 8).Field("OK", 'L', 1)
            .Field("NOTE", 'M', 10).Field("RATE", 'F', 6, 1).Field("TS", '@', 8);
        b.Record(std::string("Ivan    ") + "  12.50" + "20010203" + "T" + "         1" + "   2.5"
                 + "ABCDEFGH");
        b.Record(std::string("Petr    ") + "       " + "        " + "?" + "          " + "      "
                     + "        ",
                 true);
        b.Record(std::string("Anna    ") + "   3.00" + "19991231" + "F" + "          " + "  -1.0"
                 + "        ");
        b.Version(0x83).Write(dir.File("every.dbf"));
        testing_support::WriteAllBytes(dir.File("every.dbt"), std::vector<std::uint8_t>(512, 0));
        return dir.File("every.dbf");
    }

    std::unique_ptr<CTableWndGrid> MakeGrid(const std::string& path)
    {
        auto grid = std::make_unique<CTableWndGrid>(&host);
        grid->OpenTable(path, &database);
        EXPECT_TRUE(grid->Create("DBGrid " + path, &images, 0));
        grid->resize(900, 300);
        grid->show();
        grid->RefreshRows(true);
        return grid;
    }

    static std::vector<std::string> RowTexts(CTableWndGrid& grid, int row)
    {
        grid.EnsureRowsCached(row, row);
        const auto* cached = grid.FindCachedRow(row);
        return cached ? cached->texts : std::vector<std::string>();
    }

    testing_support::TempDir dir;
    table::TableDatabase database { platform::FileSystem::Default() };
    grid::GridImageList images = tablegrid::MakeRowHeaderImages();
    FakeHost host;
};

} // namespace tablegrid::test
