#include "bench/bench_tables.h"

#include "platform/file_system.h"
#include "table/dbf_create.h"
#include "table/dbf_format.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace bench {
namespace {

constexpr std::uint32_t kRecordLength = 1 + 30 + 20 + 12 + 8 + 1 + 6;

void Put(std::string& record, std::size_t at, const std::string& text, std::size_t width,
         bool right)
{
    const std::string cut = text.substr(0, width);
    const std::size_t start = right ? at + width - cut.size() : at;
    record.replace(start, cut.size(), cut);
}

} // namespace

std::string BenchTable(std::uint32_t records)
{
    const std::string path = (std::filesystem::temp_directory_path()
                              / ("lumetta-bench-" + std::to_string(records) + ".dbf"))
                                 .string();
    const std::uint64_t header = table::dbf::HeaderLengthFor(6);
    const std::uint64_t size = header + std::uint64_t { records } * kRecordLength + 1;
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) == size)
        return path;

    auto& fs = platform::FileSystem::Default();
    const table::FieldList fields = { { "NAME", 'C', 30 }, { "CITY", 'C', 20 },
                                      { "SUM", 'N', 12, 2 }, { "DT", 'D', 8 },
                                      { "FLAG", 'L', 1 },    { "CODE", 'N', 6 } };
    if (table::CreateTableFile(fs, path, fields) != table::DbfError::kNone)
        throw std::runtime_error("cannot create " + path);
    auto file = fs.Open(path, platform::OpenMode::kReadWrite, nullptr);
    static const char* const kNames[] = { "Ivanov Ivan", "Petrova Anna", "Sidorov Oleg",
                                          "Kuznetsova Maria", "Smirnov Pavel" };
    static const char* const kCities[] = { "Moscow", "Kazan", "Samara", "Omsk", "Tver" };

    std::vector<char> chunk;
    chunk.reserve(std::size_t { 8192 } * kRecordLength);
    std::uint64_t at = header;
    for (std::uint32_t k = 1; k <= records; ++k) {
        std::string record(kRecordLength, ' ');
        record[0] = k % 10 == 0 ? '*' : ' ';
        Put(record, 1, std::string(kNames[k % 5]) + " " + std::to_string(k % 977), 30, false);
        Put(record, 31, kCities[(k / 7) % 5], 20, false);
        char sum[32];
        std::snprintf(sum, sizeof sum, "%u.%02u", k % 100000, k % 100);
        Put(record, 51, sum, 12, true);
        char date[16];
        std::snprintf(date, sizeof date, "%04u%02u%02u", 1990 + k % 35, 1 + k % 12, 1 + k % 28);
        Put(record, 63, date, 8, false);
        record[71] = k % 3 == 0 ? 'T' : 'F';
        Put(record, 72, std::to_string(k % 999999), 6, true);
        chunk.insert(chunk.end(), record.begin(), record.end());
        if (chunk.size() >= std::size_t { 8192 } * kRecordLength || k == records) {
            if (!file->WriteAt(at, chunk.data(), chunk.size()))
                throw std::runtime_error("cannot write " + path);
            at += chunk.size();
            chunk.clear();
        }
    }
    std::uint8_t tail = table::dbf::kEndOfFile;
    std::uint8_t count[4];
    table::dbf::PutU32(count, records);
    if (!file->WriteAt(at, &tail, 1) || !file->WriteAt(4, count, 4))
        throw std::runtime_error("cannot write " + path);
    return path;
}

} // namespace bench
