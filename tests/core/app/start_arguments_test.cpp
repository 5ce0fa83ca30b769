#include "core/app/start_arguments.h"

#include "core/paths/path_rules.h"

#include <gtest/gtest.h>

namespace listora::test {
namespace {

using Action = StartArguments::Action;

TEST(StartArguments, PathsInTheirOrderMadeAbsoluteAndTheOptions) {
    const PathRules rules(PathStyle::Posix, CodePage::Utf8);
    const StartArguments files = parseStartArguments({"b.m3u", "/music/Rock", "--", "-x.m3u"}, "/home/u", rules);
    EXPECT_EQ(files.action, Action::Run);
    EXPECT_EQ(files.paths, (std::vector<std::string>{"/home/u/b.m3u", "/music/Rock", "/home/u/-x.m3u"}));
    EXPECT_EQ(parseStartArguments({"a.m3u", "--version"}, "/", rules).action, Action::Version);
    EXPECT_EQ(parseStartArguments({"--version", "--help"}, "/", rules).action, Action::Help);
    const StartArguments bad = parseStartArguments({"--nonsense", "a.m3u"}, "/", rules);
    EXPECT_EQ(bad.action, Action::Bad);
    EXPECT_EQ(bad.badOption, "--nonsense");
}

}  // namespace
}  // namespace listora::test
