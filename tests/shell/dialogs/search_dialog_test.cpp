// The Search dialog driven through its controls: its two modes, the column list, the lists
// of earlier texts, which buttons can be pressed, and what each press asks of the window.

#include "shell/dialogs/search_dialog.h"

#include "platform/prompt.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "tests/support/scripted_prompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

using shell::CSearchDialog;
using shell::SearchRequest;
using testing_support::ScriptedPrompt;

// Records every request as one line and gives the answers it is told to.
class RecordingTarget final : public shell::SearchTarget
{
public:
    bool Find(const SearchRequest& request, int direction, bool showNotFound) override
    {
        calls.push_back("find " + Describe(request) + " dir=" + std::to_string(direction)
            + (showNotFound ? " tell" : ""));
        return found;
    }
    bool ReplaceInCurrentCell(
        const std::string& findText, const std::string& replaceText, bool caseSensitive) override
    {
        calls.push_back(
            "replace '" + findText + "'->'" + replaceText + "'" + (caseSensitive ? " case" : ""));
        return true;
    }
    int ReplaceAll(const SearchRequest& request, const std::string& replaceText) override
    {
        calls.push_back("all " + Describe(request) + "->'" + replaceText + "'");
        return replacedByAll;
    }

    // The calls since the last look.
    std::vector<std::string> Take() { return std::exchange(calls, {}); }

    std::vector<std::string> calls;
    bool found = true;
    int replacedByAll = 0;

private:
    static std::string Describe(const SearchRequest& request)
    {
        return "'" + request.findText + "'"
            + (request.columnTitle.empty() ? "" : " in " + request.columnTitle)
            + (request.caseSensitive ? " case" : "") + (request.wholeWord ? " word" : "");
    }
};

using Calls = std::vector<std::string>;
using Texts = std::vector<std::string>;

class SearchDialogTest : public ::testing::Test
{
protected:
    void Open(bool replaceMode, const std::vector<std::string>& columns = { "NAME", "SUM" })
    {
        QApplication::processEvents(); // what the last press left to do, as between openings
        dialog.Prepare(replaceMode, "CLIENTS", columns);
        dialog.show();
        QApplication::processEvents();
    }

    template <typename T = QWidget> T* Control(const char* name) const
    {
        T* control = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QComboBox* FindBox() const { return Control<QComboBox>("IDC_FIND_TEXT"); }
    QComboBox* ReplaceBox() const { return Control<QComboBox>("IDC_REPLACE_TEXT"); }
    QComboBox* ColumnBox() const { return Control<QComboBox>("IDC_SEARCH_COLUMN"); }
    QPushButton* Button(const char* name) const { return Control<QPushButton>(name); }

    // Types `text` into a text box as a user would, after clearing it.
    static void Type(QComboBox* box, const char* text)
    {
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), QString::fromUtf8(text));
    }
    void Press(const char* name) const { Button(name)->click(); }
    void ClickDirection(const char* name) const
    {
        QTest::mouseClick(Control<QRadioButton>(name), Qt::LeftButton);
    }

    static Texts Items(const QComboBox* box)
    {
        Texts items;
        for (int i = 0; i < box->count(); ++i)
            items.push_back(box->itemText(i).toStdString());
        return items;
    }
    bool Shown(const char* name) const { return Control(name)->isVisible(); }
    bool Enabled(const char* name) const { return Control(name)->isEnabled(); }

    RecordingTarget target;
    CSearchDialog dialog { target };
};

