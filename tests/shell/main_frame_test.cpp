#include "shell/main_frame.h"

#include <QDir>
#include <QMdiArea>
#include <QStatusBar>

#include <gtest/gtest.h>

TEST(MainFrameTest, ShowsTitleEmptyAreaAndIdleText)
{
    CMainFrame frame;
    frame.show();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Lumetta"));
    ASSERT_NE(frame.MdiArea(), nullptr);
    EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Press F1 for help"));

    // Written for a person to look at; never compared.
    const QString shot = QStringLiteral(LUMETTA_SCREENSHOT_DIR "/main_frame.png");
    QDir().mkpath(QStringLiteral(LUMETTA_SCREENSHOT_DIR));
    EXPECT_TRUE(frame.grab().save(shot));
}
