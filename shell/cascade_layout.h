#pragma once

#include <QRect>
#include <QSize>

#include <vector>

namespace shell {

// The places of `count` cascaded windows in a window area of size `area`, from the bottom
// window to the top one. Each window lies `step` pixels (a title bar's height) right of and
// below the one before; after as many steps as a third of the area's height holds, the next
// starts again at the top left. Every window is as large as the area less those steps, so
// cascaded windows take most of the area whatever size they had before.
std::vector<QRect> CascadeRects(QSize area, int count, int step);

} // namespace shell
