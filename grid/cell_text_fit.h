#pragma once

#include <QFontMetrics>
#include <QString>

namespace grid {

// What a cell shows of its text when the text may not fit: a number or a date that lost
// digits would read as another number or date, so what is cut says so.
//
// - A text that must be shown whole (numbers, dates) and is wider than its box becomes a
//   fill of '#' across the box, as spreadsheets do.
// - A text whose start lies left of the visible part of the view (a column scrolled partly
//   off the left) loses the characters there and shows "…" at the view's left edge.
// - A whole text whose end lies right of the visible part (a column partly off the right)
//   loses the characters there and ends in "…".
// - A text that need not be whole (character fields) is otherwise cut on the right by its
//   box, as clipping does.
//
// Coordinates are those of the painter; the text area is [areaLeft, areaRight), the visible
// part of the view [viewLeft, viewRight).
struct FittedCellText
{
    static constexpr int kNoMark = -1000000;

    QString text; // the characters to draw, at x
    int x = 0;
    int leftMarkX = kNoMark; // "…" drawn here when the start is cut
    int rightMarkX = kNoMark; // "…" drawn here when the end is cut

    bool CutLeft() const { return leftMarkX != kNoMark; }
    bool CutRight() const { return rightMarkX != kNoMark; }
    // The text as a person reads it off the screen, marks included.
    QString Shown() const;
};

inline constexpr QChar kCutMark = QChar(0x2026); // …
inline constexpr QChar kFillMark = QLatin1Char('#');

FittedCellText FitCellText(const QString& text, const QFontMetrics& metrics, int areaLeft,
    int areaRight, int viewLeft, int viewRight, bool rightAligned, bool whole);

} // namespace grid
