// The Add a Bookmark dialog: the name that follows the record and field until it is typed,
// the message line and OK, and the overwrite question asked in place.

#include "shell/dialogs/add_bookmark_dialog.h"

#include "shell/dialogs/up_down_ctrl.h"
#include "tests/shell/dialogs/dialog_test_support.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace {

using dialog_testing::Control;
using shell::AddBookmarkSetup;
using shell::CAddBookmarkDialog;

const char kHint[] = "Specify the bookmark name, record number, and field name";

class AddBookmarkDialogTest : public ::testing::Test
{
protected:
    void Open(long long startRecord = 5, int startField = 1, long long count = 10)
    {
        AddBookmarkSetup setup;
        setup.fieldNames = { "NAME", "SUM", "BORN" };
        setup.recordCount = count;
        setup.record = startRecord;
        setup.field = startField;
        setup.exists = [this](const std::string& name) { return taken.count(name) > 0; };
        dialog = std::make_unique<CAddBookmarkDialog>(std::move(setup));
        dialog_testing::Show(*dialog);
        name = Control<QLineEdit>(*dialog, "IDC_BOOKMARK_NAME");
        record = Control<QLineEdit>(*dialog, "IDC_BOOKMARK_RECORD");
        fieldBox = Control<QComboBox>(*dialog, "IDC_BOOKMARK_FIELD");
        message = Control<QLabel>(*dialog, "IDC_BOOKMARK_MESSAGE");
        ok = Control<QPushButton>(*dialog, "IDOK");
        cancel = Control<QPushButton>(*dialog, "IDCANCEL");
    }

    std::string Message() const { return message->text().toStdString(); }

    std::set<std::string> taken;
    std::unique_ptr<CAddBookmarkDialog> dialog;
    QLineEdit* name = nullptr;
    QLineEdit* record = nullptr;
    QComboBox* fieldBox = nullptr;
    QLabel* message = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

TEST_F(AddBookmarkDialogTest, TheNameFollowsRecordAndFieldUntilTyped)
{
    Open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Add a Bookmark"));
    EXPECT_EQ(fieldBox->count(), 3);
    EXPECT_EQ(fieldBox->currentText(), QStringLiteral("SUM"));
    EXPECT_EQ(name->text(), QStringLiteral("Bkm_5_SUM"));
    EXPECT_EQ(Message(), kHint);
    EXPECT_TRUE(ok->isEnabled());
    const auto* spin = Control<shell::CUpDownCtrl>(*dialog, "IDC_BOOKMARK_RECORD_SPIN");
    EXPECT_EQ(spin->Lowest(), 1);
    EXPECT_EQ(spin->Highest(), 10);

    fieldBox->setCurrentIndex(2);
    EXPECT_EQ(name->text(), QStringLiteral("Bkm_5_BORN"));
    QTest::keyClick(record, Qt::Key_Up);
    EXPECT_EQ(name->text(), QStringLiteral("Bkm_6_BORN"));

    QTest::keyClicks(name, QStringLiteral("X"));
    fieldBox->setCurrentIndex(0);
    record->setText(QStringLiteral("2"));
    EXPECT_EQ(name->text(), QStringLiteral("Bkm_6_BORNX"));
    EXPECT_EQ(dialog->Name(), "Bkm_6_BORNX");
    EXPECT_EQ(dialog->Record(), 2);
    EXPECT_EQ(dialog->Field(), "NAME");
}

TEST_F(AddBookmarkDialogTest, AnUnknownRecordStartsAtTheFirst)
{
    Open(0, -1);
    EXPECT_EQ(record->text(), QStringLiteral("1"));
    Open(11, 0);
    EXPECT_EQ(record->text(), QStringLiteral("1"));
    EXPECT_EQ(name->text(), QStringLiteral("Bkm_1_NAME"));
}

TEST_F(AddBookmarkDialogTest, TheMessageLineSaysWhyOkIsDisabled)
{
    Open();
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Delete);
    EXPECT_EQ(Message(), "Specify the non-empty bookmark name");
    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClicks(name, QStringLiteral("mine"));
    EXPECT_EQ(Message(), kHint);
    EXPECT_TRUE(ok->isEnabled());

    for (const char* outside : { "0", "11", "" }) {
        record->setText(QString::fromLatin1(outside));
        EXPECT_EQ(Message(), "Specify the number between 1 and 10") << outside;
        EXPECT_FALSE(ok->isEnabled());
    }
    record->setText(QStringLiteral("10"));
    EXPECT_TRUE(ok->isEnabled());
    ok->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Name(), "mine");
    EXPECT_EQ(dialog->Record(), 10);
}

TEST_F(AddBookmarkDialogTest, ATakenNameIsAskedAboutInPlace)
{
    taken = { "Bkm_5_SUM" };
    Open();
    ok->click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->IsAsking());
    EXPECT_EQ(Message(), "A bookmark with this name already exists. Overwrite it?");
    EXPECT_EQ(ok->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(cancel->text(), QStringLiteral("&No"));
    dialog_testing::Screenshot(*dialog, "add_bookmark_overwrite");

    cancel->click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->IsAsking());
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(Message(), kHint);

    // A change goes back to editing too; a name not taken closes at once.
    ok->click();
    fieldBox->setCurrentIndex(0);
    EXPECT_FALSE(dialog->IsAsking());
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    ok->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    Open();
    ok->click();
    ok->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Name(), "Bkm_5_SUM");
}

TEST_F(AddBookmarkDialogTest, NothingToMarkClosesAtOnce)
{
    Open(1, 0, 0);
    EXPECT_EQ(dialog->exec(), QDialog::Rejected);

    AddBookmarkSetup noFields;
    noFields.recordCount = 3;
    CAddBookmarkDialog empty(std::move(noFields));
    EXPECT_EQ(empty.exec(), QDialog::Rejected);
}

} // namespace
