#include "resources/table_resources.h"

#include <QApplication>

#include <gtest/gtest.h>

// The shell's tests run with the built-in English texts, offscreen.
int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    resources::InstallEnglishResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