TEST_F(SearchDialogTest, FindModeHidesTheReplaceControlsUntilReplaceSwitchesToThem)
{
    // Cyrillic names come in the program's code page.
    dialog.Prepare(false, "\xCA\xEB\xE8\xE5\xED\xF2\xFB", { "NAME" });
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.objectName(), QStringLiteral("IDD_SEARCH"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Search"));
    EXPECT_EQ(Control<QLabel>("IDC_SEARCH_TABLE_NAME")->text(), QStringLiteral("Клиенты"));
    const std::pair<const char*, const char*> texts[] = {
        { "IDC_SEARCH_TABLE_LABEL", "Table:" },
        { "IDC_FIND_TEXT_LABEL", "Look for:" },
        { "IDC_SEARCH_COLUMN_LABEL", "Search in column:" },
        { "IDC_SEARCH_CASE_SENSITIVE", "Case &Sensitive" },
        { "IDC_WHOLE_WORD", "&Match whole word" },
        { "IDC_SEARCH_FORWARD", "Forward" },
        { "IDC_SEARCH_BACKWARD", "Backward" },
        { "IDC_SEARCH_ENTIRE_SCOPE", "Entire scope" },
        { "IDOK", "&Find next" },
        { "IDC_REPLACE", "&Replace..." },
        { "IDCANCEL", "&Close" },
    };
    for (const auto& [name, text] : texts) {
        QWidget* control = Control(name);
        const QString shown = qobject_cast<QLabel*>(control)
            ? qobject_cast<QLabel*>(control)->text()
            : qobject_cast<QAbstractButton*>(control)->text();
        EXPECT_EQ(shown.toStdString(), text) << name;
    }
    EXPECT_EQ(
        Control<QGroupBox>("IDC_SEARCH_DIRECTION_GROUP")->title(), QStringLiteral("Direction"));
    EXPECT_TRUE(Control<QRadioButton>("IDC_SEARCH_ENTIRE_SCOPE")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>("IDC_SEARCH_CASE_SENSITIVE")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>("IDC_WHOLE_WORD")->isChecked());
    EXPECT_TRUE(Button("IDOK")->isDefault());
    EXPECT_TRUE(FindBox()->hasFocus());
    EXPECT_FALSE(Shown("IDC_REPLACE_LABEL"));
    EXPECT_FALSE(Shown("IDC_REPLACE_TEXT"));
    EXPECT_FALSE(Shown("IDC_REPLACE_ALL"));
    const int findHeight = dialog.height();

    // "&Replace..." only switches: nothing is looked for or replaced yet.
    Press("IDC_REPLACE");
    QApplication::processEvents();
    EXPECT_TRUE(target.Take().empty());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.ReplaceMode());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Replace"));
    EXPECT_EQ(Button("IDC_REPLACE")->text(), QStringLiteral("&Replace"));
    EXPECT_EQ(Control<QLabel>("IDC_REPLACE_LABEL")->text(), QStringLiteral("Replace with:"));
    EXPECT_TRUE(Shown("IDC_REPLACE_LABEL"));
    EXPECT_TRUE(Shown("IDC_REPLACE_TEXT"));
    EXPECT_TRUE(Shown("IDC_REPLACE_ALL"));
    EXPECT_EQ(Button("IDC_REPLACE_ALL")->text(), QStringLiteral("Replace &All"));
    EXPECT_GT(dialog.height(), findHeight);

    // Each opening takes the mode it is opened in.
    Open(false);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Search"));
    EXPECT_EQ(Button("IDC_REPLACE")->text(), QStringLiteral("&Replace..."));
    EXPECT_FALSE(Shown("IDC_REPLACE_TEXT"));
    Open(true);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Replace"));
    EXPECT_EQ(Button("IDC_REPLACE")->text(), QStringLiteral("&Replace"));
    EXPECT_TRUE(Shown("IDC_REPLACE_TEXT"));
}

// The resources in use with some of the Search dialog's texts in another language.
class TranslatedSearch final : public platform::ResourceSource
{
public:
    std::optional<std::string> FindString(int id) const override
    {
        if (id == IDS_ALL_COLUMNS)
            return std::string("<\xE2\xF1\xE5 \xF1\xF2\xEE\xEB\xE1\xF6\xFB>"); // <все столбцы>
        return base->FindString(id);
    }
    std::optional<platform::MenuResource> FindMenu(int id) const override { return base->FindMenu(id); }
    std::optional<platform::DialogResource> FindDialog(int id) const override
    {
        std::optional<platform::DialogResource> dialog = base->FindDialog(id);
        if (dialog && id == IDD_SEARCH) {
            dialog->caption = "\xCF\xEE\xE8\xF1\xEA"; // Поиск
            for (auto& control : dialog->controls) {
                if (control.id == IDOK)
                    control.text = "&\xC4\xE0\xEB\xE5\xE5"; // &Далее
            }
        }
        return dialog;
    }

    std::unique_ptr<platform::ResourceSource> base;
};

// A window keeps its dialog while the language may change: each opening speaks the one in use.
TEST_F(SearchDialogTest, EachOpeningTakesTheTextsOfTheLanguageInUse)
{
    Open(false);
    auto translated = std::make_unique<TranslatedSearch>();
    TranslatedSearch* installed = translated.get();
    installed->base = platform::InstallResources(std::move(translated));
    Open(false);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Поиск"));
    EXPECT_EQ(Button("IDOK")->text(), QStringLiteral("&Далее"));
    EXPECT_EQ(ColumnBox()->itemText(0), QStringLiteral("<все столбцы>"));
    EXPECT_EQ(Control<QLabel>("IDC_FIND_TEXT_LABEL")->text(), QStringLiteral("Look for:"));
    (void)platform::InstallResources(std::move(installed->base));
    Open(false);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Search"));
    EXPECT_EQ(Button("IDOK")->text(), QStringLiteral("&Find next"));
}

