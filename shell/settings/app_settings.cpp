#include "shell/settings/app_settings.h"

#include "platform/profile_file.h"

#include <array>
#include <string>

namespace shell {
namespace {

constexpr std::string_view kFont = "Font";
constexpr std::string_view kInterface = "Interface";

// In the order of the DateFormat numbers.
constexpr std::array<std::string_view, 5> kDateTexts
    = { "YYYYMMDD", "MM/DD/YY", "MM/DD/YYYY", "DD.MM.YY", "DD.MM.YYYY" };

} // namespace

std::string_view DateFormatText(table::DateFormat form)
{
    const auto index = static_cast<std::size_t>(form);
    return index < kDateTexts.size()
        ? kDateTexts[index]
        : kDateTexts[static_cast<std::size_t>(table::kDefaultDateFormat)];
}

table::DateFormat DateFormatFromText(std::string_view text)
{
    for (std::size_t i = 0; i < kDateTexts.size(); ++i) {
        if (text == kDateTexts[i])
            return static_cast<table::DateFormat>(i);
    }
    return table::kDefaultDateFormat;
}

AppSettings AppSettings::Read(const platform::ProfileFile& file, std::string_view builtInLanguage)
{
    AppSettings settings;
    FontRecord& font = settings.font;
    font.faceName = file.GetString(kFont, "FaceName", font.faceName);
    if (font.faceName.size() > FontRecord::kMaxFaceName)
        font.faceName.resize(FontRecord::kMaxFaceName);
    font.height = file.GetInt(kFont, "Hight", font.height);
    font.width = file.GetInt(kFont, "Width", font.width);
    font.weight = file.GetInt(kFont, "Weight", font.weight);
    font.italic = static_cast<std::uint8_t>(file.GetInt(kFont, "Italic", font.italic));
    font.charSet = static_cast<std::uint8_t>(file.GetInt(kFont, "CharSet", font.charSet));
    settings.language = file.GetString(kInterface, "Language", builtInLanguage);
    settings.dateFormat = DateFormatFromText(
        file.GetString(kInterface, "Date", DateFormatText(settings.dateFormat)));
    return settings;
}

bool AppSettings::Write(platform::ProfileFile& file) const
{
    // Key by key rather than section by section, so any other keys a user keeps in these
    // sections stay; every write is tried even after one fails.
    bool written = file.WriteString(kFont, "FaceName", font.faceName);
    written &= file.WriteString(kFont, "Hight", std::to_string(font.height));
    written &= file.WriteString(kFont, "Width", std::to_string(font.width));
    written &= file.WriteString(kFont, "Weight", std::to_string(font.weight));
    written &= file.WriteString(kFont, "Italic", std::to_string(font.italic));
    written &= file.WriteString(kFont, "CharSet", std::to_string(font.charSet));
    written &= file.WriteString(kInterface, "Language", language);
    written &= file.WriteString(kInterface, "Date", DateFormatText(dateFormat));
    return written;
}

bool ReadShowClassifierHelp(const platform::ProfileFile& file)
{
    return file.GetInt("RUR", "ShowHelp", 1) != 0;
}

bool WriteShowClassifierHelp(platform::ProfileFile& file, bool show)
{
    return file.WriteString("RUR", "ShowHelp", show ? "1" : "0");
}

} // namespace shell
