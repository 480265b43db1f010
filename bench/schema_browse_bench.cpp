// Browsing a table whose column relates to another table through the directory's schema:
// 1,000,000 goods whose group column shows the names of 100,000 groups (kept in code page
// 866). Opening the window's grid (the related table's key index built included) to its
// first painted page, and paging through the table with every page painted.

#include "bench/qt_bench_main.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "resources/table_resources.h"
#include "schema/database_schema.h"
#include "table/dbf_create.h"
#include "table/dbf_format.h"
#include "table/table.h"
#include "table/table_appender.h"
#include "table/table_database.h"
#include "tablegrid/row_images.h"
#include "tablegrid/table_wnd_grid.h"

#include <QApplication>
#include <QPixmap>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::uint32_t kGoods = 1'000'000;
constexpr std::uint32_t kGroups = 100'000;
constexpr const char* kPrefix = "lumetta-schema-bench";

void Put(
    std::string& record, std::size_t at, const std::string& text, std::size_t width, bool right)
{
    const std::string cut = text.substr(0, width);
    record.replace(right ? at + width - cut.size() : at, cut.size(), cut);
}

// Writes a table of `count` records made by `make` (each `length` bytes, flag included).
template <typename Make>
void WriteTable(const std::string& path, const table::FieldList& fields, std::uint32_t count,
    std::uint16_t length, std::uint8_t codePageByte, Make make)
{
    auto& fs = platform::FileSystem::Default();
    if (table::CreateTableFile(fs, path, fields) != table::DbfError::kNone)
        throw std::runtime_error("cannot create " + path);
    auto file = fs.Open(path, platform::OpenMode::kReadWrite, nullptr);
    std::uint8_t byte29 = codePageByte;
    if (!file || !file->WriteAt(29, &byte29, 1))
        throw std::runtime_error("cannot write " + path);
    table::TableAppender appender(*file, table::dbf::kVersionDbase3,
        static_cast<std::uint16_t>(table::dbf::HeaderLengthFor(fields.size())), length, 0);
    std::string record;
    for (std::uint32_t k = 1; k <= count; ++k) {
        record.assign(length, ' ');
        make(k, record);
        if (!appender.Add(reinterpret_cast<const std::uint8_t*>(record.data())))
            throw std::runtime_error("cannot write " + path);
    }
    if (!appender.Finish())
        throw std::runtime_error("cannot write " + path);
}

// The directory: GOODS.DBF (ID C8, NAME C30, GROUPID C7, PRICE N10.2), GROUPS.DBF (ID C7,
// DESCR C40, code page 866) and the schema relating GOODS.GROUPID to GROUPS.
const std::string& Database()
{
    static const std::string directory = [] {
        const std::string dir = bench::ScratchFolder(kPrefix);
        WriteTable(dir + "GOODS.DBF",
            { { "ID", 'C', 8 }, { "NAME", 'C', 30 }, { "GROUPID", 'C', 7 },
                { "PRICE", 'N', 10, 2 } },
            kGoods, 1 + 8 + 30 + 7 + 10, 0, [](std::uint32_t k, std::string& record) {
                Put(record, 1, std::to_string(k), 8, true);
                Put(record, 9, "Item number " + std::to_string(k), 30, false);
                // Groups spread over the whole related table, so lookups never stay on a page.
                Put(record, 39, std::to_string(1 + (k * 7919u) % kGroups), 7, true);
                char price[16];
                std::snprintf(price, sizeof price, "%u.%02u", k % 9999, k % 100);
                Put(record, 46, price, 10, true);
            });
        std::string word = platform::Utf8ToAnsi("Группа товаров ");
        platform::AnsiToOem(word);
        WriteTable(dir + "GROUPS.DBF", { { "ID", 'C', 7 }, { "DESCR", 'C', 40 } }, kGroups,
            1 + 7 + 40, 0x65, [&word](std::uint32_t k, std::string& record) {
                Put(record, 1, std::to_string(k), 7, true);
                Put(record, 8, word + std::to_string(k), 40, false);
            });
        schema::DatabaseSchema schema(platform::FileSystem::Default(), dir);
        schema::SchemaTable& goods = schema.AddTable("GOODS");
        goods.fieldDescriptions = { { "GROUPID", "Group" }, { "NAME", "Name" } };
        goods.relations = { { "GROUPS", "GROUPID" } };
        schema::SchemaTable& groups = schema.AddTable("GROUPS");
        groups.keyFields = { "ID" };
        groups.nameField = "DESCR";
        if (!schema.SaveSchema("default.sch"))
            throw std::runtime_error("cannot write the schema");
        return dir;
    }();
    return directory;
}

