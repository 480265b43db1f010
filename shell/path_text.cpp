#include "shell/path_text.h"

#include "platform/file_system.h"
#include "platform/utf8.h"

#include <QFile>

#include <system_error>
#include <filesystem>

namespace shell {

std::string PathToAnsi(const std::string& path)
{
    return platform::Utf8ToAnsi(path);
}

QString PathToQString(const std::string& path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string PathFromQString(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

std::string CurrentDirectory()
{
    std::error_code error;
    std::string directory = std::filesystem::current_path(error).string();
    if (error)
        return {};
    if (directory.size() > 1 && directory.back() == '/')
        directory.pop_back();
    return directory;
}

bool SetCurrentDirectory(const std::string& directory)
{
    std::error_code error;
    std::filesystem::current_path(directory, error);
    return !error;
}

bool IsSameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    const bool same = std::filesystem::equivalent(a, b, error);
    return error ? a == b : same;
}

std::string AbsolutePathOf(const std::string& name)
{
    if (platform::IsAbsolutePath(name))
        return name;
    const std::string current = CurrentDirectory();
    if (current == "/")
        return "/" + name;
    return current + "/" + name;
}

} // namespace shell
