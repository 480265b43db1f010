#pragma once

#include <QString>

#include <string>

// File-system paths are the system's bytes (UTF-8 here), not the program's cp1251 text.
// These are the crossings: into a cp1251 message, and to and from the widgets.
namespace shell {

// A path as cp1251 text for a message or title; characters 1251 lacks become '?'.
std::string PathToAnsi(const std::string& path);

QString PathToQString(const std::string& path);
std::string PathFromQString(const QString& path);

// The process's current directory, without a trailing '/'; empty when it cannot be read.
std::string CurrentDirectory();
// Makes `directory` the current one; false when the system refuses.
bool SetCurrentDirectory(const std::string& directory);

// Whether two paths name one file, whatever links or spellings lead to it; paths that do
// not exist are compared as text.
bool IsSameFile(const std::string& a, const std::string& b);

// `name` made absolute against the current directory; an absolute name is kept as given.
std::string AbsolutePathOf(const std::string& name);

} // namespace shell
