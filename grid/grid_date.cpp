#include "grid/grid_date.h"

#include <cstdio>

namespace grid {

namespace {

struct Part
{
    int position;
    int length;
};

struct Form
{
    Part year;
    Part month;
    Part day;
};

constexpr Form kForms[] = {
    { { 0, 4 }, { 4, 2 }, { 6, 2 } },
    { { 6, 2 }, { 0, 2 }, { 3, 2 } },
    { { 6, 4 }, { 0, 2 }, { 3, 2 } },
    { { 6, 2 }, { 3, 2 }, { 0, 2 } },
    { { 6, 4 }, { 3, 2 }, { 0, 2 } },
};

int ValidFormat(int format)
{
    return format >= 0 && format <= 4 ? format : kDefaultDateFormat;
}

int ReadPart(std::string_view text, Part part)
{
    std::string_view piece = text.substr(static_cast<size_t>(part.position),
        static_cast<size_t>(part.length));
    size_t i = 0;
    while (i < piece.size() && piece[i] == ' ')
        ++i;
    int value = 0;
    for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i)
        value = value * 10 + (piece[i] - '0');
    return value;
}

} // namespace

std::optional<GridDate> ParseGridDate(std::string_view text, int format)
{
    if (text.size() < 8)
        return std::nullopt;
    const Form& form = kForms[ValidFormat(format)];
    GridDate date { ReadPart(text, form.year), ReadPart(text, form.month),
        ReadPart(text, form.day) };
    if (date.day < 1 || date.day > 31 || date.month < 1 || date.month > 12)
        return std::nullopt;
    if (!(date.year > 1000 || date.year < 100))
        return std::nullopt;
    if (date.year < 100)
        date.year += date.year < 70 ? 2000 : 1900;
    return date;
}

std::string FormatGridDate(const GridDate& date, int format)
{
    char buffer[32];
    const int shortYear = date.year % 100;
    switch (ValidFormat(format)) {
    case 0:
        std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date.year, date.month, date.day);
        break;
    case 1:
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02d", date.month, date.day, shortYear);
        break;
    case 2:
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", date.month, date.day, date.year);
        break;
    case 3:
        std::snprintf(buffer, sizeof buffer, "%02d.%02d.%02d", date.day, date.month, shortYear);
        break;
    default:
        std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", date.day, date.month, date.year);
        break;
    }
    return buffer;
}

const char* DateEditFormat(int format)
{
    switch (format) {
    case 0:
        return "yyyyMMdd";
    case 1:
        return "MM/dd/yy";
    case 2:
        return "MM/dd/yyyy";
    case 3:
        return "dd.MM.yy";
    case 4:
        return "dd.MM.yyyy";
    default:
        return "";
    }
}

} // namespace grid
