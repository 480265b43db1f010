#pragma once

#include <string_view>

namespace resources {

// The Russian resource set as a whole language library file (the layout of
// resources/README.md), generated from resources/russian/ at build time. The program carries
// it and writes it out beside itself at every start under this name, so the Language dialog
// always offers Russian, even when only the program was copied.
extern const std::string_view kRussianLibrary;
inline constexpr std::string_view kRussianLibraryFileName = "lumtrus.dll";

} // namespace resources
