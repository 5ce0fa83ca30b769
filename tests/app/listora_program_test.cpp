// The program itself, started without a display as a launcher might start
// it: the answers that must come before Qt needs a screen.
#include "core/app/start_arguments.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

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
