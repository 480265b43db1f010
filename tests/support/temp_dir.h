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

} // namespace testing_support
