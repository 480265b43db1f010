#include "shell/dialogs/field_list_text.h"

#include "platform/format_text.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"

namespace shell {
namespace {

constexpr std::size_t kNameColumn = 11;
constexpr std::size_t kTypeColumn = 9;

std::string PaddedTo(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

} // namespace

std::string FieldTypeName(char type)
{
    switch (type) {
    case 'C':
        return platform::LoadString(IDS_TYPE_CHARACTER);
    case 'N':
        return platform::LoadString(IDS_TYPE_NUMERIC);
    case 'D':
        return platform::LoadString(IDS_TYPE_DATE);
    case 'L':
        return platform::LoadString(IDS_TYPE_LOGIC);
    case 'M':
        return platform::LoadString(IDS_TYPE_MEMO);
    default:
        return platform::LoadString(IDS_TYPE_UNKNOWN);
    }
}

std::string FieldListLine(int number, const std::string& name, char type, int length, int decimals)
{
    const std::string paddedName = PaddedTo(name, kNameColumn);
    const std::string typeName = PaddedTo(FieldTypeName(type), kTypeColumn);
    return platform::FormatText(platform::LoadString(IDS_FIELD_LIST_LINE),
        { number, paddedName, typeName, length, decimals });
}

} // namespace shell
