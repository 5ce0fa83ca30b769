#include "cli/console_ports.h"

#include <gtest/gtest.h>

namespace listora::test {
namespace {

// Each option answers the one question it was made for: a later flow that
// asks another question with the same buttons (the save question is also
// Yes, No, Cancel) must not get --rewrite-paths or --force as its answer.
TEST(ConsolePrompts, OptionsAnswerTheirOwnQuestionsOnly) {
    ConsoleProgress progress;
    ConsolePrompts prompts(progress);
    prompts.copyAnswer = Answer::Yes;
    prompts.headerAnswer = Answer::Yes;
    EXPECT_EQ(prompts.confirm(Question::RewriteCopiedPaths, "q", Buttons::YesNoCancel), Answer::Yes);
    EXPECT_EQ(prompts.confirm(Question::ReadWithoutHeader, "q", Buttons::YesNo), Answer::Yes);
    EXPECT_EQ(prompts.confirm(Question::SaveFirst, "q", Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(prompts.confirm(Question::AddToList, "q", Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(prompts.warn(Question::DeleteFiles, "q", Buttons::YesCancel), Answer::Cancel);
    EXPECT_FALSE(prompts.refused);

    // Without --force a playlist without the header is refused, and told.
    prompts.headerAnswer = Answer::No;
    testing::internal::CaptureStderr();
    EXPECT_EQ(prompts.confirm(Question::ReadWithoutHeader, "not an m3u", Buttons::YesNo), Answer::No);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "not an m3u\n");
    EXPECT_TRUE(prompts.refused);
}

}  // namespace
}  // namespace listora::test
