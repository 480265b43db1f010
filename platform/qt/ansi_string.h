#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// The one crossing between the engine's text, bytes of code page 1251 ("ANSI"), and the
// QString of the widgets. Every 1251 byte has a character and comes back as the same byte;
// a character that 1251 lacks, typed or pasted by the user, becomes '?'.
namespace platform::qt {

QString FromAnsi(std::string_view text);
std::string ToAnsi(QStringView text);

} // namespace platform::qt