struct Window
{
    table::TableDatabase database { platform::FileSystem::Default() };
    grid::GridImageList images = tablegrid::MakeRowHeaderImages();
    tablegrid::CTableWndGrid grid { nullptr };

    // As a table window opens: the directory's database with its schema, the table, the
    // grid, and its first page painted.
    bool Open(bool withSchema = true)
    {
        const std::string& dir = Database();
        if (!database.SetDatabaseDirectory(dir)
            || (withSchema && !database.LoadSchema("default.sch")))
            return false;
        if (!grid.OpenTable(dir + "GOODS.DBF", &database)
            || !grid.Create("DBGrid GOODS", &images, 0))
            return false;
        grid.resize(1000, 700);
        grid.RefreshRows(true);
        QPixmap painted = grid.grab();
        benchmark::DoNotOptimize(painted);
        // With the schema the group column shows the related name, not the key.
        grid.EnsureRowsCached(0, 0);
        const auto* first = grid.FindCachedRow(0);
        const bool named = first && first->texts.size() > 2
            && first->texts[2].rfind(platform::Utf8ToAnsi("Группа"), 0) == 0;
        return grid.GetTable()->Relations().size() == (withSchema ? 1u : 0u) && named == withSchema;
    }
};

void OpenWithRelation(benchmark::State& state)
{
    (void)Database();
    for (auto _ : state) {
        Window window;
        if (!window.Open()) {
            state.SkipWithError("the table or its relation did not open");
            break;
        }
    }
}

double ThreadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void Report(benchmark::State& state, std::vector<double> times, const std::string& prefix)
{
    if (times.empty())
        return;
    std::sort(times.begin(), times.end());
    state.counters[prefix + "slowest_ms"] = times.back();
    state.counters[prefix + "p99_ms"] = times[times.size() * 99 / 100];
    state.counters[prefix + "over_20ms"]
        = static_cast<double>(times.end() - std::lower_bound(times.begin(), times.end(), 20.0));
}

// Page Down from the top to the end of the table; every page is painted, and the slowest
// paints are reported beside the mean: the slowest, the 99th percentile and how many took
// 20 ms or more, in elapsed time and in the thread's processor time (which other programs
// on a busy machine do not stretch). The same without the schema, for the cost of the
// related names.
void PageThrough(benchmark::State& state, bool withSchema)
{
    Window window;
    if (!window.Open(withSchema)) {
        state.SkipWithError("the table or its relation did not open");
        return;
    }
    tablegrid::CTableWndGrid& grid = window.grid;
    const int page = std::max(1, grid.viewport()->height() / 20);
    const int step = std::max(page, grid.GetRowCount() / 2000); // 2,000 pages over the table
    int row = 0;
    std::vector<double> times;
    std::vector<double> cpuTimes;
    for (auto _ : state) {
        row = row + step >= grid.GetRowCount() ? 0 : row + step;
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuMs();
        grid.SetCurrentCell(row, 2);
        QPixmap painted = grid.grab();
        benchmark::DoNotOptimize(painted);
        cpuTimes.push_back(ThreadCpuMs() - cpuStart);
        const std::chrono::duration<double, std::milli> took
            = std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
    }
    Report(state, times, "");
    Report(state, cpuTimes, "cpu_");
}

void PageThroughWithRelation(benchmark::State& state)
{
    PageThrough(state, true);
}

void PageThroughWithoutSchema(benchmark::State& state)
{
    PageThrough(state, false);
}

} // namespace

BENCHMARK(OpenWithRelation)->Unit(benchmark::kMillisecond);
BENCHMARK(PageThroughWithRelation)->Unit(benchmark::kMillisecond)->Iterations(2000);
BENCHMARK(PageThroughWithoutSchema)->Unit(benchmark::kMillisecond)->Iterations(2000);

int main(int argc, char* argv[])
{
    return bench::RunWindowBenchmarks(argc, argv);
}
