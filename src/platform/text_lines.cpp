#include "platform/text_lines.h"

#include "platform/file_system.h"
#include "platform/path_rules.h"
#include "platform/read_ahead.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace listora {
namespace {

bool isBreak(char byte, bool nulEnds) { return byte == '\r' || byte == '\n' || (nulEnds && byte == '\0'); }

// The first CR, LF or (when it ends the text) NUL in [from, end), or end:
// they are looked for in one walk, so each byte of a text is read once
// however its lines end.
const char* findBreak(const char* from, const char* end, bool nulEnds) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    // Compared with CR again where a NUL is no break: the same hits.
    const __m128i nul = nulEnds ? _mm_setzero_si128() : cr;
    for (; end - from >= 16; from += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)),
                                          _mm_cmpeq_epi8(bytes, nul));
        if (const int mask = _mm_movemask_epi8(hits)) return from + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    while (from < end && !isBreak(*from, nulEnds)) ++from;
    return from;
}

// Just after the last break in `text`, or 0 before the first.
std::size_t afterLastBreak(std::string_view text, std::size_t before) {
    while (before > 0 && text[before - 1] != '\r' && text[before - 1] != '\n') --before;
    return before;
}

// Just after the last whole line of `text`; npos when no line ends in it. A
// CR that ends the text may be the first half of a CR LF, so it ends no
// line yet.
std::size_t endOfWholeLines(std::string_view text) {
    std::size_t end = afterLastBreak(text, text.size());
    if (end == text.size() && end > 0 && text[end - 1] == '\r') end = afterLastBreak(text, end - 1);
    return end == 0 ? std::string_view::npos : end;
}

}  // namespace

bool LineReader::next(std::string_view& line) {
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    if (pos_ >= text_.size() || (nulEnds_ && begin[pos_] == '\0')) return false;  // a NUL ends the text
    const char* found = findBreak(begin + pos_, end, nulEnds_);
    line = std::string_view(begin + pos_, static_cast<std::size_t>(found - begin) - pos_);
    if (found == end || *found == '\0') {
        pos_ = text_.size();
    } else {
        const bool crLf = *found == '\r' && found + 1 < end && found[1] == '\n';
        pos_ = static_cast<std::size_t>(found - begin) + (crLf ? 2 : 1);
    }
    return true;
}

bool LinePieceReader::next(LinePiece& piece) {
    piece.lines_.clear();
    if (ended_ && carried_.empty()) return false;
    try {
        const std::size_t room = carried_.size() + pieceBytes_;
        if (piece.capacity_ < room) {
            piece.data_.reset(new char[room]);
            piece.capacity_ = room;
        }
    } catch (const std::bad_alloc&) {
        return fail();
    }
    std::memcpy(piece.data_.get(), carried_.data(), carried_.size());
    piece.size_ = carried_.size();
    carried_.clear();
    if (!fill(piece)) return false;
    consumed_ += piece.size_;
    return piece.size_ > 0;
}

// Reads into the piece until it is full and ends after a line, or the text
// ends; what follows its last fitting line is carried to the next piece.
bool LinePieceReader::fill(LinePiece& piece) {
    for (;;) {
        while (!ended_ && piece.size_ < piece.capacity_) {
            char* const at = piece.data_.get() + piece.size_;
            const std::optional<std::size_t> got = stream_.read(at, piece.capacity_ - piece.size_);
            if (!got) {
                // The whole lines before the break still count.
                const std::size_t end = endOfWholeLines(piece.text());
                piece.size_ = end == std::string_view::npos ? 0 : end;
                fail();
                return true;
            }
            if (*got == 0) {
                ended_ = true;
                break;
            }
            if (const void* nul = nulEnds_ ? std::memchr(at, '\0', *got) : nullptr) {
                piece.size_ = static_cast<std::size_t>(static_cast<const char*>(nul) - piece.data_.get());
                ended_ = true;  // nothing after it is read
                break;
            }
            piece.size_ += *got;
        }
        if (ended_) return true;
        const std::size_t end = endOfWholeLines(piece.text());
        if (end != std::string_view::npos) {
            carried_.assign(piece.data_.get() + end, piece.size_ - end);
            piece.size_ = end;
            return true;
        }
        // No line ends in the room: a larger one, and read on.
        try {
            const std::size_t capacity = 2 * piece.capacity_;
            std::unique_ptr<char[]> larger(new char[capacity]);
            std::memcpy(larger.get(), piece.data_.get(), piece.size_);
            piece.data_ = std::move(larger);
            piece.capacity_ = capacity;
        } catch (const std::bad_alloc&) {
            return fail();  // a line longer than memory holds fails like a broken read
        }
    }
}

// Nothing more is handed out after a failed read.
bool LinePieceReader::fail() {
    carried_.clear();
    failed_ = true;
    ended_ = true;
    return false;
}

ReadAheadLinePieces::ReadAheadLinePieces(ByteStream& stream, NulByte nul, const PathRules* names,
                                         std::size_t pieceBytes)
    : reader_(stream, nul, pieceBytes), nul_(nul), names_(names) {
    try {
        ahead_ = std::make_unique<ReadAhead<Made>>([this](Made& made) { return make(made); });
    } catch (const std::system_error&) {
        // No thread: next() reads in place.
    }
}

ReadAheadLinePieces::~ReadAheadLinePieces() = default;

bool ReadAheadLinePieces::make(Made& made) {
    const bool got = reader_.next(made.piece);
    made.failed = reader_.failed();
    if (!got) return false;
    std::vector<PieceLine>& lines = made.piece.lines_;
    const std::string_view text = made.piece.text();
    LineReader reader(text, nul_);
    for (std::string_view line; reader.next(line);) {
        if (line.empty()) continue;
        const auto begin = static_cast<std::size_t>(line.data() - text.data());
        lines.push_back({begin, begin + line.size(), reader.position(),
                         names_ ? names_->nameAsWritten(line) : std::string_view::npos});
    }
    return true;
}

bool ReadAheadLinePieces::next(LinePiece& piece) {
    Made made{std::move(piece)};
    const bool got = ahead_ ? ahead_->next(made) : make(made);
    // After the last piece the reading thread has ended, and the reader is
    // this thread's to ask.
    failed_ = got ? made.failed : reader_.failed();
    if (!got) {
        piece = LinePiece();
        return false;
    }
    piece = std::move(made.piece);
    consumed_ += piece.text().size();
    return true;
}

bool StreamLineReader::next(std::string_view& line) {
    while (!lines_.next(line)) {
        if (!pieces_.next(piece_)) return false;
        lines_ = LineReader(piece_.text(), nul_);
    }
    return true;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    LineReader reader(text);
    for (std::string_view line; reader.next(line);) lines.push_back(line);
    return lines;
}

}  // namespace listora
