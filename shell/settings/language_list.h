#pragma once

#include "platform/resource_set.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class FileSystem;
class SettingsLocation;
} // namespace platform

namespace shell {

// The languages the Language dialog offers: a language's name (its string 156) and the
// path of its library; the built-in language has the empty path.
using LanguageList = std::map<std::string, std::string>;

// Writes the carried library `image` as `fileName` where the program writes its own files
// (beside itself, or the settings directory when that is not writable), replacing what is
// there, so an older copy never outlives the program that carried it. False when there is
// nowhere to write or the write fails; the old file, if any, is then as it was.
[[nodiscard]] bool ExtractLanguageLibrary(platform::FileSystem& fs,
                                          const platform::SettingsLocation& location,
                                          std::string_view fileName, std::string_view image);

// Reads the library `path` and accepts it only when its signature string equals
// `signature`, the built-in one: a file of the right layout made for another program is
// not one of ours. Nullptr for anything else.
std::unique_ptr<platform::ResourceSet> LoadLanguageLibrary(platform::FileSystem& fs,
                                                           const std::string& path,
                                                           const std::string& signature);

// The built-in language, then every "lumt*.dll" (letter case aside) of `directories` that
// LoadLanguageLibrary accepts and that names its language. Directories are taken in the
// order given and names in sorted order within each; the first library of a name is kept,
// except that a library with the built-in language's name replaces the built-in entry.
LanguageList ScanLanguageLibraries(platform::FileSystem& fs,
                                   const std::vector<std::string>& directories,
                                   const std::string& builtInName, const std::string& signature);

} // namespace shell
