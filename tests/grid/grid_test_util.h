#pragma once

#include "grid/def_grid_impl.h"
#include "grid/grid_wnd.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QString>
#include <QTest>
#include <QWidget>

#include <string>

namespace grid::test {

// The grid font of the tests: Liberation Mono has the metrics of the program's Courier.
inline QFont TestFont()
{
    QFont font(QStringLiteral("Liberation Mono"));
    font.setPointSize(10);
    return font;
}

// Resizes `grid` so that its viewport shows exactly `rows` rows of the tabular view below
// the header band, `width` pixels wide.
inline void SizeForRows(CGridWnd* grid, const CDefGridImpl& view, int rows, int width)
{
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->resize(width, 100);
    const QSize frame = grid->size() - grid->viewport()->size();
    grid->resize(width, view.HeaderHeight() + rows * view.RowHeight() + frame.height());
}

// Shows a grid as an active window of its own, so that it takes the keyboard focus.
inline void ShowActive(QWidget* widget)
{
    widget->show();
    widget->activateWindow();
    (void)QTest::qWaitForWindowActive(widget);
}

// Screenshots go to the build folder, never into the repository.
inline QString SaveScreenshot(QWidget* widget, const QString& name)
{
    const QString dir = QStringLiteral(LUMETTA_GRID_SCREENSHOTS);
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    widget->grab().save(path);
    return path;
}

inline QImage Render(QWidget* widget)
{
    return widget->grab().toImage();
}

} // namespace grid::test
