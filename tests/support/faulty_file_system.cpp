#include "tests/support/faulty_file_system.h"

#include <cerrno>

namespace testing_support {
namespace {

class FaultyFile final : public platform::File
{
public:
    FaultyFile(std::unique_ptr<platform::File> real, FaultyFileSystem& owner)
        : m_real(std::move(real))
        , m_owner(owner)
    {
    }

    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size, std::size_t* got) override
    {
        ++m_owner.reads;
        if (m_owner.failReadFrom > 0 && m_owner.reads >= m_owner.failReadFrom) {
            *got = 0;
            return Fail(EIO);
        }
        return m_real->ReadAt(offset, buffer, size, got) || Fail(m_real->LastError());
    }
    bool WriteAt(std::uint64_t offset, const void* buffer, std::size_t size) override
    {
        ++m_owner.writes;
        if (m_owner.failWriteFrom > 0 && m_owner.writes >= m_owner.failWriteFrom)
            return Fail(ENOSPC);
        return m_real->WriteAt(offset, buffer, size) || Fail(m_real->LastError());
    }
    bool Size(std::uint64_t* size) override
    {
        return m_real->Size(size) || Fail(m_real->LastError());
    }
    bool Truncate(std::uint64_t size) override
    {
        ++m_owner.writes;
        if (m_owner.failWriteFrom > 0 && m_owner.writes >= m_owner.failWriteFrom)
            return Fail(ENOSPC);
        return m_real->Truncate(size) || Fail(m_real->LastError());
    }
    bool Sync() override { return m_real->Sync() || Fail(m_real->LastError()); }
    std::optional<Identity> Identify() override { return m_real->Identify(); }

private:
    std::unique_ptr<platform::File> m_real;
    FaultyFileSystem& m_owner;
};

} // namespace

std::unique_ptr<platform::File> FaultyFileSystem::Open(const std::string& path,
                                                       platform::OpenMode mode, int* error)
{
    const auto contains = [&path](const std::string& text) {
        return !text.empty() && path.find(text) != std::string::npos;
    };
    if (contains(failOpenContaining)
        || (mode == platform::OpenMode::kCreate && contains(failCreateContaining))) {
        if (error)
            *error = EACCES;
        return nullptr;
    }
    auto real = Real().Open(path, mode, error);
    if (!real)
        return nullptr;
    return std::make_unique<FaultyFile>(std::move(real), *this);
}

bool FaultyFileSystem::Rename(const std::string& from, const std::string& to)
{
    ++renames;
    renameLog.push_back(platform::FileNameOf(from) + " -> " + platform::FileNameOf(to));
    if (failRenames || (failRenameNumber > 0 && renames == failRenameNumber)
        || (failRenameFrom > 0 && renames >= failRenameFrom))
        return false;
    return Real().Rename(from, to);
}

bool FaultyFileSystem::Remove(const std::string& path)
{
    return !failRemoves && Real().Remove(path);
}

} // namespace testing_support
