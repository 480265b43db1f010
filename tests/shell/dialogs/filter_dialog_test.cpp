// The Filter dialog driven through its controls: what each choice enables, shows and
// hides, the lines of the condition list, and what OK lets through.

#include "shell/dialogs/filter_dialog.h"

#include "platform/prompt.h"
#include "tests/shell/dialogs/dialog_test_support.h"
#include "tests/support/scripted_prompt.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using dialog_testing::Control;
using shell::CFilterDialog;
using tablegrid::FilterColumn;
using tablegrid::FilterCondition;
using tablegrid::FilterOp;
using testing_support::ScriptedPrompt;

const std::vector<FilterColumn> kColumns = {
    { "NAME", "NAME", 'C', 20 },
    { "SUM", "SUM", 'N', 8 },
    { "BORN", "BORN", 'D', 8 },
    { "FLAG", "FLAG", 'L', 1 },
    { "NOTE", "NOTE", 'M', 10 },
};
enum { kName, kSum, kBorn, kFlag, kNote };

FilterCondition Condition(const std::string& column, FilterOp op, const std::string& value,
    char type, bool caseSensitive = true)
{
    FilterCondition c;
    c.column = column;
    c.op = op;
    c.value = value;
    c.fieldType = type;
    c.caseSensitive = caseSensitive;
    return c;
}

FilterCondition Separator()
{
    FilterCondition c;
    c.isOrSeparator = true;
    return c;
}

class FilterDialogTest : public ::testing::Test
{
protected:
    void Open(std::vector<FilterCondition> entries = {}, int deletion = 0, int emptiness = 0)
    {
        dialog = std::make_unique<CFilterDialog>(kColumns, deletion, emptiness, std::move(entries));
        dialog_testing::Show(*dialog);
        column = Control<QComboBox>(*dialog, "IDC_FILTER_COLUMN");
        op = Control<QComboBox>(*dialog, "IDC_FILTER_OPERATOR");
        caseBox = Control<QCheckBox>(*dialog, "IDC_FILTER_CASE_SENSITIVE");
        value = Control<QLineEdit>(*dialog, "IDC_FILTER_VALUE");
        list = Control<QListWidget>(*dialog, "IDC_CONDITION_LIST");
        add = Button("IDC_FILTER_ADD");
        del = Button("IDC_FILTER_DELETE");
        up = Button("IDC_FILTER_UP");
        down = Button("IDC_FILTER_DOWN");
        orButton = Button("IDC_FILTER_OR");
        ok = Button("IDOK");
    }

    QPushButton* Button(const char* name) const { return Control<QPushButton>(*dialog, name); }

    std::vector<std::string> Labels(const QComboBox* combo) const
    {
        std::vector<std::string> labels;
        for (int i = 0; i < combo->count(); ++i)
            labels.push_back(combo->itemText(i).toStdString());
        return labels;
    }

    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < list->count(); ++i)
            lines.push_back(list->item(i)->text().toStdString());
        return lines;
    }

    int Selected() const
    {
        const QList<QListWidgetItem*> items = list->selectedItems();
        return items.isEmpty() ? -1 : list->row(items.front());
    }

    void Choose(int columnIndex, const char* opLabel)
    {
        column->setCurrentIndex(columnIndex);
        if (opLabel)
            op->setCurrentIndex(op->findText(QString::fromLatin1(opLabel)));
    }

    // Chooses, types and adds one condition.
    void AddCondition(int columnIndex, const char* opLabel, const char* text, bool caseSensitive = true)
    {
        Choose(columnIndex, opLabel);
        caseBox->setChecked(caseSensitive);
        if (value->isEnabled()) {
            value->clear();
            QTest::keyClicks(value, QString::fromLatin1(text));
        }
        add->click();
    }

    std::unique_ptr<CFilterDialog> dialog;
    QComboBox* column = nullptr;
    QComboBox* op = nullptr;
    QCheckBox* caseBox = nullptr;
    QLineEdit* value = nullptr;
    QListWidget* list = nullptr;
    QPushButton* add = nullptr;
    QPushButton* del = nullptr;
    QPushButton* up = nullptr;
    QPushButton* down = nullptr;
    QPushButton* orButton = nullptr;
    QPushButton* ok = nullptr;
};

