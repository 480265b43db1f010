#include "shell/common_controls.h"

namespace shell {

CommonControlsVersion InstalledCommonControls()
{
    return { 6, 0 };
}

bool HasNewBars(CommonControlsVersion version)
{
    return version.major > 4 || (version.major == 4 && version.minor > 70);
}

} // namespace shell
