#include "platform/text_lines.h"

#include <gtest/gtest.h>

namespace listora {
namespace {

using Lines = std::vector<std::string_view>;

TEST(TextLines, SplitsAtEveryKindOfBreak) {
    const struct {
        std::string_view text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},  // a break at the very end adds no line
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\n\r", {"a", ""}},  // LF then a lone CR: two breaks
        {"\r\n\r\n", {"", ""}},
        {"a\r\r\nb", {"a", "", "b"}},
        {std::string_view("a\nb\0c\nd", 7), {"a", "b"}},  // NUL ends the text
        {std::string_view("\0abc", 4), {}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitLines(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(TextLines, WritesCrLfAfterEveryLine) {
    EXPECT_EQ(joinLinesCrlf(std::vector<std::string>{"#EXTM3U", "a.mp3"}), "#EXTM3U\r\na.mp3\r\n");
    EXPECT_EQ(joinLinesCrlf(std::vector<std::string>{}), "");
}

}  // namespace
}  // namespace listora
