#pragma once

#include <QPixmap>
#include <QSize>

#include <vector>

namespace grid {

// The pictures a grid may draw in its row header, all of one size (the size of the first).
// Owned by whoever creates the grid; the grid and its views only point at it.
struct GridImageList
{
    std::vector<QPixmap> images;

    QSize ImageSize() const { return images.empty() ? QSize() : images.front().size(); }
    int Count() const { return static_cast<int>(images.size()); }
};

// What the views read of the grid font: the stand-in for the font's text metrics.
struct GridFontMetrics
{
    int height = 0; // line height of the font
    int maxCharWidth = 0; // widest character
    bool trueType = false; // a scalable font
};

} // namespace grid