TEST_F(FilterDialogTest, OpensWithTheOptionsAndNothingChosen)
{
    Open({}, 2, 1);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Filter"));
    EXPECT_TRUE(Control<QRadioButton>(*dialog, "IDC_DELETED_ONLY")->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(*dialog, "IDC_EMPTY_EXCLUDE")->isChecked());
    EXPECT_EQ(Control<QRadioButton>(*dialog, "IDC_DELETED_EXCLUDE")->text(), QStringLiteral("exclude deleted"));
    EXPECT_EQ(Labels(column), (std::vector<std::string> { "NAME", "SUM", "BORN", "FLAG", "NOTE" }));
    EXPECT_EQ(column->currentIndex(), -1);
    EXPECT_FALSE(op->isEnabled());
    EXPECT_FALSE(add->isEnabled());
    EXPECT_FALSE(caseBox->isVisible());
    EXPECT_FALSE(caseBox->isEnabled());
    EXPECT_TRUE(caseBox->isChecked());
    for (QPushButton* button : { del, up, down, orButton })
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();

    Control<QRadioButton>(*dialog, "IDC_DELETED_ALL")->click();
    Control<QRadioButton>(*dialog, "IDC_EMPTY_ONLY")->click();
    EXPECT_EQ(dialog->DeletionMode(), 0);
    EXPECT_EQ(dialog->EmptinessMode(), 2);
}

TEST_F(FilterDialogTest, TheColumnTypeChoosesOperatorsCaseBoxAndValueBox)
{
    Open();
    const std::vector<std::string> full = { "empty", "not empty", "equal to", "not equal to",
        "less than", "less than or equal to", "greater than", "greater than or equal to",
        "contains", "does not contain" };
    const std::vector<std::string> comparisons = { "equal to", "not equal to", "less than",
        "less than or equal to", "greater than", "greater than or equal to" };
    struct Case
    {
        int column;
        std::vector<std::string> labels;
        bool caseBox;
        bool valueBox;
    };
    const Case cases[] = {
        { kName, full, true, true },
        { kSum, comparisons, false, true },
        { kBorn, comparisons, false, true },
        { kFlag, { "true", "false" }, false, false },
        { kNote, full, true, true },
    };
    for (const Case& c : cases) {
        value->setText(QStringLiteral("typed"));
        column->setCurrentIndex(c.column);
        SCOPED_TRACE(kColumns[static_cast<std::size_t>(c.column)].title);
        EXPECT_EQ(Labels(op), c.labels);
        EXPECT_EQ(op->currentIndex(), -1);
        EXPECT_TRUE(op->isEnabled());
        EXPECT_TRUE(add->isEnabled());
        EXPECT_EQ(caseBox->isVisible(), c.caseBox);
        EXPECT_EQ(caseBox->isEnabled(), c.caseBox);
        EXPECT_EQ(value->isVisible(), c.valueBox);
        EXPECT_EQ(value->isEnabled(), c.valueBox);
        // A logical column takes no value: what was typed goes.
        EXPECT_EQ(value->text().isEmpty(), !c.valueBox);
    }
}

TEST_F(FilterDialogTest, OperatorsWithoutValueEmptyAndHideTheValueBox)
{
    Open();
    Choose(kName, "contains");
    EXPECT_TRUE(value->isVisible());
    QTest::keyClicks(value, QStringLiteral("Iv"));
    op->setCurrentIndex(op->findText(QStringLiteral("not empty")));
    EXPECT_FALSE(value->isVisible());
    EXPECT_FALSE(value->isEnabled());
    EXPECT_TRUE(value->text().isEmpty());
    EXPECT_TRUE(add->isEnabled());
    op->setCurrentIndex(op->findText(QStringLiteral("equal to")));
    EXPECT_TRUE(value->isVisible());
    EXPECT_TRUE(value->isEnabled());
    EXPECT_TRUE(add->isEnabled());

    // Typing decides Add while an operator is chosen; an emptied value box disables it.
    QTest::keyClicks(value, QStringLiteral("x"));
    EXPECT_TRUE(add->isEnabled());
    QTest::keyClick(value, Qt::Key_Backspace);
    EXPECT_FALSE(add->isEnabled());
    column->setCurrentIndex(kSum);
    QTest::keyClicks(value, QStringLiteral("5"));
    EXPECT_FALSE(add->isEnabled()); // no operator for the new column yet
}

TEST_F(FilterDialogTest, AddWithoutAnOperatorOffersTheOperators)
{
    Open();
    Choose(kSum, nullptr);
    ASSERT_TRUE(add->isEnabled());
    add->click();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(dialog->focusWidget(), op);
    EXPECT_TRUE(op->view()->isVisible());
    op->hidePopup();
}

