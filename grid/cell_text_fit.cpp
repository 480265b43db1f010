#include "grid/cell_text_fit.h"

#include <algorithm>

namespace grid {

QString FittedCellText::Shown() const
{
    QString shown = text;
    if (CutLeft())
        shown.prepend(kCutMark);
    if (CutRight())
        shown.append(kCutMark);
    return shown;
}

FittedCellText FitCellText(const QString& text, const QFontMetrics& metrics, int areaLeft,
    int areaRight, int viewLeft, int viewRight, bool rightAligned, bool whole)
{
    FittedCellText fitted;
    fitted.text = text;
    const int areaWidth = std::max(areaRight - areaLeft, 0);
    int width = metrics.horizontalAdvance(text);
    if (whole && width > areaWidth) {
        const int fill = std::max(areaWidth / std::max(metrics.horizontalAdvance(kFillMark), 1), 1);
        fitted.text = QString(fill, kFillMark);
        width = metrics.horizontalAdvance(fitted.text);
    }
    fitted.x = rightAligned ? areaRight - width : areaLeft;
    if (text.isEmpty() || fitted.text.startsWith(kFillMark))
        return fitted;

    const int markWidth = metrics.horizontalAdvance(kCutMark);
    // The start is scrolled out of sight: drop what would be under or left of the mark. Blanks
    // in front, and the margin, may go unmarked.
    qsizetype blanks = 0;
    while (blanks < fitted.text.size() && fitted.text.at(blanks) == QLatin1Char(' '))
        ++blanks;
    if (blanks < fitted.text.size()
        && fitted.x + metrics.horizontalAdvance(fitted.text.left(blanks)) < viewLeft) {
        int dropped = 0;
        int advance = 0;
        while (dropped < fitted.text.size() && fitted.x + advance < viewLeft + markWidth)
            advance += metrics.horizontalAdvance(fitted.text.at(dropped++));
        fitted.text = fitted.text.mid(dropped);
        fitted.x += advance;
        fitted.leftMarkX = viewLeft;
    }
    // A whole text whose end is out of sight on the right keeps what fits before the mark.
    if (whole && !fitted.text.isEmpty()
        && fitted.x + metrics.horizontalAdvance(fitted.text) > viewRight) {
        qsizetype kept = fitted.text.size();
        int advance = metrics.horizontalAdvance(fitted.text);
        while (kept > 0 && fitted.x + advance + markWidth > viewRight)
            advance -= metrics.horizontalAdvance(fitted.text.at(--kept));
        fitted.text.truncate(kept);
        fitted.rightMarkX = std::max(fitted.x + advance, viewLeft);
    }
    return fitted;
}

} // namespace grid
