#pragma once

#include "table/date_format.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
class ProfileFile;
}

namespace shell {

// The font of the table windows as the settings file keeps it: the fields of a logical-font
// record that the program sets (all others are 0). A negative height is a character height
// in pixels, a positive one a cell height; weight 700 is bold. Italic and the character set
// are bytes, as in the record, so a value read from the file is kept modulo 256.
struct FontRecord
{
    static constexpr std::size_t kMaxFaceName = 31;

    std::string faceName = "Courier New"; // at most kMaxFaceName characters
    int height = -13;
    int width = 0;
    int weight = 400;
    std::uint8_t italic = 0;
    std::uint8_t charSet = 204; // the Cyrillic character set

    friend bool operator==(const FontRecord&, const FontRecord&) = default;
};

// The settings file's text for a date form, and back. Reading matches the five texts
// exactly; anything else (lower case included) is the default form, DD.MM.YYYY.
std::string_view DateFormatText(table::DateFormat form);
table::DateFormat DateFormatFromText(std::string_view text);

// The settings the program reads at start and writes at exit, kept in the settings file:
//
//     [Font]       FaceName, Hight (sic: the key has always been spelled so), Width, Weight,
//                  Italic, CharSet
//     [Interface]  Language, Date
//
// Keys missing from the file give the defaults of the members. Other sections of the file
// are not touched: the recent list (platform/recent_list.h) and "RUR" (below) have their own
// calls, and "Settings" (PreviewPages) is a print-preview setting of earlier versions,
// left in the file as it is since nothing here uses it.
//
// The application writes at exit only settings it read at start: an exit after a failed
// start must not overwrite the user's settings with the defaults.
struct AppSettings
{
    FontRecord font;
    std::string language; // the language's name as the Language dialog lists it
    table::DateFormat dateFormat = table::kDefaultDateFormat;

    // `builtInLanguage` is the name of the built-in resource set, the default language.
    static AppSettings Read(const platform::ProfileFile& file, std::string_view builtInLanguage);
    // Writes every Font and Interface key; false when a write failed.
    [[nodiscard]] bool Write(platform::ProfileFile& file) const;
};

// Whether opening the address classifiers shows their help first ("RUR", "ShowHelp"):
// anything but 0 shows it; missing means yes.
bool ReadShowClassifierHelp(const platform::ProfileFile& file);
[[nodiscard]] bool WriteShowClassifierHelp(platform::ProfileFile& file, bool show);

} // namespace shell
