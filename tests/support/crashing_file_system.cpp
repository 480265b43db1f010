#include "tests/support/crashing_file_system.h"

#include <cerrno>

namespace testing_support {
namespace {

class CrashingFile final : public platform::File
{
public:
    CrashingFile(std::unique_ptr<platform::File> real, CrashingFileSystem& owner)
        : m_real(std::move(real))
        , m_owner(owner)
    {
    }

    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size, std::size_t* got) override
    {
        if (m_owner.crashed) {
            *got = 0;
            return Fail(EIO);
        }
        return m_real->ReadAt(offset, buffer, size, got) || Fail(m_real->LastError());
    }
    bool WriteAt(std::uint64_t offset, const void* buffer, std::size_t size) override
    {
        int error = 0;
        if (!m_owner.Step())
            return Fail(EIO);
        if (m_owner.WriteFails(&error))
            return Fail(error);
        return m_real->WriteAt(offset, buffer, size) || Fail(m_real->LastError());
    }
    bool Size(std::uint64_t* size) override
    {
        if (m_owner.crashed)
            return Fail(EIO);
        return m_real->Size(size) || Fail(m_real->LastError());
    }
    bool Truncate(std::uint64_t size) override
    {
        int error = 0;
        if (!m_owner.Step())
            return Fail(EIO);
        if (m_owner.WriteFails(&error))
            return Fail(error);
        return m_real->Truncate(size) || Fail(m_real->LastError());
    }
    bool Sync() override
    {
        if (!m_owner.Step())
            return Fail(EIO);
        return m_real->Sync() || Fail(m_real->LastError());
    }
    std::optional<Identity> Identify() override { return m_real->Identify(); }

private:
    std::unique_ptr<platform::File> m_real;
    CrashingFileSystem& m_owner;
};

} // namespace

bool CrashingFileSystem::Step()
{
    if (crashed)
        return false;
    ++steps;
    if (crashAt > 0 && steps >= crashAt)
        crashed = true;
    return !crashed;
}

bool CrashingFileSystem::WriteFails(int* error) const
{
    if (failWriteAt <= 0 || steps < failWriteAt)
        return false;
    if (steps > failWriteAt && writeError != ENOSPC)
        return false;
    *error = writeError;
    return true;
}

std::unique_ptr<platform::File> CrashingFileSystem::Open(const std::string& path,
                                                         platform::OpenMode mode, int* error)
{
    if (crashed || (mode != platform::OpenMode::kRead && !Step())) {
        if (error)
            *error = EIO;
        return nullptr;
    }
    auto real = Real().Open(path, mode, error);
    if (!real)
        return nullptr;
    return std::make_unique<CrashingFile>(std::move(real), *this);
}

bool CrashingFileSystem::Rename(const std::string& from, const std::string& to)
{
    return Step() && Real().Rename(from, to);
}

bool CrashingFileSystem::Remove(const std::string& path)
{
    return Step() && Real().Remove(path);
}

bool CrashingFileSystem::Link(const std::string& existing, const std::string& newPath)
{
    return Step() && Real().Link(existing, newPath);
}

bool CrashingFileSystem::Exists(const std::string& path)
{
    return !crashed && Real().Exists(path);
}

bool CrashingFileSystem::IsDirectory(const std::string& path)
{
    return !crashed && Real().IsDirectory(path);
}

bool CrashingFileSystem::CreateDirectories(const std::string& path)
{
    return Step() && Real().CreateDirectories(path);
}

bool CrashingFileSystem::RemoveAll(const std::string& path)
{
    return Step() && Real().RemoveAll(path);
}

std::vector<std::string> CrashingFileSystem::List(const std::string& directory)
{
    return crashed ? std::vector<std::string> {} : Real().List(directory);
}

} // namespace testing_support
