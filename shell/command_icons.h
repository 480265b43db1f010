#pragma once

#include <QIcon>

namespace shell {

// The pictures of the tool bar's commands, the table windows and the program. Each is the
// desktop theme's icon where the theme has one for the purpose, otherwise a picture of our
// own drawn here (16 x 16, with a double-size version for dense screens).
QIcon CommandIcon(int commandId);
QIcon TableIcon(); // the table windows and their tabs
QIcon ProgramIcon(); // the main window

} // namespace shell