TEST_F(FilterDialogTest, AddedConditionsAreWrittenAsTheirTypeReads)
{
    ScriptedPrompt prompt;
    Open();
    AddCondition(kName, "equal to", "Ivan", false);
    AddCondition(kName, "contains", "van", true);
    AddCondition(kName, "empty", "", false);
    AddCondition(kBorn, "greater than", "01.02.2001");
    AddCondition(kSum, "less than or equal to", " -12.5 ");
    AddCondition(kFlag, "true", "");
    AddCondition(kNote, "does not contain", "x", false);
    EXPECT_EQ(Lines(),
        (std::vector<std::string> { "NAME equal to 'Ivan' (case insensitive)", "NAME contains 'van'",
            "NAME empty", "BORN greater than {01.02.2001}", "SUM less than or equal to  -12.5 ",
            "FLAG true ", "NOTE does not contain x" }));
    EXPECT_TRUE(prompt.Questions().empty());

    const std::vector<FilterCondition> expected = {
        Condition("NAME", FilterOp::kEqual, "Ivan", 'C', false),
        Condition("NAME", FilterOp::kContains, "van", 'C', true),
        Condition("NAME", FilterOp::kEmpty, "", 'C', false),
        Condition("BORN", FilterOp::kGreater, "01.02.2001", 'D'),
        Condition("SUM", FilterOp::kLessOrEqual, " -12.5 ", 'N'),
        Condition("FLAG", FilterOp::kTrue, "", 'L'),
        Condition("NOTE", FilterOp::kNotContains, "x", 'M', false),
    };
    EXPECT_EQ(dialog->Entries(), expected);
    // The line added is the one selected, and Add waits for the next condition.
    EXPECT_EQ(Selected(), 6);
    EXPECT_FALSE(add->isEnabled());
    EXPECT_TRUE(del->isEnabled());
    EXPECT_TRUE(orButton->isEnabled());
}

TEST_F(FilterDialogTest, DatesAndNumbersThatAreNoneAreRefused)
{
    ScriptedPrompt prompt { platform::IDOK, platform::IDOK, platform::IDOK };
    Open();
    AddCondition(kBorn, "equal to", "1.2.2001");
    AddCondition(kBorn, "equal to", "31.02.2001");
    AddCondition(kSum, "equal to", "12a");
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>(3, "Invalid format"));
    EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kStop);
    EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(add->isEnabled()); // the condition is still there to be mended

    AddCondition(kBorn, "equal to", "01.02.01");
    AddCondition(kSum, "equal to", "+12.50");
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(prompt.Questions().size(), 3u);
}

TEST_F(FilterDialogTest, TheWindowsFilterIsListedAsItWasKept)
{
    Open({ Condition("NAME", FilterOp::kEqual, "Ivan", 'C', false),
        Condition("NAME", FilterOp::kNotEmpty, "", 'C', true), Separator(),
        Condition("SUM", FilterOp::kLess, "5", 'N'), Condition("BORN", FilterOp::kGreater, "01.02.2001", 'D'),
        Separator(), Condition("FLAG", FilterOp::kFalse, "", 'L'),
        Condition("GONE", FilterOp::kEqual, "x", 'C', true) });
    EXPECT_EQ(Lines(),
        (std::vector<std::string> { "NAME equal to 'Ivan' (case insensitive)", "NAME not empty ",
            "===============   OR   ===============", "SUM less than  5",
            "BORN greater than {01.02.2001}", "===============   OR   ===============",
            "FLAG  false", "GONE equal to 'x'" }));
    EXPECT_EQ(Selected(), -1);
    EXPECT_TRUE(orButton->isEnabled());
    EXPECT_FALSE(del->isEnabled());
    Choose(kBorn, "less than");
    value->setText(QStringLiteral("01.01.2020"));
    dialog_testing::Screenshot(*dialog, "filter_dialog");
}

TEST_F(FilterDialogTest, SelectionMovingDeletingAndOrLines)
{
    Open({ Condition("NAME", FilterOp::kEqual, "a", 'C'), Condition("SUM", FilterOp::kLess, "5", 'N'),
        Condition("BORN", FilterOp::kEqual, "01.01.2001", 'D') });
    list->setCurrentRow(0);
    EXPECT_TRUE(del->isEnabled());
    EXPECT_FALSE(up->isEnabled());
    EXPECT_TRUE(down->isEnabled());
    EXPECT_TRUE(orButton->isEnabled());

    orButton->click();
    EXPECT_FALSE(orButton->isEnabled());
    EXPECT_EQ(Selected(), 0);
    ASSERT_EQ(dialog->Entries().size(), 4u);
    EXPECT_TRUE(dialog->Entries()[1].isOrSeparator);
    // A separator chosen offers no OR line after it.
    list->setCurrentRow(1);
    EXPECT_TRUE(del->isEnabled());
    EXPECT_FALSE(orButton->isEnabled());

    down->click();
    EXPECT_EQ(Selected(), 2);
    EXPECT_TRUE(dialog->Entries()[2].isOrSeparator);
    EXPECT_EQ(dialog->Entries()[1].column, "SUM");
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("SUM less than  5"));
    up->click();
    up->click();
    EXPECT_EQ(Selected(), 0);
    EXPECT_TRUE(dialog->Entries()[0].isOrSeparator);
    EXPECT_FALSE(up->isEnabled());

    // Deleting selects the entry that takes the place; the last one leaves none selected.
    del->click();
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(dialog->Entries()[0].column, "NAME");
    list->setCurrentRow(2);
    EXPECT_FALSE(down->isEnabled());
    del->click();
    EXPECT_EQ(Selected(), -1);
    EXPECT_FALSE(del->isEnabled());
    EXPECT_EQ(Lines(), (std::vector<std::string> { "NAME equal to 'a'", "SUM less than  5" }));

    // With nothing chosen an OR line goes at the end.
    orButton->click();
    EXPECT_TRUE(dialog->Entries().back().isOrSeparator);
}

