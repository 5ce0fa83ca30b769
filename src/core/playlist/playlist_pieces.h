#pragma once
// A playlist's text in pieces of whole lines, read on a thread of its own a
// piece or two ahead of the rows being made from them, so that the file's
// reading (the kernel's copy, the searches for a NUL, for the line breaks
// and for the file names) runs while the rows of the piece before are made.

#include "core/text/text_lines.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

namespace listora {

class ByteStream;
class PathRules;
template <typename Item>
class BoundedQueue;

// A line of a piece, as LineReader finds it: its bytes [begin, end), the
// line after it from `next`, and, when the line as written is already a
// full path, where its file name begins (PathRules::nameAsWritten; npos
// otherwise), so that most rows need no path rules at all.
struct PieceLine {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    std::size_t nameAt = std::string_view::npos;
};

struct PlaylistPiece {
    LinePiece bytes;
    // Its lines but the empty ones, which make no row (so a file of empty
    // lines costs no more than its pieces).
    std::vector<PieceLine> lines;
    // Whether the stream had broken off by the time this piece was read, so
    // that the caller sees a failure where a reader on its own thread would.
    bool failed = false;

    std::string_view text() const { return bytes.text(); }
};

class PlaylistPieceReader {
public:
    PlaylistPieceReader(ByteStream& stream, const PathRules& rules, std::size_t pieceBytes = std::size_t{1} << 20);
    ~PlaylistPieceReader();

    // The next piece in place of `piece`, whose buffers are reused; false
    // after the last one, `piece` then left empty.
    bool next(PlaylistPiece& piece);
    // As LinePieceReader's, for the pieces handed out so far.
    bool failed() const { return failed_; }
    std::uint64_t consumed() const { return consumed_; }

private:
    bool read(PlaylistPiece& piece);
    void readAhead();

    LinePieceReader reader_;  // the reading thread's while there is one
    const PathRules& rules_;
    // Pieces read, and the buffers of pieces taken going back to be reused.
    std::unique_ptr<BoundedQueue<PlaylistPiece>> ahead_;
    std::unique_ptr<BoundedQueue<PlaylistPiece>> spare_;
    std::thread thread_;
    bool failed_ = false;
    std::uint64_t consumed_ = 0;
};

}  // namespace listora
