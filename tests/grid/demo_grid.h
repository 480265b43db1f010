#pragma once

#include "grid/format_grid.h"
#include "grid/grid_image_list.h"

#include <QPainter>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace grid::test {

// The demo owner of the tests: a typed grid whose rows are generated from their index, with
// edits kept in a map the way the table grid keeps pending changes (an edited cell is red,
// also after its row left the cache and came back). Columns: a name, a logical, an amount
// (numeric 9.2), a date and a memo.
class DemoGrid : public CFormatGrid
{
public:
    enum Column { kName, kActive, kAmount, kDate, kMemo };

    void BuildColumns()
    {
        ClearColumns();
        InsertColumn(kName, "Name", kCharacter, 12, 0, 0, false);
        InsertColumn(kActive, "Active", kLogical, 1, 0, 0, false);
        InsertColumn(kAmount, "Amount", kNumeric, 9, 2, 0, false);
        InsertColumn(kDate, "Date", kDate, 10, 0, 0, false);
        InsertColumn(kMemo, "Memo", kMemo, 10, 0, 0, false);
    }

    static std::string GeneratedText(int row, int column)
    {
        switch (column) {
        case kName:
            return row % 5 == 2 ? "\xCF\xE5\xF2\xF0\xEE\xE2 " + std::to_string(row) // Петров
                                : "Row " + std::to_string(row);
        case kActive:
            return row % 3 == 0 ? "true" : "false";
        case kAmount:
            return std::to_string(row * 7 % 1000) + "." + std::to_string(10 + row % 90);
        case kDate:
            return row % 4 == 3 ? "" : "0" + std::to_string(1 + row % 9) + ".05.2001";
        default:
            return row % 2 ? "<Memo>" : "";
        }
    }

    void FillRow(int row, CRow* rowObject) override
    {
        fills.push_back(row);
        for (int c = 0; c < rowObject->ColumnCount(); ++c) {
            const auto edit = edits.find({ row, c });
            rowObject->texts[static_cast<size_t>(c)]
                = edit == edits.end() ? GeneratedText(row, c) : edit->second;
            if (edit != edits.end())
                rowObject->textColors[static_cast<size_t>(c)] = kRedColor;
        }
        rowObject->imageIndex = row % 7 == 3 ? 0 : (row % 11 == 5 ? 1 : -1);
    }

    bool ValidateCell(int row, int column, const std::string& text) override
    {
        validated.push_back(text);
        if (refuseAll || !CFormatGrid::ValidateCell(row, column, text))
            return false;
        std::string current;
        if (GetCurrentCellText(&current) && current == text)
            return true;
        edits[{ row, column }] = text;
        if (CRow* cached = GetCurrentRowObject())
            cached->textColors[static_cast<size_t>(column)] = kRedColor;
        return true;
    }

    void OnCellEdited(int row, int column) override { edited.emplace_back(row, column); }
    void OnEditCaretMoved(int position) override { carets.push_back(position); }

    std::vector<int> fills;
    std::vector<std::string> validated;
    std::vector<std::pair<int, int>> edited;
    std::vector<int> carets;
    std::map<std::pair<int, int>, std::string> edits;
    bool refuseAll = false;
};

// The row-header pictures of the table windows: a black dot (deleted) and a red dot
// (deletion pending), 7 x 7 on a transparent ground.
inline GridImageList MakeDotImages()
{
    GridImageList list;
    for (const QColor color : { QColor(Qt::black), QColor(Qt::red) }) {
        QPixmap dot(7, 7);
        dot.fill(Qt::transparent);
        QPainter painter(&dot);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(QRectF(0, 0, 7, 7));
        painter.end();
        list.images.push_back(dot);
    }
    return list;
}

} // namespace grid::test
