#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// A fresh directory under the system's temporary folder, removed with everything in it when
// the object goes. Path() ends with '/'.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

std::vector<std::uint8_t> ReadAllBytes(const std::string& path);
void WriteAllBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
// A file's read, write and execute bits (0644 and the like); -1 when it is not there.
int ModeOf(const std::string& path);
void SetModeOf(const std::string& path, int mode);

} // namespace testing_support