TEST_F(FilterDialogTest, DoubleClickTakesAConditionBackIntoTheEditors)
{
    ScriptedPrompt prompt { platform::IDYES };
    Open({ Condition("NAME", FilterOp::kEqual, "a", 'C'), Condition("SUM", FilterOp::kLess, "5", 'N'),
        Condition("NAME", FilterOp::kContains, "Iv", 'C', false) });
    QListWidgetItem* item = list->item(2);
    emit list->itemDoubleClicked(item);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(column->currentText(), QStringLiteral("NAME"));
    EXPECT_EQ(op->currentText(), QStringLiteral("contains"));
    EXPECT_EQ(value->text(), QStringLiteral("Iv"));
    EXPECT_FALSE(caseBox->isChecked());
    EXPECT_TRUE(add->isEnabled());

    // The condition taken back is offered to the list on OK.
    ok->setFocus();
    ok->click();
    EXPECT_EQ(prompt.Texts(), std::vector<std::string> { "Add the last condition to the filter?" });
    EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kYesNo);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_EQ(dialog->Entries().size(), 3u);
    EXPECT_EQ(dialog->Entries()[2], Condition("NAME", FilterOp::kContains, "Iv", 'C', false));
}

TEST_F(FilterDialogTest, OkRefusesMisplacedOrLinesSelectingTheFirst)
{
    const std::vector<std::vector<FilterCondition>> lists = {
        { Separator(), Condition("NAME", FilterOp::kEqual, "a", 'C') },
        { Condition("NAME", FilterOp::kEqual, "a", 'C'), Separator() },
        { Condition("NAME", FilterOp::kEqual, "a", 'C'), Separator(), Separator(),
            Condition("NAME", FilterOp::kEqual, "b", 'C'), Separator() },
    };
    const int firstBad[] = { 0, 1, 2 };
    for (std::size_t i = 0; i < lists.size(); ++i) {
        SCOPED_TRACE(i);
        ScriptedPrompt prompt { platform::IDOK };
        Open(lists[i]);
        ok->click();
        EXPECT_EQ(prompt.Texts(),
            std::vector<std::string> { "Invalid filter expression. Filter has not been set." });
        EXPECT_EQ(Selected(), firstBad[i]);
        EXPECT_TRUE(dialog->isVisible());
    }
}

TEST_F(FilterDialogTest, TheLastConditionIsAddedOnlyWhenWanted)
{
    {
        ScriptedPrompt prompt { platform::IDNO };
        Open();
        Choose(kSum, "greater than");
        value->setText(QStringLiteral("3"));
        ok->click();
        EXPECT_EQ(prompt.Questions().size(), 1u);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_TRUE(dialog->Entries().empty());
    }
    {
        // A value the column cannot take keeps the dialog open after Yes.
        ScriptedPrompt prompt { platform::IDYES, platform::IDOK };
        Open();
        Choose(kSum, "greater than");
        value->setText(QStringLiteral("three"));
        ok->click();
        EXPECT_EQ(prompt.Texts(),
            (std::vector<std::string> { "Add the last condition to the filter?", "Invalid format" }));
        EXPECT_TRUE(dialog->isVisible());
    }
    {
        // Nothing is being edited once the condition is in the list.
        ScriptedPrompt prompt;
        Open();
        AddCondition(kSum, "greater than", "3");
        ok->click();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(dialog->Entries().size(), 1u);
    }
}

TEST_F(FilterDialogTest, EnterInTheValueBoxAddsAndKeepsTheDialogOpen)
{
    ScriptedPrompt prompt;
    Open();
    Choose(kName, "equal to");
    value->setFocus();
    QTest::keyClicks(value, QStringLiteral("Ivan"));
    QTest::keyClick(value, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Lines(), std::vector<std::string> { "NAME equal to 'Ivan'" });
    // Add is disabled now: a second Enter adds nothing and still does not close.
    QTest::keyClick(value, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(list->count(), 1);
    EXPECT_TRUE(prompt.Questions().empty());
}

} // namespace
