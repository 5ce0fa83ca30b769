#include "app/start_arguments.h"

#include "platform/path_rules.h"

#include <cstdio>
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

// What the program prints, run without a display as a launcher might.
std::string outputOf(const std::string& arguments) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " LISTORA " " + arguments;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[512];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
    EXPECT_EQ(::pclose(pipe), 0) << arguments;
    return out;
}

TEST(StartArguments, VersionAndUsageNeedNoWindow) {
    EXPECT_EQ(outputOf("--version"), "Listora 1.20\n");
    EXPECT_EQ(outputOf("--help"), startUsageText());
}

}  // namespace
}  // namespace listora::test
