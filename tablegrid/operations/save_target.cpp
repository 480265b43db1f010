#include "tablegrid/operations/save_target.h"

#include "platform/file_system.h"

#include <algorithm>
#include <cerrno>
#include <optional>

namespace tablegrid {

namespace {

constexpr int kStemChoices = 1000;

std::string ExtensionOf(const std::string& path)
{
    const std::string name = platform::FileNameOf(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string Stem(const char* base, int n)
{
    return n == 0 ? std::string(base) : std::string(base) + std::to_string(n);
}

// Creates one empty file per extension under the first free stem; the created paths, or
// nothing when the directory refuses new files or every stem is taken.
std::optional<std::vector<std::string>> ClaimStem(platform::FileSystem& fs,
    const std::string& directory, const char* base, const std::vector<std::string>& extensions)
{
    for (int n = 0; n < kStemChoices; ++n) {
        std::vector<std::string> created;
        bool taken = false;
        for (const std::string& extension : extensions) {
            const std::string path = directory + Stem(base, n) + extension;
            int error = 0;
            if (!fs.Open(path, platform::OpenMode::kCreateNew, &error)) {
                taken = error == EEXIST;
                break;
            }
            created.push_back(path);
        }
        if (created.size() == extensions.size())
            return created;
        for (const std::string& path : created)
            (void)fs.Remove(path);
        if (!taken)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

SaveTarget::SaveTarget(platform::FileSystem& fs)
    : m_fs(fs)
{
}

SaveTarget::~SaveTarget()
{
    if (!m_committed)
        Discard();
}

bool SaveTarget::Claim(const std::vector<std::string>& finalPaths)
{
    Discard();
    if (finalPaths.empty())
        return false;
    // Renaming a finished file onto a device or a pipe would replace it with a plain file
    // (/dev/null among them), so such a place is refused like a directory that takes none.
    if (std::any_of(finalPaths.begin(), finalPaths.end(), platform::IsSpecialFile))
        return false;
    std::vector<std::string> extensions;
    // A final path that is a link is written through: the file it names is replaced.
    std::vector<std::string> finals;
    for (const std::string& path : finalPaths) {
        finals.push_back(platform::FollowLinks(path));
        extensions.push_back(ExtensionOf(finals.back()));
    }
    const auto claimed
        = ClaimStem(m_fs, platform::DirectoryOf(finals.front()), ".lumetta-save", extensions);
    if (!claimed)
        return false;
    // A file replaced keeps who may read and write it, from before anything is written.
    for (std::size_t i = 0; i < finals.size(); ++i) {
        m_files.emplace_back((*claimed)[i], finals[i]);
        platform::KeepAccessOf(finals[i], (*claimed)[i]);
    }
    m_committed = false;
    return true;
}

bool SaveTarget::Commit()
{
    if (m_files.empty())
        return false;
    // What the renames before the last one replace is kept aside until the last one is done.
    struct Aside
    {
        std::string from;
        std::string at;
        bool linked; // `at` is a second name of the old file, which is still at `from` too
    };
    std::vector<Aside> asides;
    std::size_t renamed = 0;
    auto replaced = [&](const std::string& final) {
        for (std::size_t i = 0; i < renamed; ++i) {
            if (m_files[i].second == final)
                return true;
        }
        return false;
    };
    auto undo = [&] {
        // A second name of a file still in place is only dropped: a rename between two names
        // of one file does nothing.
        for (const Aside& aside : asides) {
            if (aside.linked && !replaced(aside.from))
                (void)m_fs.Remove(aside.at);
            else
                (void)m_fs.Rename(aside.at, aside.from);
        }
        // A moved temporary file that nothing was put back over is removed.
        for (std::size_t i = 0; i < renamed; ++i) {
            const bool restored = std::any_of(asides.begin(), asides.end(),
                [&](const Aside& aside) { return aside.from == m_files[i].second; });
            if (!restored)
                (void)m_fs.Remove(m_files[i].second);
        }
        Discard();
        return false;
    };
    for (std::size_t i = 0; i + 1 < m_files.size(); ++i) {
        const std::string& final = m_files[i].second;
        if (!m_fs.Exists(final))
            continue;
        const auto claimed = ClaimStem(m_fs, platform::DirectoryOf(final), ".lumetta-old",
            { ExtensionOf(final) });
        if (!claimed)
            return undo();
        // Where the file system allows, the aside is a second name of the old file, so the
        // final name holds the old or the new file at every moment, even if the program is
        // stopped between the renames; elsewhere the old file is moved aside.
        const std::string& at = claimed->front();
        const bool linked = m_fs.Remove(at) && m_fs.Link(final, at);
        if (!linked && !m_fs.Rename(final, at)) {
            (void)m_fs.Remove(at);
            return undo();
        }
        asides.push_back({ final, at, linked });
    }
    for (; renamed < m_files.size(); ++renamed) {
        if (!m_fs.Rename(m_files[renamed].first, m_files[renamed].second))
            return undo();
    }
    for (const Aside& aside : asides)
        (void)m_fs.Remove(aside.at);
    m_committed = true;
    m_files.clear();
    return true;
}

void SaveTarget::Discard()
{
    for (const auto& [temporary, final] : m_files)
        (void)m_fs.Remove(temporary);
    m_files.clear();
}

} // namespace tablegrid
