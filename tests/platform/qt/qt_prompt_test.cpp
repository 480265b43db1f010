#include "platform/qt/qt_prompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

namespace {

using platform::IDCANCEL;
using platform::IDNO;
using platform::IDOK;
using platform::IDYES;
using platform::PromptButtons;
using platform::PromptIcon;
using platform::qt::MakePromptBox;

// "Таблица <b>T</b>" in cp1251: Cyrillic, and a text that would be markup if taken as such.
const std::string kText = "\xD2\xE0\xE1\xEB\xE8\xF6\xE0 <b>T</b>";

class QtPromptTest : public ::testing::Test
{
protected:
    // Once the prompt's box is up, hands it to `act` (which must close it) and records what
    // the box looked like when shown.
    void WhenTheBoxShows(std::function<void(QMessageBox&)> act)
    {
        auto* timer = new QTimer(qApp);
        QObject::connect(timer, &QTimer::timeout, timer, [this, timer, act] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible())
                return;
            timer->stop();
            timer->deleteLater();
            m_shownTitle = box->windowTitle();
            m_shownText = box->text();
            act(*box);
        });
        timer->start(10);
    }

    QString m_shownTitle;
    QString m_shownText;
};

TEST_F(QtPromptTest, TheBoxShowsTitleAndTextAsPlainTextWithTheIcon)
{
    const auto box
        = MakePromptBox("Lumetta", kText, PromptButtons::kOk, PromptIcon::kStop, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Lumetta"));
    EXPECT_EQ(box->text(), QStringLiteral(u"Таблица <b>T</b>"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);

    EXPECT_EQ(MakePromptBox("", "", PromptButtons::kOk, PromptIcon::kQuestion, nullptr)->icon(),
        QMessageBox::Question);
    EXPECT_EQ(MakePromptBox("", "", PromptButtons::kOk, PromptIcon::kExclamation, nullptr)->icon(),
        QMessageBox::Warning);
    EXPECT_EQ(MakePromptBox("", "", PromptButtons::kOk, PromptIcon::kInformation, nullptr)->icon(),
        QMessageBox::Information);
    EXPECT_EQ(MakePromptBox("", "", PromptButtons::kOk, PromptIcon::kNone, nullptr)->icon(),
        QMessageBox::NoIcon);
}

// The first button is the default (Enter), and Escape gives the answer that changes nothing.
TEST_F(QtPromptTest, EachButtonSetHasItsDefaultAndEscapeButtons)
{
    struct Case
    {
        PromptButtons buttons;
        QMessageBox::StandardButtons standard;
        QMessageBox::StandardButton defaultButton;
        QMessageBox::StandardButton escapeButton;
    };
    const Case cases[] = {
        { PromptButtons::kOk, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok },
        { PromptButtons::kOkCancel, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok,
            QMessageBox::Cancel },
        { PromptButtons::kYesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
            QMessageBox::No },
        { PromptButtons::kYesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
            QMessageBox::Yes, QMessageBox::Cancel },
    };
    for (const Case& c : cases) {
        const auto box = MakePromptBox("", "", c.buttons, PromptIcon::kQuestion, nullptr);
        EXPECT_EQ(box->standardButtons(), c.standard);
        EXPECT_EQ(box->defaultButton(), box->button(c.defaultButton));
        EXPECT_EQ(box->escapeButton(), box->button(c.escapeButton));
    }
}

TEST_F(QtPromptTest, AskShowsTheBoxAndGivesTheAnswerOfTheClickedButton)
{
    platform::qt::QtPrompt prompt("Lumetta");
    WhenTheBoxShows([](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
    EXPECT_EQ(prompt.Ask(kText, PromptButtons::kYesNoCancel, PromptIcon::kQuestion), IDNO);
    EXPECT_EQ(m_shownTitle, QStringLiteral("Lumetta"));
    EXPECT_EQ(m_shownText, QStringLiteral(u"Таблица <b>T</b>"));

    WhenTheBoxShows([](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(prompt.Ask("Pack?", PromptButtons::kYesNo, PromptIcon::kQuestion), IDYES);

    WhenTheBoxShows([](QMessageBox& box) { box.button(QMessageBox::Ok)->click(); });
    EXPECT_EQ(prompt.Ask("Go?", PromptButtons::kOkCancel, PromptIcon::kQuestion), IDOK);
}

TEST_F(QtPromptTest, ClosingTheBoxWithoutAButtonGivesTheDismissAnswer)
{
    platform::qt::QtPrompt prompt("Lumetta");
    WhenTheBoxShows([](QMessageBox& box) { box.reject(); });
    EXPECT_EQ(prompt.Ask("Save?", PromptButtons::kYesNoCancel, PromptIcon::kQuestion), IDCANCEL);

    WhenTheBoxShows([](QMessageBox& box) { box.reject(); });
    EXPECT_EQ(prompt.Ask("Refresh?", PromptButtons::kYesNo, PromptIcon::kQuestion), IDNO);

    WhenTheBoxShows([](QMessageBox& box) { box.reject(); });
    EXPECT_EQ(prompt.Ask("Done.", PromptButtons::kOk, PromptIcon::kInformation), IDOK);
}

// Once installed, the desktop prompt is what every caller of the platform reaches.
TEST_F(QtPromptTest, InstalledItAnswersThePlatformsQuestions)
{
    platform::qt::QtPrompt prompt("Lumetta");
    platform::Prompt* previous = platform::SetCurrentPrompt(&prompt);
    WhenTheBoxShows([](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(
        platform::AskUser("Delete all records?", PromptButtons::kYesNo, PromptIcon::kQuestion),
        IDYES);
    platform::SetCurrentPrompt(previous);
}

} // namespace