TEST_F(SearchDialogTest, ColumnListOffersAllColumnsAndTheShownOnesKeepingTheChoice)
{
    Open(false);
    EXPECT_EQ(Items(ColumnBox()), (Texts { "<all columns>", "NAME", "SUM" }));
    EXPECT_EQ(ColumnBox()->currentIndex(), 0);
    Type(FindBox(), "ab");
    Press("IDOK");
    ColumnBox()->setCurrentIndex(2);
    Press("IDOK");
    EXPECT_EQ(target.Take(), (Calls { "find 'ab' dir=2 tell", "find 'ab' in SUM dir=0 tell" }));

    // Still chosen while shown; when the column is hidden the search is over all of them.
    Open(false, { "NAME", "SUM", "DT" });
    EXPECT_EQ(ColumnBox()->currentText(), QStringLiteral("SUM"));
    Press("IDCANCEL");
    Open(false, { "NAME", "DT" });
    EXPECT_EQ(Items(ColumnBox()), (Texts { "<all columns>", "NAME", "DT" }));
    EXPECT_EQ(ColumnBox()->currentIndex(), 0);
    Press("IDOK");
    EXPECT_EQ(target.Take(), (Calls { "find 'ab' dir=2 tell" }));
}

TEST_F(SearchDialogTest, ButtonsNeedTheTextsTheyUse)
{
    Open(false);
    EXPECT_FALSE(Enabled("IDOK"));
    EXPECT_TRUE(Enabled("IDC_REPLACE")); // it only switches to replacing
    Type(FindBox(), "a");
    EXPECT_TRUE(Enabled("IDOK"));

    Press("IDC_REPLACE");
    EXPECT_TRUE(Enabled("IDOK"));
    EXPECT_FALSE(Enabled("IDC_REPLACE"));
    EXPECT_FALSE(Enabled("IDC_REPLACE_ALL"));
    Type(ReplaceBox(), "b");
    EXPECT_TRUE(Enabled("IDC_REPLACE"));
    EXPECT_TRUE(Enabled("IDC_REPLACE_ALL"));
    FindBox()->lineEdit()->clear();
    EXPECT_FALSE(Enabled("IDOK"));
    EXPECT_FALSE(Enabled("IDC_REPLACE"));
    EXPECT_FALSE(Enabled("IDC_REPLACE_ALL"));
    // A disabled default button is not pressed by Enter either.
    QTest::keyClick(FindBox()->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(target.Take().empty());
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(SearchDialogTest, TextsGoToTheTopOfTheirListsOnceAfterEveryButton)
{
    Open(false);
    Type(FindBox(), "beta");
    Press("IDOK");
    Type(FindBox(), "alpha");
    Press("IDOK");
    Type(FindBox(), "beta"); // already there: it stays where it is
    Press("IDOK");
    Type(FindBox(), "Alpha"); // another text: the lists compare letter case
    Press("IDC_REPLACE");
    EXPECT_EQ(dialog.FindHistory(), (Texts { "Alpha", "alpha", "beta" }));
    EXPECT_EQ(Items(FindBox()), dialog.FindHistory());
    EXPECT_EQ(FindBox()->currentText(), QStringLiteral("Alpha"));
    // An empty replacement is no text to remember.
    EXPECT_TRUE(dialog.ReplaceHistory().empty());

    // A beginning of an earlier text is looked for as typed, not completed from the list.
    Type(FindBox(), "al");
    EXPECT_EQ(FindBox()->currentText(), QStringLiteral("al"));
    Type(ReplaceBox(), "one");
    Press("IDC_REPLACE");
    Type(ReplaceBox(), "two");
    {
        ScriptedPrompt prompt { platform::IDOK };
        Press("IDC_REPLACE_ALL");
    }
    // Closing keeps what was typed, too.
    Type(FindBox(), "gamma");
    Press("IDCANCEL");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.FindHistory(), (Texts { "gamma", "al", "Alpha", "alpha", "beta" }));
    EXPECT_EQ(dialog.ReplaceHistory(), (Texts { "two", "one" }));

    // The next opening lists them and puts the last texts back.
    Open(true);
    EXPECT_EQ(Items(FindBox()), dialog.FindHistory());
    EXPECT_EQ(Items(ReplaceBox()), dialog.ReplaceHistory());
    EXPECT_EQ(FindBox()->currentText(), QStringLiteral("gamma"));
    EXPECT_EQ(ReplaceBox()->currentText(), QStringLiteral("two"));
    EXPECT_TRUE(FindBox()->lineEdit()->hasSelectedText());
    FindBox()->setCurrentIndex(3);
    EXPECT_EQ(FindBox()->currentText(), QStringLiteral("alpha"));
}

TEST_F(SearchDialogTest, TheSameTextAgainInTheEntireScopeGoesOnForward)
{
    Open(false);
    Type(FindBox(), "ab");
    Press("IDOK");
    Press("IDOK");
    Press("IDOK");
    Type(FindBox(), "cd"); // a new text starts at the top
    Press("IDOK");
    Press("IDOK");
    EXPECT_EQ(target.Take(),
        (Calls { "find 'ab' dir=2 tell", "find 'ab' dir=0 tell", "find 'ab' dir=0 tell",
            "find 'cd' dir=2 tell", "find 'cd' dir=0 tell" }));

    // Once "Entire scope" is clicked, every search in it starts at the top.
    ClickDirection("IDC_SEARCH_FORWARD");
    ClickDirection("IDC_SEARCH_ENTIRE_SCOPE");
    Press("IDOK");
    Press("IDOK");
    ClickDirection("IDC_SEARCH_BACKWARD");
    Press("IDOK");
    Press("IDOK");
    ClickDirection("IDC_SEARCH_FORWARD");
    Press("IDOK");
    EXPECT_EQ(target.Take(),
        (Calls { "find 'cd' dir=2 tell", "find 'cd' dir=2 tell", "find 'cd' dir=1 tell",
            "find 'cd' dir=1 tell", "find 'cd' dir=0 tell" }));

    // A new opening forgets both: the first search of the same text is from the top again.
    ClickDirection("IDC_SEARCH_ENTIRE_SCOPE");
    Open(false);
    EXPECT_TRUE(Control<QRadioButton>("IDC_SEARCH_ENTIRE_SCOPE")->isChecked());
    QTest::mouseClick(Control<QCheckBox>("IDC_SEARCH_CASE_SENSITIVE"), Qt::LeftButton);
    QTest::mouseClick(Control<QCheckBox>("IDC_WHOLE_WORD"), Qt::LeftButton);
    Press("IDOK");
    Press("IDOK");
    EXPECT_EQ(target.Take(),
        (Calls { "find 'cd' case word dir=2 tell", "find 'cd' case word dir=0 tell" }));
}

TEST_F(SearchDialogTest, ReplaceReplacesInTheCurrentCellAndFindsTheNext)
{
    Open(true);
    Type(FindBox(), "ab");
    Type(ReplaceBox(), "xy");
    Press("IDC_REPLACE");
    Press("IDC_REPLACE");
    QTest::mouseClick(Control<QCheckBox>("IDC_SEARCH_CASE_SENSITIVE"), Qt::LeftButton);
    ColumnBox()->setCurrentIndex(1);
    Press("IDC_REPLACE");
    EXPECT_EQ(target.Take(),
        (Calls { "replace 'ab'->'xy'", "find 'ab' dir=2 tell", "replace 'ab'->'xy'",
            "find 'ab' dir=0 tell", "replace 'ab'->'xy' case",
            "find 'ab' in NAME case dir=0 tell" }));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(SearchDialogTest, ReplaceAllTellsHowManyCellsChanged)
{
    Open(true);
    Type(FindBox(), "ab");
    Type(ReplaceBox(), "xy");
    ColumnBox()->setCurrentIndex(2);
    QTest::mouseClick(Control<QCheckBox>("IDC_WHOLE_WORD"), Qt::LeftButton);
    target.replacedByAll = 3;
    ScriptedPrompt prompt { platform::IDOK, platform::IDOK };
    Press("IDC_REPLACE_ALL");
    EXPECT_EQ(target.Take(), (Calls { "all 'ab' in SUM word->'xy'" }));
    ASSERT_EQ(prompt.Questions().size(), 1u);
    EXPECT_EQ(prompt.Asked(0).text, "Search complete.\n\n3 replaces have been done.");
    EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kOk);
    EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kInformation);
    EXPECT_TRUE(dialog.isVisible());
    // It is no "&Find next": the next search of the text in the entire scope is from the top.
    target.replacedByAll = 0;
    Press("IDC_REPLACE_ALL");
    EXPECT_EQ(prompt.Asked(1).text, "Search complete.\n\n0 replaces have been done.");
    Press("IDOK");
    EXPECT_EQ(target.Take(),
        (Calls { "all 'ab' in SUM word->'xy'", "find 'ab' in SUM word dir=2 tell" }));
}

TEST_F(SearchDialogTest, EnterFindsTheNextAndEscapeCloses)
{
    Open(false);
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    Type(FindBox(), "ab");
    QTest::keyClick(FindBox()->lineEdit(), Qt::Key_Return);
    QTest::keyClick(FindBox()->lineEdit(), Qt::Key_Enter);
    EXPECT_EQ(target.Take(), (Calls { "find 'ab' dir=2 tell", "find 'ab' dir=0 tell" }));
    EXPECT_TRUE(dialog.isVisible());
    // The list of earlier texts took the text once, and no more than that.
    EXPECT_EQ(Items(FindBox()), (Texts { "ab" }));

    Type(FindBox(), "cd");
    QTest::keyClick(FindBox()->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.FindHistory(), (Texts { "cd", "ab" }));
    EXPECT_TRUE(target.Take().empty());
}

} // namespace
