#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 256> buffer{};
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
    if (pipe) ::pclose(pipe);
    return output;
}

TEST(HugePageHeap, RestartsOnceWithTheSettingAndGivesTheEnvironmentBack) {
    const std::string probe = HUGE_PAGE_HEAP_PROBE;
    EXPECT_EQ(run("env -u GLIBC_TUNABLES " + probe + " 'two words'"),
              "arg=two words tunables=(unset) started-with-hugetlb=1 keeping-freed=1 saved=0\n");
    EXPECT_EQ(run("GLIBC_TUNABLES=glibc.malloc.check=0 " + probe + " x"),
              "arg=x tunables=glibc.malloc.check=0 started-with-hugetlb=1 keeping-freed=1 saved=0\n");
    // A caller's own choice is left alone.
    EXPECT_EQ(run("GLIBC_TUNABLES=glibc.malloc.hugetlb=0 " + probe + " x"),
              "arg=x tunables=glibc.malloc.hugetlb=0 started-with-hugetlb=0 keeping-freed=0 saved=0\n");
}

}  // namespace
