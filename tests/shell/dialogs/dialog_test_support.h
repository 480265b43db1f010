#pragma once

#include <QApplication>
#include <QDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace dialog_testing {

// The control of `dialog` named `name` (its id constant); fails the test when there is
// none of that type.
template <class Widget>
Widget* Control(const QWidget& dialog, const char* name)
{
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Shows `dialog` (offscreen) so that the visibility of its controls can be read.
inline void Show(QWidget& dialog)
{
    dialog.show();
    QApplication::processEvents();
}

// Saves `widget` as `name`.png in the build's screenshot folder, for a person to look at.
inline void Screenshot(QWidget& widget, const char* name)
{
    QDir().mkpath(QStringLiteral(LUMETTA_SCREENSHOT_DIR));
    EXPECT_TRUE(widget.grab().save(
        QStringLiteral(LUMETTA_SCREENSHOT_DIR "/%1.png").arg(QString::fromLatin1(name))));
}

} // namespace dialog_testing
