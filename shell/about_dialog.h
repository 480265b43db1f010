#pragma once

#include "shell/common_controls.h"

#include <QDialog>

#include <functional>

namespace shell {

// The About box: the program, its version, and, when the common controls are too old for
// the font bar and the table bar, why those bars are missing. "Other products" opens the
// help topic about them when the help can be opened (`openOtherProducts` set), and is
// disabled otherwise. Controls are named after their ids, texts come from dialog 100.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplate = 100;

    CAboutDlg(CommonControlsVersion controls, std::function<void()> openOtherProducts,
              QWidget* parent = nullptr);

    // The version shown: the program's version; empty when the build gave none.
    static QString ProgramVersion();
};

} // namespace shell
