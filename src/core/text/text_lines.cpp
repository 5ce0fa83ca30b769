#include "core/text/text_lines.h"

#include "core/text/byte_stream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace listora {
namespace {

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

// Each kind of break is searched for with memchr from where the walk is,
// and where it was found is kept until the walk passes it, so each kind is
// searched for once over the whole text however its lines end (a text of
// lone CRs is not searched again for an LF at every line).
std::size_t LineReader::nextOf(char byte, std::size_t& found) {
    if (found == kNotSearched || found < pos_) {
        const void* hit = std::memchr(text_.data() + pos_, byte, text_.size() - pos_);
        found = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : text_.size();
    }
    return found;
}

bool LineReader::next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = std::min(nextOf('\n', lf_), nextOf('\r', cr_));
    if (nulEnds_) {
        end = std::min(end, nextOf('\0', nul_));
        if (end == pos_ && nul_ == pos_) return false;  // a NUL ends the text
    }
    line = text_.substr(pos_, end - pos_);
    if (end == text_.size() || text_[end] == '\0') {
        pos_ = text_.size();
    } else {
        const bool crLf = text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n';
        pos_ = end + (crLf ? 2 : 1);
    }
    return true;
}

bool LinePieceReader::next(LinePiece& piece) {
    if (ended_ && carried_.empty()) return false;
    try {
        const std::size_t needed = carried_.size() + pieceBytes_;
        if (piece.capacity_ < needed) {
            piece.data_.reset(new char[needed]);
            piece.capacity_ = needed;
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
        // No line ends in the buffer: a larger one, and read on.
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
