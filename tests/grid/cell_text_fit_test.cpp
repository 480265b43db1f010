#include "grid/cell_text_fit.h"

#include "tests/grid/grid_test_util.h"

#include <gtest/gtest.h>

namespace grid {
namespace {

// In the tests' monospace font every character, the marks included, has one advance.
class CellTextFitTest : public ::testing::Test
{
protected:
    FittedCellText Fit(const QString& text, int areaChars, int startChar, bool right, bool whole,
        int viewChars = 1000)
    {
        // The area starts `startChar` characters right of the view's left edge (negative:
        // scrolled out of sight on the left).
        const int left = startChar * w;
        return FitCellText(text, metrics, left, left + areaChars * w, 0, viewChars * w, right,
            whole);
    }

    QFontMetrics metrics { test::TestFont() };
    int w = metrics.horizontalAdvance(QLatin1Char('0'));
};

TEST_F(CellTextFitTest, ANumberWiderThanItsBoxIsAFillNeverItsLastDigits)
{
    EXPECT_EQ(metrics.horizontalAdvance(kCutMark), w);
    EXPECT_EQ(Fit(QStringLiteral("999958"), 4, 2, true, true).Shown(), QStringLiteral("####"));
    EXPECT_EQ(Fit(QStringLiteral("-5000.00"), 7, 2, true, true).Shown(), QStringLiteral("#######"));
    // A box narrower than one '#' still shows one.
    EXPECT_EQ(FitCellText(QStringLiteral("12"), metrics, 0, w / 2, 0, 100, true, true).Shown(),
        QStringLiteral("#"));
    // What fits is drawn whole against the right edge of the area.
    const FittedCellText fits = Fit(QStringLiteral("8859"), 6, 2, true, true);
    EXPECT_EQ(fits.Shown(), QStringLiteral("8859"));
    EXPECT_EQ(fits.x + metrics.horizontalAdvance(QStringLiteral("8859")), 8 * w);
    // A character field is cut on the right by clipping, as before.
    EXPECT_EQ(Fit(QStringLiteral("Ivanov Ivan"), 4, 2, false, false).Shown(),
        QStringLiteral("Ivanov Ivan"));
}

TEST_F(CellTextFitTest, AStartScrolledOutOfSightIsMarkedInEveryColumn)
{
    // "1001" right-aligned in a box of 6 that starts 4 characters off the left: "10" is gone,
    // and the mark takes the place of the first visible digit.
    FittedCellText cut = Fit(QStringLiteral("1001"), 6, -4, true, true);
    EXPECT_EQ(cut.Shown(), QStringLiteral("\u20261"));
    EXPECT_EQ(cut.leftMarkX, 0);
    EXPECT_GE(cut.x, metrics.horizontalAdvance(kCutMark));
    EXPECT_LT(cut.x, 2 * w);
    cut = Fit(QStringLiteral("Petrov"), 10, -2, false, false);
    EXPECT_EQ(cut.Shown(), QStringLiteral("\u2026rov"));
    // Only the margin or leading blanks out of sight: nothing is cut.
    EXPECT_FALSE(FitCellText(QStringLiteral(" Petrov"), metrics, -w + 1, 10 * w, 0, 1000, false,
        false).CutLeft());
    EXPECT_FALSE(Fit(QStringLiteral("12"), 6, -3, true, true).CutLeft());
    // Nothing left in sight but the mark.
    EXPECT_EQ(Fit(QStringLiteral("1234"), 4, -4, true, true).Shown(), QStringLiteral("\u2026"));
}

TEST_F(CellTextFitTest, AWholeTextPastTheViewsRightEdgeEndsInTheMark)
{
    // A box of 8 from character 2 in a view of 7: "99995" of "999958" would read as a number.
    EXPECT_EQ(Fit(QStringLiteral("999958"), 8, 2, true, true, 7).Shown(),
        QStringLiteral("99\u2026"));
    EXPECT_EQ(Fit(QStringLiteral("01.05.2001"), 12, 0, false, true, 6).Shown(),
        QStringLiteral("01.05\u2026"));
    // Character fields keep being cut by the view's edge.
    EXPECT_EQ(Fit(QStringLiteral("Petrov"), 10, 0, false, false, 3).Shown(), QStringLiteral("Petrov"));
    // Cut on both sides.
    EXPECT_EQ(Fit(QStringLiteral("123456789"), 9, -2, false, true, 6).Shown(),
        QStringLiteral("\u20264567\u2026"));
}

} // namespace
} // namespace grid
