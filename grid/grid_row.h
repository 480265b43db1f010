#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace grid {

// A cell colour in the layout of QRgb (0xAARRGGBB), so rows stay free of Qt types.
using GridColor = std::uint32_t;
inline constexpr GridColor kBlackColor = 0xFF000000u;
inline constexpr GridColor kRedColor = 0xFFFF0000u;
inline constexpr GridColor kWhiteColor = 0xFFFFFFFFu;

// What the owner of a grid keeps with a row to find the row's source again (the table grid
// keeps the record number). Owned by the row and deleted with it.
class GridRowData
{
public:
    virtual ~GridRowData() = default;
};

// One cached row of a grid (CGridWnd::CRow): the texts the owner gave for each column, in
// code page 1251 as the owner works with them, a text and a back colour per cell, the
// picture shown in the row header (-1 = none) and the owner's row data.
// Invariant: texts, textColors and backColors all have one entry per column of the grid at
// the time the row was made; a change of columns flushes every cached row.
struct GridRow
{
    GridRow(int columnCount, GridColor backColor);

    int ColumnCount() const { return static_cast<int>(texts.size()); }

    int imageIndex = -1;
    std::vector<std::string> texts;
    std::vector<GridColor> textColors;
    std::vector<GridColor> backColors;
    std::unique_ptr<GridRowData> rowData;
};

} // namespace grid
