#include "grid/grid_row.h"

#include <algorithm>

namespace grid {

GridRow::GridRow(int columnCount, GridColor backColor)
    : texts(static_cast<size_t>(std::max(columnCount, 0)))
    , textColors(texts.size(), kBlackColor)
    , backColors(texts.size(), backColor)
{
}

} // namespace grid
