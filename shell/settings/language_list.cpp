#include "shell/settings/language_list.h"

#include "platform/file_system.h"
#include "platform/language_library.h"
#include "platform/program_directory.h"
#include "platform/whole_file.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cctype>

namespace shell {
namespace {

bool IsLibraryName(const std::string& name)
{
    std::string lower = name;
    std::ranges::transform(lower, lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.size() >= 8 && lower.starts_with("lumt") && lower.ends_with(".dll");
}

} // namespace

bool ExtractLanguageLibrary(platform::FileSystem& fs, const platform::SettingsLocation& location,
                            std::string_view fileName, std::string_view image)
{
    const std::string directory = location.WriteDirectory();
    if (directory.empty() || image.empty())
        return false;
    return platform::ReplaceWholeFile(fs, directory + std::string(fileName), image);
}

std::unique_ptr<platform::ResourceSet> LoadLanguageLibrary(platform::FileSystem& fs,
                                                           const std::string& path,
                                                           const std::string& signature)
{
    std::string error;
    auto set = platform::ReadLanguageLibrary(fs, path, &error);
    if (!set || set->FindString(IDS_RESOURCE_SIGNATURE) != signature)
        return nullptr;
    return set;
}

LanguageList ScanLanguageLibraries(platform::FileSystem& fs,
                                   const std::vector<std::string>& directories,
                                   const std::string& builtInName, const std::string& signature)
{
    LanguageList list { { builtInName, std::string() } };
    for (const std::string& directory : directories) {
        std::vector<std::string> names = fs.List(directory);
        std::ranges::sort(names);
        for (const std::string& name : names) {
            if (!IsLibraryName(name))
                continue;
            const std::string path = directory + name;
            const auto library = LoadLanguageLibrary(fs, path, signature);
            const auto language = library ? library->FindString(IDS_LANGUAGE_NAME) : std::nullopt;
            if (!language || language->empty())
                continue;
            auto& entry = list[*language];
            if (entry.empty())
                entry = path;
        }
    }
    return list;
}

} // namespace shell
