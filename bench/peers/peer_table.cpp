// Writes the table the comparison with other DBF programs runs on: N records (ten million
// unless given) of 122 bytes in code page 866, about one in ten marked for deletion, with
// Cyrillic and Latin names in mixed letter case, blank streets and dates, numbers, dates and
// logicals. The same N always gives the same records (the header carries the day's date).
//
//   peer_table PATH [RECORDS]
//
// Fields: NAME C30, CITY C20, STREET C30, SUM N12.2, DT D8, FLAG L1, CODE N6, NOTE C14.

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "table/dbf_create.h"
#include "table/dbf_format.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kRecordLength = 1 + 30 + 20 + 30 + 12 + 8 + 1 + 6 + 14;
static_assert(kRecordLength == 122);

std::string Oem(const char* utf8)
{
    std::string text = platform::Utf8ToAnsi(utf8);
    platform::AnsiToOem(text);
    return text;
}

void Put(std::string& record, std::size_t at, const std::string& text, std::size_t width,
    bool right = false)
{
    const std::string cut = text.substr(0, width);
    record.replace(right ? at + width - cut.size() : at, cut.size(), cut);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: peer_table PATH [RECORDS]\n");
        return 2;
    }
    const std::string path = argv[1];
    const unsigned long records = argc == 3 ? std::strtoul(argv[2], nullptr, 10) : 10000000ul;
    auto& fs = platform::FileSystem::Default();
    const table::FieldList fields = { { "NAME", 'C', 30 }, { "CITY", 'C', 20 },
        { "STREET", 'C', 30 }, { "SUM", 'N', 12, 2 }, { "DT", 'D', 8 }, { "FLAG", 'L', 1 },
        { "CODE", 'N', 6 }, { "NOTE", 'C', 14 } };
    if (table::CreateTableFile(fs, path, fields) != table::DbfError::kNone) {
        std::fprintf(stderr, "peer_table: cannot create %s\n", path.c_str());
        return 1;
    }
    auto file = fs.Open(path, platform::OpenMode::kReadWrite, nullptr);
    const std::vector<std::string> names = { Oem("Иванов Иван"), Oem("Петрова Анна"),
        Oem("СИДОРОВ ОЛЕГ"), Oem("Кузнецова Мария"), Oem("Смирнов Павел"), "Ivanov Oleg",
        Oem("Олегов Пётр"), "Petrova Anna", Oem("ёлкин олег"), Oem("Фёдоров Юрий"),
        Oem("Шувалова Эльвира"), "Smith John", Oem("Олежка Щукин") };
    const std::vector<std::string> cities = { Oem("Москва"), Oem("Казань"), Oem("Самара"),
        Oem("Омск"), Oem("Тверь"), "Moscow", Oem("Нижний Новгород") };
    const std::vector<std::string> streets = { Oem("ул. Ленина"), Oem("пр. Мира"), "",
        Oem("ул. Садовая"), Oem("пер. Тихий"), "", Oem("Набережная") };
    const std::vector<std::string> notes = { "", Oem("срочно"), "OK", Oem("Олег звонил"), "" };

    std::uint64_t at = table::dbf::HeaderLengthFor(fields.size());
    std::string chunk;
    chunk.reserve(8192 * kRecordLength);
    std::string record;
    for (unsigned long k = 1; k <= records; ++k) {
        record.assign(kRecordLength, ' ');
        record[0] = k % 10 == 0 ? '*' : ' ';
        Put(record, 1, names[k % names.size()] + " " + std::to_string(k % 977), 30);
        Put(record, 31, cities[(k / 7) % cities.size()], 20);
        Put(record, 51, streets[(k / 3) % streets.size()], 30);
        char text[32];
        std::snprintf(text, sizeof text, "%lu.%02lu", k % 100000, k % 100);
        Put(record, 81, text, 12, true);
        if (k % 17 != 0) {
            std::snprintf(text, sizeof text, "%04lu%02lu%02lu", 1990 + k % 35, 1 + k % 12,
                1 + k % 28);
            Put(record, 93, text, 8);
        }
        record[101] = k % 3 == 0 ? 'T' : (k % 11 == 0 ? 't' : 'F');
        Put(record, 102, std::to_string(k % 999999), 6, true);
        Put(record, 108, notes[(k / 5) % notes.size()], 14);
        chunk += record;
        if (chunk.size() >= 8192 * kRecordLength || k == records) {
            if (!file->WriteAt(at, chunk.data(), chunk.size())) {
                std::fprintf(stderr, "peer_table: cannot write %s\n", path.c_str());
                return 1;
            }
            at += chunk.size();
            chunk.clear();
        }
    }
    std::uint8_t tail = table::dbf::kEndOfFile;
    std::uint8_t count[4];
    table::dbf::PutU32(count, static_cast<std::uint32_t>(records));
    std::uint8_t codePage = 0x65; // code page 866
    if (!file->WriteAt(at, &tail, 1) || !file->WriteAt(4, count, 4)
        || !file->WriteAt(table::dbf::kCodePageOffset, &codePage, 1)) {
        std::fprintf(stderr, "peer_table: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
