#include "core/playlist/playlist_pieces.h"

#include "core/paths/path_rules.h"
#include "core/threads/bounded_queue.h"

#include <exception>
#include <system_error>
#include <utility>

namespace listora {

PlaylistPieceReader::PlaylistPieceReader(ByteStream& stream, const PathRules& rules, std::size_t pieceBytes)
    : reader_(stream, NulByte::EndsText, pieceBytes),
      rules_(rules),
      ahead_(std::make_unique<BoundedQueue<PlaylistPiece>>(2)),
      spare_(std::make_unique<BoundedQueue<PlaylistPiece>>(4)) {
    try {
        thread_ = std::thread([this] { readAhead(); });
    } catch (const std::system_error&) {
        ahead_.reset();  // no thread: next() reads in place
    }
}

PlaylistPieceReader::~PlaylistPieceReader() {
    if (!thread_.joinable()) return;
    ahead_->abandon();
    thread_.join();
}

bool PlaylistPieceReader::read(PlaylistPiece& piece) {
    piece.lines.clear();
    const bool got = reader_.next(piece.bytes);
    piece.failed = reader_.failed();
    if (!got) return false;
    const std::string_view text = piece.text();
    LineReader walk(text);
    for (std::string_view line; walk.next(line);) {
        if (line.empty()) continue;
        const auto begin = static_cast<std::size_t>(line.data() - text.data());
        piece.lines.push_back({begin, begin + line.size(), walk.position(), rules_.nameAsWritten(line)});
    }
    return true;
}

void PlaylistPieceReader::readAhead() {
    try {
        for (;;) {
            PlaylistPiece piece;
            spare_->tryPop(piece);
            if (!read(piece) || !ahead_->push(piece)) break;
        }
        ahead_->close();
    } catch (...) {  // no memory for a piece's lines: a failure like a broken read
        ahead_->close(std::current_exception());
    }
}

bool PlaylistPieceReader::next(PlaylistPiece& piece) {
    // The buffers of the piece taken before go back to the reading thread;
    // when enough wait there already, they are freed instead.
    if (ahead_) spare_->tryPush(piece);
    const bool got = ahead_ ? ahead_->pop(piece) : read(piece);
    // After the last piece the reading thread has ended, and the reader is
    // this thread's to ask.
    failed_ = got ? piece.failed : reader_.failed();
    if (!got) {
        piece = PlaylistPiece();
        return false;
    }
    consumed_ += piece.text().size();
    return true;
}

}  // namespace listora
