#include "core/text/text_lines.h"

#include "support/trickle_stream.h"

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

// Pieces far smaller than a line: each ends after a whole line (never
// between the CR and the LF of a pair), together they are the text up to a
// NUL, and their lines are the text's, also when the stream breaks off.
TEST(TextLines, PiecesEndAfterWholeLines) {
    std::mt19937 dice(7);
    const char bytes[] = {'a', '/', '\r', '\n', '\0'};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        for (unsigned n = dice() % 60; n > 0; --n) text += dice() % 3 ? bytes[dice() % 2] : bytes[2 + dice() % 3];
        const std::size_t failAt = dice() % 4 ? std::string::npos : dice() % (text.size() + 1);
        const std::string readable = text.substr(0, failAt);
        for (const std::size_t pieceBytes : {std::size_t{1}, std::size_t{2}, std::size_t{5}}) {
            TrickleStream stream(text, 1 + dice() % 7, failAt);
            LinePieceReader reader(stream, NulByte::EndsText, pieceBytes);
            std::string joined;
            std::vector<std::string> lines;
            for (LinePiece piece; reader.next(piece);) {
                ASSERT_FALSE(piece.text().empty());
                joined += piece.text();
                if (reader.failed()) continue;
                for (std::string_view line : splitLines(piece.text())) lines.emplace_back(line);
            }
            const std::string context = testing::PrintToString(text) + " in pieces of " + std::to_string(pieceBytes);
            EXPECT_EQ(reader.consumed(), joined.size()) << context;
            const bool broke = failAt != std::string::npos && readable.find('\0') == std::string::npos;
            EXPECT_EQ(reader.failed(), broke) << context;
            if (broke) {
                // Whole lines only: what was handed out ends in a break.
                EXPECT_TRUE(joined.empty() || joined.back() == '\n' || joined.back() == '\r') << context;
                EXPECT_TRUE(readable.starts_with(joined)) << context;
                continue;
            }
            EXPECT_EQ(joined, text.substr(0, text.find('\0'))) << context;
            EXPECT_EQ(lines, referenceLines(text)) << context;
        }
    }
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
