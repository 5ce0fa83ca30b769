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

TEST(TextLines, ReadsTextsBrokenByOneKindOfBreakAlone) {
    // Each break is searched for once, so lone CRs do not rescan for an LF.
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "line\r";
    std::size_t count = 0;
    LineReader reader(text);
    for (std::string_view line; reader.next(line); ++count) ASSERT_EQ(line, "line");
    EXPECT_EQ(count, 100000u);
}

}  // namespace
}  // namespace listora
