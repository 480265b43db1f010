#pragma once

namespace shell {

// The version of the system's common controls, which decides whether the main window has
// its font bar and table bar. This system's widgets have everything those bars need, so the
// installed version is 6.0; tests give an older one to see the window without the bars.
struct CommonControlsVersion
{
    int major = 6;
    int minor = 0;
};

CommonControlsVersion InstalledCommonControls();

// The bars need version 4.71 or later.
bool HasNewBars(CommonControlsVersion version);

} // namespace shell
