#include "platform/program_directory.h"

#include "platform/file_system.h"
#include "platform/profile_file.h"
#include "platform/whole_file.h"

#include <cstdlib>
#include <filesystem>

namespace platform {
namespace {

std::string WithSlash(std::string directory)
{
    if (!directory.empty() && directory.back() != '/')
        directory += '/';
    return directory;
}

// Hidden, and with a name no user file would have, so the probe never meets a real file.
constexpr const char* kProbeName = ".lumetta-write-probe~";

} // namespace

std::string ProgramDirectory()
{
    std::error_code ec;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return DirectoryOf(executable.string());
}

std::string ConfigDirectoryFor(const char* xdgConfigHome, const char* home)
{
    // A relative XDG_CONFIG_HOME is invalid by the variable's own rules and is ignored.
    if (xdgConfigHome != nullptr && IsAbsolutePath(xdgConfigHome))
        return WithSlash(xdgConfigHome) + "lumetta/";
    if (home != nullptr && *home != '\0')
        return WithSlash(home) + ".config/lumetta/";
    return {};
}

std::string InstalledDataDirectoryFor(const std::string& programDirectory)
{
    if (programDirectory.empty())
        return {};
    const std::filesystem::path data
        = std::filesystem::path(WithSlash(programDirectory)) / "../share/lumetta/";
    return WithSlash(data.lexically_normal().string());
}

std::optional<std::string> FindProgramData(
    FileSystem& fs, const std::string& programDirectory, const std::string& name)
{
    if (programDirectory.empty() || name.empty())
        return std::nullopt;
    for (const std::string& directory :
         { WithSlash(programDirectory), InstalledDataDirectoryFor(programDirectory) }) {
        const auto path = FindEntryNoCase(fs, directory, name);
        if (path && !fs.IsDirectory(*path))
            return path;
    }
    return std::nullopt;
}

SettingsLocation::SettingsLocation(
    FileSystem& fs, std::string programDirectory, std::string configDirectory)
    : m_fs(fs)
    , m_programDirectory(WithSlash(std::move(programDirectory)))
    , m_configDirectory(WithSlash(std::move(configDirectory)))
{ }

SettingsLocation SettingsLocation::ForThisProgram(FileSystem& fs)
{
    return SettingsLocation(fs, ProgramDirectory(),
        ConfigDirectoryFor(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
}

bool SettingsLocation::CanCreateFilesIn(const std::string& directory) const
{
    if (directory.empty() || !m_fs.IsDirectory(directory))
        return false;
    const std::string probe = directory + kProbeName;
    if (!m_fs.Open(probe, OpenMode::kCreate, nullptr))
        return false;
    (void)m_fs.Remove(probe);
    return true;
}

std::string SettingsLocation::WriteDirectory() const
{
    if (CanCreateFilesIn(m_programDirectory))
        return m_programDirectory;
    if (!m_configDirectory.empty() && m_fs.CreateDirectories(m_configDirectory)
        && CanCreateFilesIn(m_configDirectory))
        return m_configDirectory;
    return {};
}

std::vector<std::string> SettingsLocation::SearchDirectories() const
{
    return SearchOrder(WriteDirectory());
}

std::vector<std::string> SettingsLocation::SearchOrder(const std::string& writeDirectory) const
{
    std::vector<std::string> directories;
    if (!writeDirectory.empty())
        directories.push_back(writeDirectory);
    for (const std::string* other : { &m_programDirectory, &m_configDirectory }) {
        if (!other->empty() && *other != writeDirectory)
            directories.push_back(*other);
    }
    return directories;
}

std::optional<std::string> SettingsLocation::FindIn(
    const std::vector<std::string>& directories, const std::string& name) const
{
    for (const std::string& directory : directories) {
        if (auto path = FindEntryNoCase(m_fs, directory, name))
            return path;
    }
    return std::nullopt;
}

std::optional<std::string> SettingsLocation::FindFile(const std::string& name) const
{
    return FindIn(SearchDirectories(), name);
}

std::string SettingsLocation::ProfilePath(const std::string& name) const
{
    const std::string target = WriteDirectory();
    const auto found = FindIn(SearchOrder(target), name);
    if (target.empty())
        return found.value_or(m_programDirectory + name);
    if (!found)
        return target + name;
    if (DirectoryOf(*found) == target)
        return *found;
    std::string text;
    if (ReadWholeFile(m_fs, *found, ProfileFile::kMaxFileSize, &text) != WholeFileRead::kRead
        || !ReplaceWholeFile(m_fs, target + name, text))
        return *found;
    return target + name;
}

} // namespace platform
