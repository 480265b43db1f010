#include "shell/cascade_layout.h"

#include <algorithm>

namespace shell {

std::vector<QRect> CascadeRects(QSize area, int count, int step)
{
    step = std::max(step, 1);
    const int width = std::max(area.width(), 1);
    const int height = std::max(area.height(), 1);
    const int steps = height / (3 * step);
    const QSize size(std::max(width - steps * step, 1), std::max(height - steps * step, 1));
    std::vector<QRect> rects;
    for (int i = 0; i < count; ++i) {
        const int offset = step * (i % (steps + 1));
        rects.emplace_back(QPoint(offset, offset), size);
    }
    return rects;
}

} // namespace shell
