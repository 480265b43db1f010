#pragma once

#include "platform/file_system.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace table {
class CTable;
}

namespace fuzzing {

// Where an input holding two files (a table and its memo file, a table and an index) is cut.
// Inputs without it are one file and an empty second part.
inline constexpr std::string_view kPartSeparator = "\n@@PART@@\n";

std::pair<std::string_view, std::string_view> SplitParts(const std::uint8_t* data, std::size_t size);

// The scratch folder of this process, made on first use under $TMPDIR (else /tmp) and removed
// at a normal exit; ends with '/'. The targets write every file there and nowhere else.
const std::string& ScratchDir();
// Removes everything inside the scratch folder, so each input starts from nothing.
void ClearScratch();

void WriteFile(const std::string& path, std::string_view bytes);
// Writes `table` as t.dbf in the scratch folder and, when `memo` is not empty, as its memo
// companion: t.dbt or t.fpt by the version byte, so both are offered.
void WriteTableAndMemo(std::string_view table, std::string_view memo);
// The file's bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// Stops the process with a message when a property a target checks does not hold, so that
// libFuzzer keeps the input as a crash.
[[noreturn]] void Fail(const char* what);
inline void Require(bool condition, const char* what)
{
    if (!condition)
        Fail(what);
}

// The real file system, confined to the scratch folder: any path that leads outside it
// (after making it absolute and resolving "..") is refused as if it did not exist. The
// command-line target hands arbitrary paths to the tool; none of them may touch other files.
class ScratchFileSystem : public platform::FileSystem
{
public:
    std::unique_ptr<platform::File> Open(const std::string& path, platform::OpenMode mode,
                                         int* error) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    bool Link(const std::string& existing, const std::string& newPath) override;
    bool Exists(const std::string& path) override;
    bool IsDirectory(const std::string& path) override;
    bool CreateDirectories(const std::string& path) override;
    bool RemoveAll(const std::string& path) override;
    std::vector<std::string> List(const std::string& directory) override;

private:
    static bool Inside(const std::string& path);
};

// Moves through an open table the ways the window does (top to bottom and back, by number,
// past both ends, under the deleted and blank filters, a scan of every record) and reads
// every value of every record it stands on, memo texts included. At most `maxRecords`
// records are visited per pass, so a header claiming billions of records stays quick.
void WalkTable(table::CTable& t, std::uint32_t maxRecords = 200);

} // namespace fuzzing
