#include "platform/prompt.h"
#include "tests/support/scripted_prompt.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

using platform::IDCANCEL;
using platform::IDNO;
using platform::IDOK;
using platform::IDYES;
using platform::PromptButtons;
using platform::PromptIcon;
using testing_support::ScriptedPrompt;

// With no prompt set, nothing is shown and nothing is agreed to: a save question is
// cancelled, a yes/no question answered No.
TEST(PromptTest, WithoutAPromptEveryQuestionIsDismissed)
{
    EXPECT_EQ(platform::AskUser("Done.", PromptButtons::kOk, PromptIcon::kInformation), IDOK);
    EXPECT_EQ(platform::AskUser("Pack?", PromptButtons::kYesNo, PromptIcon::kQuestion), IDNO);
    EXPECT_EQ(
        platform::AskUser("Save?", PromptButtons::kYesNoCancel, PromptIcon::kQuestion), IDCANCEL);
    EXPECT_EQ(platform::AskUser("Go?", PromptButtons::kOkCancel, PromptIcon::kQuestion), IDCANCEL);
}

TEST(PromptTest, AScriptedPromptRecordsEachQuestionAndAnswersInOrder)
{
    ScriptedPrompt prompt { IDYES, IDCANCEL };
    EXPECT_EQ(
        platform::AskUser("Delete all records?", PromptButtons::kYesNo, PromptIcon::kQuestion),
        IDYES);
    EXPECT_EQ(platform::AskUser("The table T has been changed. Save changes to the file?",
                  PromptButtons::kYesNoCancel, PromptIcon::kQuestion),
        IDCANCEL);

    ASSERT_EQ(prompt.Questions().size(), 2u);
    EXPECT_EQ(prompt.Asked(0).text, "Delete all records?");
    EXPECT_EQ(prompt.Asked(0).buttons, PromptButtons::kYesNo);
    EXPECT_EQ(prompt.Asked(0).icon, PromptIcon::kQuestion);
    EXPECT_EQ(prompt.Asked(1).buttons, PromptButtons::kYesNoCancel);
    EXPECT_EQ(prompt.Unused(), 0u);
}

TEST(PromptTest, AScriptedPromptPutsBackThePromptItReplaced)
{
    ScriptedPrompt outer { IDOK };
    {
        ScriptedPrompt inner { IDNO };
        EXPECT_EQ(&platform::CurrentPrompt(), &inner);
        EXPECT_EQ(platform::AskUser("q", PromptButtons::kYesNo, PromptIcon::kQuestion), IDNO);
    }
    EXPECT_EQ(&platform::CurrentPrompt(), &outer);
    EXPECT_EQ(platform::AskUser("i", PromptButtons::kOk, PromptIcon::kStop), IDOK);
    EXPECT_EQ(outer.Texts(), std::vector<std::string> { "i" });
}

// A test whose code asks more than the script expects, or gets an answer its box cannot
// give, must fail rather than pass on a made-up answer.
TEST(PromptTest, AScriptedPromptFailsOnAnUnexpectedQuestionOrAnImpossibleAnswer)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompt prompt;
            EXPECT_EQ(
                platform::AskUser("Pack?", PromptButtons::kYesNo, PromptIcon::kQuestion), IDNO);
        },
        "unexpected prompt: Pack?");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompt prompt { IDYES };
            EXPECT_EQ(platform::AskUser("Go?", PromptButtons::kOkCancel, PromptIcon::kQuestion),
                IDCANCEL);
        },
        "is not one of the buttons");
}

} // namespace
