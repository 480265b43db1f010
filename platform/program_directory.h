#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

class FileSystem;

// The directory of the running program's file (from /proc/self/exe), ending in '/'; empty
// when the system does not say.
std::string ProgramDirectory();

// The directory for the program's own files when it cannot write beside itself:
// "$XDG_CONFIG_HOME/lumetta/" when that variable holds an absolute path, otherwise
// "$HOME/.config/lumetta/"; empty when neither is set. The values are passed in (null or
// empty when unset) so tests need no environment.
std::string ConfigDirectoryFor(const char* xdgConfigHome, const char* home);

// Where an installed program keeps the files it only reads (the help pages): "share/lumetta/"
// beside the directory holding the program ("/usr/bin/" -> "/usr/share/lumetta/"). Empty
// for an empty program directory.
std::string InstalledDataDirectoryFor(const std::string& programDirectory);

// The existing file `name` (found without regard to letter case) among the files the
// program reads: beside the program first, as in the build folder or a copy unpacked into a
// folder of its own, then in the installed data directory. A directory of that name is no
// such file.
std::optional<std::string> FindProgramData(
    FileSystem& fs, const std::string& programDirectory, const std::string& name);

// Where the files the program writes about itself live (the settings file, the written-out
// language library): beside the program when a file can be created there, as on a copy
// unpacked into a folder of its own; otherwise, as for an installed program, in the
// configuration directory, which is created when needed.
//
// Reads look first where writes go and then in the other place. Looking beside the program
// first even when writes go elsewhere would let a settings file installed with the program
// hide the one the user's own changes were saved to, and they would never take effect.
//
// Names are found in either directory without regard to letter case. The file system is not
// owned and must outlive the object.
class SettingsLocation
{
public:
    // Directories end in '/' (one is added when missing); an empty one is not used.
    SettingsLocation(FileSystem& fs, std::string programDirectory, std::string configDirectory);
    // The running program's directory and the configuration directory of its environment.
    static SettingsLocation ForThisProgram(FileSystem& fs);

    const std::string& ProgramDir() const { return m_programDirectory; }
    const std::string& ConfigDir() const { return m_configDirectory; }

    // Where files are written now: the program directory when a file can be created in it
    // (tried with a probe file that is removed at once), otherwise the configuration
    // directory, created when missing. Empty when neither can be written.
    std::string WriteDirectory() const;
    // The directories to look in, in order: the write directory first, then the other one.
    std::vector<std::string> SearchDirectories() const;
    // The existing file `name` in the first search directory that has it.
    std::optional<std::string> FindFile(const std::string& name) const;

    // The one path through which a settings file `name` is both read and written. It is
    // the file in the write directory (in whatever letter case it exists there, or as
    // `name` for a file yet to be created). When only the other directory has the file, it
    // is first copied into the write directory, so the keys this program does not write
    // survive the first write there; if that copy fails, the other file's path is given,
    // to be read from (writes to it will fail rather than lose anything).
    std::string ProfilePath(const std::string& name) const;

private:
    bool CanCreateFilesIn(const std::string& directory) const;
    std::vector<std::string> SearchOrder(const std::string& writeDirectory) const;
    std::optional<std::string> FindIn(
        const std::vector<std::string>& directories, const std::string& name) const;

    FileSystem& m_fs;
    std::string m_programDirectory;
    std::string m_configDirectory;
};

} // namespace platform
