#pragma once

#include <string>
#include <string_view>

// The terminal speaks UTF-8; the program's own text is code page 1251. These convert at
// that boundary (the command-line tool's arguments and output).
namespace platform {

// UTF-8 to 1251: a character without a 1251 byte, and every malformed sequence, gives '?'.
std::string Utf8ToAnsi(std::string_view utf8);
// 1251 to UTF-8.
std::string AnsiToUtf8(std::string_view ansi);

} // namespace platform
