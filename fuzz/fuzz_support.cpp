#include "fuzz/fuzz_support.h"

#include "table/db_engine_exception.h"
#include "table/table.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unistd.h>

namespace fuzzing {
namespace {

namespace fs = std::filesystem;

std::string MakeScratchDir()
{
    const char* tmp = std::getenv("TMPDIR");
    // mkdtemp replaces the six trailing X's with a unique name of its choosing.
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/lumetta-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data()))
        Fail("cannot make the scratch folder");
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(ScratchDir(), ec);
    });
    return pattern + "/";
}

} // namespace

std::pair<std::string_view, std::string_view> SplitParts(const std::uint8_t* data, std::size_t size)
{
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t at = all.find(kPartSeparator);
    if (at == std::string_view::npos)
        return { all, {} };
    return { all.substr(0, at), all.substr(at + kPartSeparator.size()) };
}

const std::string& ScratchDir()
{
    // Never destroyed: the exit handler that removes the folder runs after static destructors.
    static const std::string& dir = *new std::string(MakeScratchDir());
    return dir;
}

void ClearScratch()
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(ScratchDir(), ec))
        fs::remove_all(entry.path(), ec);
}

void WriteFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        Fail("cannot write a scratch file");
}

void WriteTableAndMemo(std::string_view table, std::string_view memo)
{
    WriteFile(ScratchDir() + "t.dbf", table);
    if (!memo.empty()) {
        WriteFile(ScratchDir() + "t.dbt", memo);
        WriteFile(ScratchDir() + "t.fpt", memo);
    }
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz property failed: %s\n", what);
    std::abort();
}

bool ScratchFileSystem::Inside(const std::string& path)
{
    std::error_code ec;
    const std::string normal = fs::absolute(path, ec).lexically_normal().string();
    if (ec)
        return false;
    const std::string& root = ScratchDir();
    return normal.compare(0, root.size(), root) == 0 || normal + "/" == root;
}

std::unique_ptr<platform::File> ScratchFileSystem::Open(
    const std::string& path, platform::OpenMode mode, int* error)
{
    if (!Inside(path)) {
        if (error)
            *error = EACCES;
        return nullptr;
    }
    return Default().Open(path, mode, error);
}

bool ScratchFileSystem::Rename(const std::string& from, const std::string& to)
{
    return Inside(from) && Inside(to) && Default().Rename(from, to);
}

bool ScratchFileSystem::Remove(const std::string& path)
{
    return Inside(path) && Default().Remove(path);
}

bool ScratchFileSystem::Link(const std::string& existing, const std::string& newPath)
{
    return Inside(existing) && Inside(newPath) && Default().Link(existing, newPath);
}

bool ScratchFileSystem::Exists(const std::string& path)
{
    return Inside(path) && Default().Exists(path);
}

bool ScratchFileSystem::IsDirectory(const std::string& path)
{
    return Inside(path) && Default().IsDirectory(path);
}

bool ScratchFileSystem::CreateDirectories(const std::string& path)
{
    return Inside(path) && Default().CreateDirectories(path);
}

bool ScratchFileSystem::RemoveAll(const std::string& path)
{
    return Inside(path) && Default().RemoveAll(path);
}

std::vector<std::string> ScratchFileSystem::List(const std::string& directory)
{
    return Inside(directory) ? Default().List(directory) : std::vector<std::string> {};
}

namespace {

void ReadRecord(table::CTable& t)
{
    (void)t.IsDeleted();
    (void)t.IsBlank();
    (void)t.PassesFilters();
    for (int i = 0; i < t.FieldCount(); ++i) {
        (void)t.GetValue(i, false);
        (void)t.GetValue(i, true);
        std::string memo;
        (void)t.ReadMemoText(i, &memo);
        try {
            (void)t.GetValueByName(t.FieldName(i), true);
        } catch (const table::CDBEngineException&) {
            // Names a damaged header makes unreachable (blank, repeated) are refused so.
        }
    }
}

void WalkForward(table::CTable& t, std::uint32_t maxRecords)
{
    if (!t.GoTop())
        return;
    for (std::uint32_t n = 0; n < maxRecords && t.HasCurrentRecord(); ++n) {
        ReadRecord(t);
        if (!t.GoNext())
            return;
    }
}

} // namespace

void WalkTable(table::CTable& t, std::uint32_t maxRecords)
{
    (void)t.DetectCodePage();
    WalkForward(t, maxRecords);
    const std::uint32_t count = t.RecordCount();
    if (t.GoTo(count)) {
        for (std::uint32_t n = 0; n < maxRecords && t.HasCurrentRecord(); ++n) {
            ReadRecord(t);
            if (!t.GoPrev())
                break;
        }
    }
    for (std::uint32_t record : { 0u, 1u, count / 2, count + 1, 0xFFFFFFFFu }) {
        if (t.GoTo(record) && t.HasCurrentRecord())
            ReadRecord(t);
    }
    t.SetDeletedFilter(table::CTable::DeletedFilter::kDeletedOnly);
    t.SetBlankFilter(table::CTable::BlankFilter::kNotBlank);
    WalkForward(t, maxRecords);
    t.SetDeletedFilter(table::CTable::DeletedFilter::kNotDeleted);
    t.SetBlankFilter(table::CTable::BlankFilter::kBlankOnly);
    WalkForward(t, maxRecords);
    t.SetDeletedFilter(table::CTable::DeletedFilter::kAll);
    t.SetBlankFilter(table::CTable::BlankFilter::kAll);

    std::uint32_t seen = 0;
    auto visit = [&](std::uint32_t, const std::uint8_t* bytes) {
        std::string memo;
        for (int i = 0; i < t.FieldCount(); ++i)
            (void)t.ReadMemoText(i, bytes, &memo);
        return ++seen < maxRecords;
    };
    (void)t.ScanRecords(true, visit);
}

} // namespace fuzzing
