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

// Catches "LIST.M3U" opened with the desktop's "Open with" gathered as a
// drop, which reads only a lower-case "m3u" extension, so nothing happened.
TEST(StartArguments, PlaylistsInAnyCaseAreMarkedToBeRead) {
    const PathRules rules(PathStyle::Posix, CodePage::Utf8);
    const StartArguments start = parseStartArguments(
        {"LIST.M3U", "b.M3u8", "c.m3u", "d.m3u.txt", "M3U", "e.mp3", "f.PLS", "g.xspf"}, "/h", rules);
    EXPECT_EQ(start.playlists,
              (std::unordered_set<std::string>{"/h/LIST.M3U", "/h/b.M3u8", "/h/c.m3u", "/h/f.PLS", "/h/g.xspf"}));
}

}  // namespace
}  // namespace listora::test
