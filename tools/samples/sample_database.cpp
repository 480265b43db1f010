#include "tools/samples/sample_database.h"

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "schema/database_schema.h"
#include "table/dbf_format.h"
#include "tools/samples/sample_table_writer.h"

#include <array>
#include <string_view>

namespace samples {

namespace {

using table::CodePageId;
using table::FieldList;

std::string Ansi(std::string_view utf8)
{
    return platform::Utf8ToAnsi(utf8);
}

// A key as the accounting program writes it: right-aligned in its width.
std::string Code(std::uint32_t number, std::size_t width)
{
    std::string digits = std::to_string(number);
    return std::string(width > digits.size() ? width - digits.size() : 0, ' ') + digits;
}

struct Unit
{
    const char* name;
};
constexpr std::array<Unit, 6> kUnitNames
    = { { { "шт." }, { "кг" }, { "м" }, { "упак." }, { "л" }, { "компл." } } };

// Groups: the top ones first, each leaf with the word its goods begin with and its unit.
struct Group
{
    std::uint32_t parent; // 0 for a top group
    const char* name;
    const char* item; // empty for a top group
    std::uint32_t unit; // 1-based into kUnitNames
};
constexpr std::array<Group, 16> kGroupList = { {
    { 0, "Крепёж", "", 0 },
    { 0, "Инструмент", "", 0 },
    { 0, "Электротовары", "", 0 },
    { 0, "Сантехника", "", 0 },
    { 1, "Болты", "Болт", 1 },
    { 1, "Гайки", "Гайка", 4 },
    { 1, "Шурупы", "Шуруп", 2 },
    { 2, "Ключи гаечные", "Ключ гаечный", 1 },
    { 2, "Отвёртки", "Отвёртка", 1 },
    { 2, "Наборы инструмента", "Набор инструмента", 6 },
    { 3, "Кабель", "Кабель медный", 3 },
    { 3, "Розетки", "Розетка", 1 },
    { 3, "Выключатели", "Выключатель", 1 },
    { 4, "Трубы", "Труба", 3 },
    { 4, "Краски и грунты", "Грунтовка", 5 },
    { 4, "Смесители", "Смеситель", 1 },
} };

constexpr std::array kVariants = { "эконом", "стандарт", "премиум", "ГОСТ", "DIN", "класс А",
    "класс Б", "серия М", "серия П", "проф." };

bool WriteUnits(platform::FileSystem& fs, const std::string& path, std::string* error)
{
    const FieldList fields = { { "ID", 'C', 3, 0 }, { "DESCR", 'C', 10, 0 } };
    SampleTableWriter w(fs);
    bool ok = w.Create(path, fields, table::dbf::kVersionDbase3, CodePageId::k866);
    for (std::uint32_t i = 0; ok && i < kUnitNames.size(); ++i)
        ok = w.Set(0, Code(i + 1, 3)) && w.Set(1, OemText(kUnitNames[i].name)) && w.Add();
    ok = ok && w.Finish();
    if (!ok)
        *error = w.Error();
    return ok;
}

bool WriteGroups(platform::FileSystem& fs, const std::string& path, std::string* error)
{
    const FieldList fields
        = { { "ID", 'C', 5, 0 }, { "PARENTID", 'C', 5, 0 }, { "DESCR", 'C', 30, 0 } };
    SampleTableWriter w(fs);
    bool ok = w.Create(path, fields, table::dbf::kVersionDbase3, CodePageId::k866);
    for (std::uint32_t i = 0; ok && i < kGroupList.size(); ++i) {
        const Group& group = kGroupList[i];
        ok = w.Set(0, Code(i + 1, 5)) && (group.parent == 0 || w.Set(1, Code(group.parent, 5)))
            && w.Set(2, OemText(group.name)) && w.Add();
    }
    ok = ok && w.Finish();
    if (!ok)
        *error = w.Error();
    return ok;
}

bool WriteGoods(platform::FileSystem& fs, const std::string& path, std::string* error)
{
    const FieldList fields = { { "ID", 'C', 6, 0 }, { "CODE", 'C', 8, 0 }, { "DESCR", 'C', 40, 0 },
        { "GROUPID", 'C', 5, 0 }, { "UNITID", 'C', 3, 0 }, { "PRICE", 'N', 12, 2 } };
    constexpr std::uint32_t kFirstLeaf = 4;
    constexpr std::uint32_t kLeaves = kGroupList.size() - kFirstLeaf;
    SampleTableWriter w(fs);
    bool ok = w.Create(path, fields, table::dbf::kVersionDbase3, CodePageId::k866);
    for (std::uint32_t i = 0; ok && i < kGoodsCount; ++i) {
        const std::uint32_t leaf = kFirstLeaf + i * 7 % kLeaves;
        const Group& group = kGroupList[leaf];
        const std::string name = std::string(group.item) + " "
            + kVariants[i / kLeaves % kVariants.size()] + " " + std::to_string(4 + i % 37 * 2);
        const std::uint32_t cents = 150 + i * 7919 % 250000;
        const std::string price = std::to_string(cents / 100) + "."
            + std::to_string(cents % 100 / 10) + std::to_string(cents % 10);
        ok = w.Set(0, Code(i + 1, 6)) && w.Set(1, "A-" + Code(10000 + i * 13, 6).substr(1))
            && w.Set(2, OemText(name)) && w.Set(3, Code(leaf + 1, 5)) && w.Set(4, Code(group.unit, 3))
            && w.Set(5, price) && w.Add();
    }
    ok = ok && w.Finish();
    if (!ok)
        *error = w.Error();
    return ok;
}

bool WriteSchema(platform::FileSystem& fs, const std::string& directory, std::string* error)
{
    schema::DatabaseSchema database(fs, directory);
    schema::SchemaTable& goods = database.AddTable("GOODS");
    goods.description = Ansi("Номенклатура");
    goods.keyFields = { "ID" };
    goods.nameField = "DESCR";
    goods.fieldDescriptions = { { "ID", Ansi("Код") }, { "CODE", Ansi("Артикул") },
        { "DESCR", Ansi("Наименование") }, { "GROUPID", Ansi("Группа") },
        { "UNITID", Ansi("Ед. изм.") }, { "PRICE", Ansi("Цена") } };
    goods.relations = { { "GROUPS", "GROUPID" }, { "UNITS", "UNITID" } };
    schema::SchemaTable& groups = database.AddTable("GROUPS");
    groups.description = Ansi("Группы номенклатуры");
    groups.keyFields = { "ID" };
    groups.nameField = "DESCR";
    groups.fieldDescriptions = { { "ID", Ansi("Код") }, { "PARENTID", Ansi("Входит в группу") },
        { "DESCR", Ansi("Наименование") } };
    groups.relations = { { "GROUPS", "PARENTID" } };
    schema::SchemaTable& units = database.AddTable("UNITS");
    units.description = Ansi("Единицы измерения");
    units.keyFields = { "ID" };
    units.nameField = "DESCR";
    units.fieldDescriptions = { { "ID", Ansi("Код") }, { "DESCR", Ansi("Наименование") } };
    if (!database.SaveSchema("default.sch")) {
        *error = directory + "default.sch: cannot write the schema";
        return false;
    }
    return true;
}

} // namespace

bool WriteSampleDatabase(platform::FileSystem& fs, const std::string& directory, std::string* error)
{
    if (!fs.CreateDirectories(directory)) {
        *error = directory + ": cannot create the folder";
        return false;
    }
    const std::string dir = directory.ends_with('/') ? directory : directory + '/';
    return WriteUnits(fs, dir + kUnits, error) && WriteGroups(fs, dir + kGroups, error)
        && WriteGoods(fs, dir + kGoods, error) && WriteSchema(fs, dir, error);
}

} // namespace samples
