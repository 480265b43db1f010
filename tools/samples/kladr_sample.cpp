#include "tools/samples/kladr_sample.h"

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "table/dbf_format.h"
#include "tools/samples/sample_table_writer.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

namespace samples {
namespace {

using table::CodePageId;
using table::FieldList;

// `value` as exactly `width` digits, leading zeros kept (the classifier's codes).
std::string Digits(std::uint64_t value, int width)
{
    char text[24];
    std::snprintf(text, sizeof text, "%0*llu", width, static_cast<unsigned long long>(value));
    return text;
}

struct Region
{
    int code;
    const char* name;
    const char* socr;
    const char* index; // the first three digits of its postal indexes
};

constexpr std::array<Region, kKladrRegionCount> kRegions = { {
    { 16, "Татарстан", "Респ", "420" },
    { 23, "Краснодарский", "край", "350" },
    { 50, "Московская", "обл", "140" },
    { 54, "Новосибирская", "обл", "630" },
    { 69, "Тверская", "обл", "170" },
    { 77, "Москва", "г", "101" },
} };

constexpr std::array kDistricts = { "Александровский", "Бежецкий", "Вышневолоцкий", "Зубцовский",
    "Калязинский", "Кашинский", "Лесной", "Оленинский", "Осташковский", "Ржевский",
    "Сонковский", "Торжокский", "Удомельский", "Фировский", "Андреапольский", "Бельский",
    "Весьегонский", "Жарковский", "Кесовогорский", "Кимрский" };
// A region has at least as many districts as there are names; more when the settlements
// would not fit the three digits of a district's settlement numbers.
constexpr int kMinDistricts = static_cast<int>(kDistricts.size());
constexpr int kMaxSettlementNumber = 999;

constexpr std::array kCities = { "Северск", "Озёрск", "Лесногорск", "Краснознаменск", "Южноград" };
constexpr int kCitiesPerRegion = static_cast<int>(kCities.size());

// Village names with the prefixes that agree with them: feminine, neuter and plural names.
struct VillageNames
{
    std::array<const char*, 8> prefixes;
    std::vector<const char*> names;
};
const std::array<VillageNames, 3> kVillages = { {
    { { "", "Новая ", "Старая ", "Верхняя ", "Нижняя ", "Большая ", "Малая ", "Красная " },
        { "Александровка", "Ивановка", "Петровка", "Михайловка", "Покровка", "Васильевка",
            "Сосновка", "Берёзовка", "Дубровка", "Каменка", "Липовка", "Ольховка", "Рябиновка",
            "Вишнёвка", "Знаменка" } },
    { { "", "Новое ", "Старое ", "Верхнее ", "Нижнее ", "Большое ", "Малое ", "Красное " },
        { "Никольское", "Луговое", "Заречье", "Троицкое", "Воскресенское", "Богородское",
            "Спасское" } },
    { { "", "Новые ", "Старые ", "Верхние ", "Нижние ", "Большие ", "Малые ", "Красные " },
        { "Озерки", "Ключи", "Горки" } },
} };
constexpr std::array kVillageKinds = { "д", "с", "п", "х", "рп" };

constexpr std::array kStreets = { "Ленина", "Советская", "Мира", "Садовая", "Школьная",
    "Молодёжная", "Лесная", "Центральная", "Новая", "Набережная", "Полевая", "Гагарина",
    "Кирова", "Пушкина", "Зелёная", "Октябрьская", "Комсомольская", "Первомайская",
    "Заречная", "Луговая", "Строителей", "Чапаева", "Солнечная", "Береговая", "Рабочая",
    "Победы", "Спортивная", "Речная", "Южная", "Северная" };
constexpr std::array kStreetKinds = { "ул", "ул", "ул", "пер", "пр-кт", "пл", "туп", "б-р" };

// How many streets a place has: a region's capital many, a city hundreds, a village few.
constexpr int kCapitalStreets = 1'500;
constexpr int kCityStreets = 240;
constexpr int kDistrictCentreStreets = 120;

// Texts converted to code page 866 once.
struct Texts
{
    Texts()
    {
        for (const Region& region : kRegions) {
            regionNames.push_back(OemText(region.name));
            regionKinds.push_back(OemText(region.socr));
        }
        for (const char* name : kDistricts)
            districts.push_back(OemText(name));
        for (const char* name : kCities)
            cities.push_back(OemText(name));
        for (std::size_t p = 0; p < kVillages[0].prefixes.size(); ++p) {
            for (const VillageNames& kind : kVillages) {
                for (const char* name : kind.names)
                    villages.push_back(OemText(std::string(kind.prefixes[p]) + name));
            }
        }
        for (const char* kind : kVillageKinds)
            villageKinds.push_back(OemText(kind));
        for (const char* name : kStreets)
            streets.push_back(OemText(name));
        for (const char* kind : kStreetKinds)
            streetKinds.push_back(OemText(kind));
        district = OemText("р-н");
        city = OemText("г");
        ordinal = OemText("-я ");
        centre = OemText("рп");
    }
    std::vector<std::string> regionNames, regionKinds, districts, cities, villages,
        villageKinds, streets, streetKinds;
    std::string district, city, ordinal, centre;
};

// One KLADR record's fields, in table order.
struct Place
{
    std::string name, socr, code, index, gninmb, ocatd;
    char status = '0';
};

// What the streets are written for: a place's code without its actuality digits and how
// many streets it has.
struct StreetOwner
{
    std::string code11;
    int streets = 0;
    std::string index;
    std::string gninmb;
};

class KladrWriter
{
public:
    KladrWriter(platform::FileSystem& fs, std::uint32_t limit)
        : m_writer(fs)
        , m_limit(limit)
    {
    }

