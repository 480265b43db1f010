#include "tools/samples/sample_tables.h"

#include "platform/file_system.h"
#include "platform/utf8.h"
#include "table/dbf_format.h"
#include "tools/samples/sample_database.h"
#include "tools/samples/kladr_sample.h"
#include "tools/samples/sample_table_writer.h"

#include <array>
#include <charconv>
#include <string_view>
#include <vector>

namespace samples {

namespace {

using table::CodePageId;
using table::FieldList;

// The texts below are written here in UTF-8 and stored in the table's code page.
std::string Ansi(std::string_view utf8)
{
    return platform::Utf8ToAnsi(utf8);
}

std::string Number(std::uint64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}

// Cents as a number text with two decimals: 123456 gives "1234.56".
std::string Money(std::int64_t cents)
{
    const std::uint64_t magnitude = static_cast<std::uint64_t>(cents < 0 ? -cents : cents);
    const std::uint64_t fraction = magnitude % 100;
    return (cents < 0 ? "-" : "") + Number(magnitude / 100) + (fraction < 10 ? ".0" : ".")
        + Number(fraction);
}

// A date in the stored form "YYYYMMDD".
std::string Date(int year, int month, int day)
{
    return Number(static_cast<std::uint64_t>(year * 10000 + month * 100 + day));
}

constexpr std::array kSurnames = { "Иванов", "Петров", "Сидоров", "Кузнецов", "Смирнов", "Попов",
    "Васильев", "Соколов", "Михайлов", "Новиков", "Фёдоров", "Морозов", "Волков", "Алексеев",
    "Лебедев", "Семёнов", "Егоров", "Павлов", "Козлов", "Степанов" };
constexpr std::array kMaleNames
    = { "Иван", "Пётр", "Сергей", "Алексей", "Николай", "Дмитрий", "Андрей", "Михаил" };
constexpr std::array kFemaleNames
    = { "Анна", "Мария", "Елена", "Ольга", "Татьяна", "Наталья", "Ирина", "Юлия" };
constexpr std::array kMalePatronyms = { "Иванович", "Петрович", "Сергеевич", "Николаевич" };
constexpr std::array kFemalePatronyms = { "Ивановна", "Петровна", "Сергеевна", "Николаевна" };
constexpr std::array kCities = { "Москва", "Санкт-Петербург", "Новосибирск", "Екатеринбург",
    "Казань", "Нижний Новгород", "Самара", "Омск", "Ростов-на-Дону", "Уфа", "Пермь", "Воронеж" };

// A full name in UTF-8; every other one is a woman's.
std::string FullName(std::size_t i)
{
    const bool female = i % 2 == 1;
    std::string name = kSurnames[i % kSurnames.size()];
    name += female ? "а " : " ";
    name += female ? kFemaleNames[i * 3 % kFemaleNames.size()]
                   : kMaleNames[i * 3 % kMaleNames.size()];
    name += ' ';
    name += female ? kFemalePatronyms[i * 5 % kFemalePatronyms.size()]
                   : kMalePatronyms[i * 5 % kMalePatronyms.size()];
    return name;
}

bool WriteCustomers(platform::FileSystem& fs, const std::string& path, std::string* error)
{
    const FieldList fields = { { "CODE", 'N', 6, 0 }, { "NAME", 'C', 36, 0 },
        { "CITY", 'C', 20, 0 }, { "PHONE", 'C', 16, 0 }, { "BALANCE", 'N', 12, 2 },
        { "SINCE", 'D', 8, 0 }, { "VIP", 'L', 1, 0 } };
    SampleTableWriter w(fs);
    bool ok = w.Create(path, fields, table::dbf::kVersionDbase3, CodePageId::k866);
    for (std::uint32_t i = 0; ok && i < kCustomerCount; ++i) {
        const std::int64_t cents = static_cast<std::int64_t>(i * 7919 % 100000) * 37 - 500000;
        ok = w.Set(0, Number(1001 + i)) && w.Set(1, OemText(FullName(i)))
            && w.Set(2, OemText(kCities[i * 7 % kCities.size()]))
            && w.Set(3, "8-000-000-" + Number(1000 + i * 37 % 9000)) && w.Set(4, Money(cents))
            && w.Set(5,
                Date(2010 + static_cast<int>(i % 15), static_cast<int>(i * 5 % 12) + 1,
                    static_cast<int>(i * 11 % 28) + 1))
            && w.Set(6, i % 5 == 0 ? "T" : "F") && w.Add();
    }
    ok = ok && w.Finish();
    if (!ok)
        *error = w.Error();
    return ok;
}

// Memo texts end their lines with CR LF, as DOS programs wrote them.
std::string LongNote()
{
    std::string text = Ansi("Условия хранения.\r\n");
    for (int line = 1; line <= 30; ++line)
        text += Ansi("Строка ") + Number(static_cast<std::uint64_t>(line))
            + ": keep dry, away from sunlight, at 5 to 25 degrees.\r\n";
    return text; // about 1,800 bytes: several memo blocks
}

bool WriteFieldTypes(platform::FileSystem& fs, const std::string& path, std::string* error)
{
    const FieldList fields = { { "NAME", 'C', 24, 0 }, { "PRICE", 'N', 10, 2 },
        { "QTY", 'N', 5, 0 }, { "ARRIVED", 'D', 8, 0 }, { "IN_STOCK", 'L', 1, 0 },
        { "WEIGHT", 'F', 12, 4 }, { "NOTES", 'M', 10, 0 } };
    struct Row
    {
        const char* name;
        const char* price;
        const char* qty;
        const char* arrived; // "" leaves the date blank
        const char* inStock; // "?" is neither true nor false
        const char* weight;
        std::string notes; // "" leaves the memo field blank
    };
    const std::vector<Row> rows = { { "Чай чёрный", "149.90", "120", "20240115", "T", "0.1000",
                                        Ansi("Листовой, крупный лист.") },
        { "Кофе молотый", "389.00", "45", "20240203", "T", "0.2500",
            Ansi("Обжарка средняя.\r\nПомол для турки.\r\nСрок годности 12 месяцев.") },
        { "Сахар-песок", "72.50", "0", "20231120", "F", "1.0000", "" },
        { "Мука пшеничная", "64.30", "300", "", "?", "2.0000", "Delivery date not yet known." },
        { "Масло подсолнечное", "-15.75", "12", "20240301", "T", "0.9200",
            Ansi("Цена отрицательная: возврат поставщику.") },
        { "Рис круглый", "98.00", "75", "19991231", "F", "0.9000", LongNote() },
        { "Гречка", "0.00", "1", "20000229", "T", "0.0001", "" },
        { "Соль", "99999.99", "99999", "20241231", "T", "12345.6789",
            "Largest values the fields hold." } };
    SampleTableWriter w(fs);
    bool ok = w.Create(path, fields, table::dbf::kVersionDbase3Memo, CodePageId::kNone);
    for (const Row& row : rows) {
        ok = ok && w.Set(0, Ansi(row.name)) && w.Set(1, row.price) && w.Set(2, row.qty)
            && w.Set(3, row.arrived) && w.Set(4, row.inStock) && w.Set(5, row.weight)
            && (row.notes.empty() || w.SetMemo(6, row.notes)) && w.Add();
    }
    ok = ok && w.Finish();
    if (!ok)
        *error = w.Error();
    return ok;
}

bool WriteBooks(platform::FileSystem& fs, const std::string& path, std::string* error)
{
    const FieldList fields = { { "TITLE", 'C', 40, 0 }, { "AUTHOR", 'C', 24, 0 },
        { "YEAR", 'N', 4, 0 }, { "PAGES", 'N', 5, 0 }, { "ADDED", 'D', 8, 0 },
        { "LENT", 'L', 1, 0 }, { "SUMMARY", 'M', 10, 0 } };
    std::string longSummary;
    for (int part = 1; part <= 12; ++part)
        longSummary += "Chapter " + Number(static_cast<std::uint64_t>(part))
            + ": the keeper counts the ships that pass and writes each one down.\r\n";
    struct Row
    {
        const char* title;
        const char* author;
        const char* year;
        const char* pages;
        const char* added;
        const char* lent;
        std::string summary;
    };
    const std::vector<Row> rows = { { "The Lighthouse Ledger", "A. Whitfield", "1987", "312",
                                        "19950412", "F", longSummary },
        { "Salt and Copper", "M. Okonkwo-Hale", "2003", "198", "20040105", "T",
            "A trading family and the river that feeds it." },
        { "Seven Quiet Winters", "L. Varga", "1979", "244", "19880930", "F", "" },
        { "Notes from the Signal Box", "R. Pennick", "2011", "96", "20120220", "T",
            "Short essays.\r\nIllustrated." },
        { "Зимняя дорога", "Н. Орлова", "1994", "410", "19990317", "F",
            Ansi("Повесть о почтовом тракте.") },
        { "A Map of Small Rivers", "J. Castellane", "2019", "156", "20200611", "F", "" } };
    SampleTableWriter w(fs);
    bool ok = w.Create(path, fields, table::dbf::kVersionDbase4Memo, CodePageId::kNone);
    for (const Row& row : rows) {
        ok = ok && w.Set(0, Ansi(row.title)) && w.Set(1, Ansi(row.author)) && w.Set(2, row.year)
            && w.Set(3, row.pages) && w.Set(4, row.added) && w.Set(5, row.lent)
            && (row.summary.empty() || w.SetMemo(6, row.summary)) && w.Add();
    }
    ok = ok && w.Finish();
    if (!ok)
        *error = w.Error();
    return ok;
}

bool WriteDeleted(platform::FileSystem& fs, const std::string& path, std::string* error)
{
    const FieldList fields = { { "NO", 'N', 4, 0 }, { "ITEM", 'C', 24, 0 }, { "QTY", 'N', 6, 0 },
        { "DONE", 'L', 1, 0 } };
    SampleTableWriter w(fs);
    bool ok = w.Create(path, fields, table::dbf::kVersionDbase3, CodePageId::kNone);
    for (std::uint32_t i = 0; ok && i < kDeletedCount; ++i) {
        const bool blank = i == 9; // one record with nothing in it, for the blank filter
        ok = blank
            || (w.Set(0, Number(i + 1)) && w.Set(1, "Order line " + Number(i + 1))
                && w.Set(2, Number(i * 13 % 50 + 1)) && w.Set(3, i % 4 == 0 ? "T" : "F"));
        ok = ok && w.Add(i % 3 == 2);
    }
    ok = ok && w.Finish();
    if (!ok)
        *error = w.Error();
    return ok;
}

// Reproducible pseudo-random numbers (a 64-bit linear congruential generator).
class Sequence
{
public:
    std::uint32_t Next(std::uint32_t bound)
    {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>((m_state >> 33) % bound);
    }

private:
    std::uint64_t m_state = 20240601;
};

bool WriteLarge(
    platform::FileSystem& fs, const std::string& path, std::uint32_t count, std::string* error)
{
    const FieldList fields = { { "ID", 'N', 8, 0 }, { "NAME", 'C', 24, 0 }, { "CITY", 'C', 16, 0 },
        { "AMOUNT", 'N', 10, 2 }, { "PAID_ON", 'D', 8, 0 }, { "PAID", 'L', 1, 0 } };
    // Texts converted once; the loop only picks among them.
    std::vector<std::string> names;
    for (std::size_t i = 0; i < kSurnames.size() * kMaleNames.size(); ++i)
        names.push_back(Ansi(FullName(i).substr(0, FullName(i).rfind(' '))));
    std::vector<std::string> cities;
    for (const char* city : kCities)
        cities.push_back(Ansi(city));

    Sequence random;
    SampleTableWriter w(fs);
    bool ok = w.Create(path, fields, table::dbf::kVersionDbase3, CodePageId::k1251);
    for (std::uint32_t i = 0; ok && i < count; ++i) {
        const bool paid = random.Next(4) != 0;
        ok = w.Set(0, Number(i + 1))
            && w.Set(1, names[random.Next(static_cast<std::uint32_t>(names.size()))])
            && w.Set(2, cities[random.Next(static_cast<std::uint32_t>(cities.size()))])
            && w.Set(3, Money(random.Next(10'000'000)))
            && w.Set(4,
                paid ? Date(2015 + static_cast<int>(random.Next(10)),
                    static_cast<int>(random.Next(12)) + 1, static_cast<int>(random.Next(28)) + 1)
                     : "")
            && w.Set(5, paid ? "T" : "F") && w.Add();
    }
    ok = ok && w.Finish();
    if (!ok)
        *error = w.Error();
    return ok;
}

// A good table whose header then claims more records than the file holds, as a program
// that died between writing its count and its records leaves it.
bool WriteDamaged(platform::FileSystem& fs, const std::string& path, std::string* error)
{
    const FieldList fields = { { "NAME", 'C', 36, 0 }, { "SUM", 'N', 10, 2 } };
    SampleTableWriter w(fs);
    bool ok = w.Create(path, fields, table::dbf::kVersionDbase3, CodePageId::k1251);
    for (std::uint32_t i = 0; ok && i < kDamagedCount; ++i)
        ok = w.Set(0, Ansi(FullName(i + 3))) && w.Set(1, Money(i * 1250 + 99)) && w.Add();
    if (!ok || !w.Finish()) {
        *error = w.Error();
        return false;
    }
    std::uint8_t count[4];
    table::dbf::PutU32(count, kDamagedCount + 3);
    auto file = fs.Open(path, platform::OpenMode::kReadWrite, nullptr);
    if (!file || !file->WriteAt(4, count, sizeof count)) {
        *error = path + ": cannot write the damaged record count";
        return false;
    }
    return true;
}

} // namespace

bool WriteSampleTables(platform::FileSystem& fs, const std::string& directory,
    const SampleOptions& options, std::string* error)
{
    if (!fs.CreateDirectories(directory)) {
        *error = directory + ": cannot create the folder";
        return false;
    }
    const std::string dir = directory.ends_with('/') ? directory : directory + '/';
    return WriteCustomers(fs, dir + kCustomers, error)
        && WriteFieldTypes(fs, dir + kFieldTypes, error) && WriteBooks(fs, dir + kBooks, error)
        && WriteDeleted(fs, dir + kDeleted, error)
        && WriteLarge(fs, dir + kLarge, options.largeRecordCount, error)
        && WriteDamaged(fs, dir + kDamaged, error)
        && WriteSampleDatabase(fs, dir + kDatabaseFolder, error)
        && WriteKladrSample(fs, dir + kKladrFolder, {}, error);
}

} // namespace samples
