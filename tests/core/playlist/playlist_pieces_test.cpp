// Catches the reading thread handing out other text than a reader in place
// would (lost, repeated or reordered pieces, a failure missed), a line
// missed or shifted in a piece's lines, and a file name found where the
// path rules would find another.
#include "core/playlist/playlist_pieces.h"

#include "core/paths/path_rules.h"
#include "support/trickle_stream.h"

#include <gtest/gtest.h>
#include <random>

namespace listora {
namespace {

TEST(PlaylistPieces, AreThePiecesOfAReaderInPlaceWithTheirLinesAndNames) {
    const PathRules rules(PathStyle::Posix, CodePage::Utf8);
    std::mt19937 dice(8);
    const char bytes[] = {'a', '/', '\r', '\n', '\0', '.'};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        for (unsigned n = dice() % 60; n > 0; --n) text += dice() % 3 ? bytes[dice() % 2] : bytes[2 + dice() % 4];
        const std::size_t failAt = dice() % 4 ? std::string::npos : dice() % (text.size() + 1);
        for (const std::size_t pieceBytes : {std::size_t{1}, std::size_t{2}, std::size_t{5}}) {
            const std::size_t trickle = 1 + dice() % 7;
            const std::string context = testing::PrintToString(text) + " in pieces of " + std::to_string(pieceBytes);
            // What a reader in place hands out; piece sizes may differ, as a
            // reused buffer holds more.
            TrickleStream plainStream(text, trickle, failAt);
            LinePieceReader plain(plainStream, NulByte::EndsText, pieceBytes);
            std::string expected;
            for (LinePiece piece; plain.next(piece);) expected += piece.text();

            TrickleStream aheadStream(text, trickle, failAt);
            PlaylistPieceReader ahead(aheadStream, rules, pieceBytes);
            std::string joined;
            PlaylistPiece piece;
            while (ahead.next(piece)) {
                ASSERT_FALSE(piece.text().empty()) << context;
                joined += piece.text();
                ASSERT_EQ(ahead.consumed(), joined.size()) << context;
                // The lines are those of a walk over the piece that are not
                // empty, each with the name the path rules find.
                LineReader walk(piece.text());
                std::string_view walked;
                for (const PieceLine& line : piece.lines) {
                    do {
                        ASSERT_TRUE(walk.next(walked)) << context;
                    } while (walked.empty());
                    ASSERT_EQ(piece.text().substr(line.begin, line.end - line.begin), walked) << context;
                    ASSERT_EQ(line.next, walk.position()) << context;
                    ASSERT_EQ(line.nameAt, rules.nameAsWritten(walked)) << context;
                }
                while (walk.next(walked)) ASSERT_TRUE(walked.empty()) << context;
            }
            EXPECT_EQ(joined, expected) << context;
            EXPECT_EQ(ahead.failed(), plain.failed()) << context;
            EXPECT_TRUE(piece.text().empty());
        }
    }
}

}  // namespace
}  // namespace listora