    bool Create(const std::string& path)
    {
        const FieldList fields = { { "NAME", 'C', 40, 0 }, { "SOCR", 'C', 10, 0 },
            { "CODE", 'C', 13, 0 }, { "INDEX", 'C', 6, 0 }, { "GNINMB", 'C', 4, 0 },
            { "UNO", 'C', 4, 0 }, { "OCATD", 'C', 11, 0 }, { "STATUS", 'C', 1, 0 } };
        return m_writer.Create(path, fields, table::dbf::kVersionDbase3, CodePageId::kNone);
    }

    bool Full() const { return m_count >= m_limit; }

    // Writes the place unless KLADR is full; Written says which.
    bool Add(const Place& p)
    {
        m_written = !Full();
        if (!m_written)
            return true;
        ++m_count;
        return m_writer.Set(0, p.name) && m_writer.Set(1, p.socr) && m_writer.Set(2, p.code)
            && m_writer.Set(3, p.index) && m_writer.Set(4, p.gninmb) && m_writer.Set(6, p.ocatd)
            && m_writer.Set(7, std::string(1, p.status)) && m_writer.Add();
    }

    bool Written() const { return m_written; }
    bool Finish() { return m_writer.Finish(); }
    const std::string& Error() const { return m_writer.Error(); }

private:
    SampleTableWriter m_writer;
    std::uint32_t m_limit;
    std::uint32_t m_count = 0;
    bool m_written = false;
};

// How KLADR comes to its record count: the districts of each region and the settlements
// each district gets.
struct Layout
{
    int districts = kMinDistricts;
    int settlements = 0;
};

Layout LayoutFor(std::uint32_t records)
{
    Layout layout;
    for (;; layout.districts += 10) {
        const std::uint64_t fixed
            = std::uint64_t { kKladrRegionCount } * (1 + kCitiesPerRegion + layout.districts);
        const std::uint64_t districts = std::uint64_t { kKladrRegionCount } * layout.districts;
        if (records <= fixed)
            return layout;
        // One settlement in forty is listed a second time under its earlier name; the last
        // district is cut short.
        const std::uint64_t need = (records - fixed + districts - 1) / districts;
        std::uint64_t per = need * 40 / 41;
        while (per + per / 40 < need)
            ++per;
        if (per <= kMaxSettlementNumber || layout.districts >= 990) {
            layout.settlements = static_cast<int>(std::min<std::uint64_t>(per, kMaxSettlementNumber));
            return layout;
        }
    }
}

std::string Code(int region, int district, int city, int settlement, int actuality = 0)
{
    return Digits(static_cast<std::uint64_t>(region), 2) + Digits(static_cast<std::uint64_t>(district), 3)
        + Digits(static_cast<std::uint64_t>(city), 3) + Digits(static_cast<std::uint64_t>(settlement), 3)
        + Digits(static_cast<std::uint64_t>(actuality), 2);
}

bool WriteKladr(platform::FileSystem& fs, const std::string& path, std::uint32_t records,
    const Texts& t, std::vector<StreetOwner>* owners, std::string* error)
{
    KladrWriter w(fs, records);
    bool ok = w.Create(path);
    const Layout layout = LayoutFor(records);
    for (std::size_t r = 0; ok && r < kRegions.size() && !w.Full(); ++r) {
        const Region& region = kRegions[r];
        const std::string gnRegion = Digits(static_cast<std::uint64_t>(region.code), 2);
        const std::string ocatdRegion = Digits(static_cast<std::uint64_t>(region.code) * 3 + 11, 2);
        auto place = [&](std::string name, std::string socr, std::string code, int post,
                         int district, std::uint64_t ocatd, char status) {
            return Place { std::move(name), std::move(socr), std::move(code),
                region.index + Digits(static_cast<std::uint64_t>(post % 1000), 3),
                gnRegion + Digits(static_cast<std::uint64_t>(district % 100), 2),
                ocatdRegion + Digits(ocatd % 1'000'000'000, 9), status };
        };
        const bool capitalCity = region.code == 77;
        ok = w.Add(place(t.regionNames[r], t.regionKinds[r], Code(region.code, 0, 0, 0), 0, 0, 0,
            capitalCity ? '2' : '0'));
        if (capitalCity && w.Written())
            owners->push_back({ Code(region.code, 0, 0, 0).substr(0, 11), kCapitalStreets,
                std::string(region.index) + "000", gnRegion + "00" });
        for (int c = 1; ok && c <= kCitiesPerRegion; ++c) {
            const std::string code = Code(region.code, 0, c, 0);
            ok = w.Add(place(t.cities[static_cast<std::size_t>(c - 1)], t.city, code, c * 10, c,
                std::uint64_t(c) * 1000, c == 1 && !capitalCity ? '2' : '0'));
            if (w.Written())
                owners->push_back({ code.substr(0, 11), c == 1 ? kCapitalStreets / 2 : kCityStreets,
                region.index + Digits(static_cast<std::uint64_t>(c * 10), 3), gnRegion + Digits(std::uint64_t(c), 2) });
        }
        for (int d = 1; ok && d <= layout.districts && !w.Full(); ++d) {
            ok = w.Add(place(t.districts[static_cast<std::size_t>(d - 1) % t.districts.size()], t.district,
                Code(region.code, d, 0, 0), 100 + d * 5, d, std::uint64_t(d) * 1'000'000, '0'));
            for (int s = 1; ok && s <= layout.settlements && !w.Full(); ++s) {
                const std::size_t pick = static_cast<std::size_t>(r * 7 + d * 13 + s * 31) % t.villages.size();
                // The first settlement of a district is its centre, a place with streets.
                const std::string& kind = s == 1
                    ? t.centre
                    : t.villageKinds[static_cast<std::size_t>(s * 7 + d) % t.villageKinds.size()];
                const std::string code = Code(region.code, d, 0, s);
                ok = w.Add(place(t.villages[pick], kind, code, 100 + d * 5 + s % 5, d,
                    std::uint64_t(d) * 1'000'000 + std::uint64_t(s), s == 1 ? '1' : '0'));
                const int streets = s == 1 ? kDistrictCentreStreets : s % 4;
                if (streets > 0 && w.Written())
                    owners->push_back({ code.substr(0, 11), streets,
                        region.index + Digits(static_cast<std::uint64_t>(100 + d * 5 + s % 5), 3),
                        gnRegion + Digits(std::uint64_t(d), 2) });
                if (ok && s % 40 == 0) {
                    ok = w.Add(place(t.villages[(pick + 3) % t.villages.size()], kind,
                        Code(region.code, d, 0, s, 51), 100 + d * 5, d,
                        std::uint64_t(d) * 1'000'000 + std::uint64_t(s), '0'));
                }
            }
        }
    }
    ok = ok && w.Finish();
    if (!ok)
        *error = w.Error();
    return ok;
}

bool WriteStreets(platform::FileSystem& fs, const std::string& path, const Texts& t,
    const std::vector<StreetOwner>& owners, std::string* error)
{
    const FieldList fields = { { "NAME", 'C', 40, 0 }, { "SOCR", 'C', 10, 0 },
        { "CODE", 'C', 17, 0 }, { "INDEX", 'C', 6, 0 }, { "GNINMB", 'C', 4, 0 },
        { "UNO", 'C', 4, 0 }, { "OCATD", 'C', 11, 0 } };
    SampleTableWriter w(fs);
    bool ok = w.Create(path, fields, table::dbf::kVersionDbase3, CodePageId::kNone);
    std::size_t seed = 0;
    for (const StreetOwner& owner : owners) {
        for (int u = 1; ok && u <= owner.streets; ++u, ++seed) {
            const std::size_t base = (seed * 7 + static_cast<std::size_t>(u)) % t.streets.size();
            const auto round = static_cast<std::size_t>(u - 1) / t.streets.size();
            // A city has more streets than names: the later ones are the 2nd, 3rd... of a name.
            std::string name = round == 0 ? t.streets[base]
                                          : std::to_string(round + 1) + t.ordinal + t.streets[base];
            ok = w.Set(0, name)
                && w.Set(1, t.streetKinds[(seed + static_cast<std::size_t>(u)) % t.streetKinds.size()])
                && w.Set(2, owner.code11 + Digits(static_cast<std::uint64_t>(u), 4) + "00")
                && w.Set(3, owner.index) && w.Set(4, owner.gninmb) && w.Add();
        }
    }
    ok = ok && w.Finish();
    if (!ok)
        *error = w.Error();
    return ok;
}

} // namespace

bool WriteKladrSample(platform::FileSystem& fs, const std::string& directory,
    const KladrSampleOptions& options, std::string* error)
{
    if (!fs.CreateDirectories(directory)) {
        *error = directory + ": cannot create the folder";
        return false;
    }
    const std::string dir = directory.ends_with('/') ? directory : directory + '/';
    if (const auto region = platform::FindEntryNoCase(fs, dir, "Region.dbf");
        region && !fs.Remove(*region)) {
        *error = *region + ": cannot remove the region table of an earlier run";
        return false;
    }
    const Texts texts;
    std::vector<StreetOwner> owners;
    if (!WriteKladr(fs, dir + kKladrTable, options.kladrRecords, texts, &owners, error))
        return false;
    return !options.streets || WriteStreets(fs, dir + kStreetTable, texts, owners, error);
}

} // namespace samples
