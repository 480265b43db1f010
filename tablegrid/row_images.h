#pragma once

#include "grid/grid_image_list.h"

namespace tablegrid {

// The row-header pictures of a table window: 0 a black dot (record marked for deletion),
// 1 a red dot (deletion not yet saved). 7 x 7 pixels on a transparent ground.
grid::GridImageList MakeRowHeaderImages();

} // namespace tablegrid
