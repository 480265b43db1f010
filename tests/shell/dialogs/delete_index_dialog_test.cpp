#include "shell/dialogs/delete_index_dialog.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using shell::CDeleteIndexDialog;

QPushButton* Button(const CDeleteIndexDialog& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

// Runs the dialog modally and presses `button` (null: Escape) once it shows.
int RunAndPress(CDeleteIndexDialog& dialog, const char* button)
{
    QTimer::singleShot(0, &dialog, [&dialog, button] {
        if (button)
            Button(dialog, button)->click();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    return dialog.exec();
}

TEST(DeleteIndexDialogTest, NamesTheTableAndOffersYesAllNo)
{
    // A path is shown as it is: what looks like markup is not read as such.
    const std::string path = "/data/<b>shop</b>/GOODS.DBF";
    CDeleteIndexDialog dialog(path);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("IDD_DELETE_INDEX"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Delete index file"));
    const auto* text = dialog.findChild<QLabel*>(QStringLiteral("IDC_DELETE_INDEX_TEXT"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->textFormat(), Qt::PlainText);
    EXPECT_EQ(text->text().toStdString(),
        "The index file for the table \n" + path
            + "\n has been found. To let other programs correctly process this table it is "
              "recommended to delete index file and recreate it in another program.\n\n"
              "Delete index file?");

    const char* order[] = { "IDOK", "IDC_DELETE_INDEX_ALL", "IDCANCEL" };
    const QString texts[] = { QStringLiteral("&Yes"), QStringLiteral("&All"), QStringLiteral("&No") };
    dialog.show();
    QApplication::processEvents();
    int left = -1;
    for (int i = 0; i < 3; ++i) {
        QPushButton* button = Button(dialog, order[i]);
        ASSERT_NE(button, nullptr) << order[i];
        EXPECT_EQ(button->text(), texts[i]);
        EXPECT_GT(button->x(), left) << order[i];
        left = button->x();
    }
    EXPECT_TRUE(Button(dialog, "IDOK")->isDefault());

    QDir().mkpath(QStringLiteral(LUMETTA_SCREENSHOT_DIR));
    EXPECT_TRUE(dialog.grab().save(QStringLiteral(LUMETTA_SCREENSHOT_DIR "/delete_index_dialog.png")));
}

TEST(DeleteIndexDialogTest, YesAndAllAgreeAndOnlyAllSaysSo)
{
    CDeleteIndexDialog yes("/t.dbf");
    EXPECT_EQ(RunAndPress(yes, "IDOK"), QDialog::Accepted);
    EXPECT_FALSE(yes.ChoseAll());

    CDeleteIndexDialog all("/t.dbf");
    EXPECT_EQ(RunAndPress(all, "IDC_DELETE_INDEX_ALL"), QDialog::Accepted);
    EXPECT_TRUE(all.ChoseAll());

    CDeleteIndexDialog no("/t.dbf");
    EXPECT_EQ(RunAndPress(no, "IDCANCEL"), QDialog::Rejected);
    EXPECT_FALSE(no.ChoseAll());

    CDeleteIndexDialog escaped("/t.dbf");
    EXPECT_EQ(RunAndPress(escaped, nullptr), QDialog::Rejected);
    EXPECT_FALSE(escaped.ChoseAll());
}

} // namespace
