#include "platform/text_lines.h"

#include "platform/file_system.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

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

// Hands out a text a few bytes at a time, so every break falls on a piece's
// edge somewhere; it can also break off part way.
class TrickleStream : public ByteStream {
public:
    TrickleStream(std::string text, std::size_t piece, std::size_t failAt = std::string::npos)
        : text_(std::move(text)), piece_(piece), failAt_(failAt) {}
    std::optional<std::size_t> read(char* buffer, std::size_t size) override {
        if (at_ >= failAt_) return std::nullopt;
        const std::size_t count = std::min({size, piece_, text_.size() - at_, failAt_ - at_});
        text_.copy(buffer, count, at_);
        at_ += count;
        return count;
    }

private:
    std::string text_;
    std::size_t piece_;
    std::size_t failAt_;
    std::size_t at_ = 0;
};

std::vector<std::string> streamLines(const std::string& text, std::size_t piece, bool* failed = nullptr,
                                     std::size_t failAt = std::string::npos) {
    TrickleStream stream(text, piece, failAt);
    StreamLineReader reader(stream);
    std::vector<std::string> lines;
    for (std::string_view line; reader.next(line);) lines.emplace_back(line);
    if (failed) *failed = reader.failed();
    return lines;
}

TEST(TextLines, ReadingInPiecesGivesTheSameLines) {
    const std::string texts[] = {
        "",
        "a",
        "a\r\nb\rc\nd",
        "a\r\n",
        "a\r",
        "\r\r\n\n",
        "x\ry\rz\r",
        "long " + std::string(3000, 'x') + "\r\nend",
        std::string("a\r\nb\0c\r\n", 9),
        "\n\n\n",
        "a\r\n\r\nb\r\n",
    };
    for (const std::string& text : texts) {
        std::vector<std::string> whole;
        for (std::string_view line : splitLines(text)) whole.emplace_back(line);
        for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1} << 20})
            EXPECT_EQ(streamLines(text, piece), whole) << testing::PrintToString(text) << " in pieces of " << piece;
    }
    // A read that breaks off keeps the whole lines before it and drops the
    // one it cut, in whichever piece the break falls.
    for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{1} << 20}) {
        bool failed = false;
        EXPECT_EQ(streamLines("ab\ncd\nef\ngh\n", piece, &failed, 7), (std::vector<std::string>{"ab", "cd"})) << piece;
        EXPECT_TRUE(failed);
    }
}

// The rules spelled out byte by byte, to hold the one-walk search to.
std::vector<std::string> referenceLines(std::string text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

TEST(TextLines, RandomTextsSplitAsTheRulesSayWholeAndInPieces) {
    std::mt19937 dice(5);
    const char bytes[] = {'a', 'b', '\r', '\n', '\0', '\xFF'};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        // Mostly letters, so that breaks fall anywhere in a 16-byte block.
        for (unsigned n = dice() % 80; n > 0; --n) text += dice() % 4 ? bytes[dice() % 2] : bytes[2 + dice() % 4];
        const std::vector<std::string> expected = referenceLines(text);
        std::vector<std::string> whole;
        for (std::string_view line : splitLines(text)) whole.emplace_back(line);
        ASSERT_EQ(whole, expected) << testing::PrintToString(text);
        for (std::size_t piece : {std::size_t{1}, std::size_t{5}, std::size_t{17}})
            ASSERT_EQ(streamLines(text, piece), expected) << testing::PrintToString(text) << " in pieces of " << piece;
    }
    std::string_view line;
    EXPECT_FALSE(LineReader(std::string_view()).next(line));  // no text at all, not even a pointer
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
