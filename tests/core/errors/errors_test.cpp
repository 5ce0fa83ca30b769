#include "core/errors/errors.h"

#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

namespace listora {
namespace {

TEST(StandardError, AppendsAFullStopOnlyAfterBytesThatSortAfterIt) {
    EXPECT_EQ(standardErrorText(cannotOpenText("/m/a.m3u")), "ファイル /m/a.m3u は開けません.");
    EXPECT_EQ(standardErrorText(invalidIntegerText("x")), "'x' is not a valid integer value.");
    EXPECT_EQ(standardErrorText(indexOutOfRangeText(3)), "リストのインデックスが範囲を超えています (3)");
    EXPECT_EQ(standardErrorText("ends with a dot."), "ends with a dot.");
    EXPECT_EQ(standardErrorText("dash-"), "dash-");
    EXPECT_EQ(standardErrorText(""), "");
}

TEST(StandardError, DispatcherShowsTheErrorAndReportsFailure) {
    test::ScriptedPrompts prompts;
    EXPECT_TRUE(runReportingErrors(prompts, [] {}));
    EXPECT_FALSE(runReportingErrors(prompts, [] { throw cannotCreateError("/x"); }));
    EXPECT_EQ(prompts.shown, std::vector<std::string>{"error: ファイル /x を作成できません."});
}

}  // namespace
}  // namespace listora
