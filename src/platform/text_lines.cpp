#include "platform/text_lines.h"

#include "platform/file_system.h"

#include <algorithm>
#include <cstring>
#include <new>

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

bool StreamLineReader::next(std::string_view& line) {
    for (;;) {
        char* const begin = data_.get();
        const char* const end = begin + size_;
        if (pos_ == size_ && ended_) return false;
        if (nulEnds_ && pos_ < size_ && begin[pos_] == '\0') {  // a NUL ends the text
            ended_ = true;
            pos_ = size_;
            return false;
        }
        const char* found = findBreak(begin + scanned_, end, nulEnds_);
        // A CR that ends the bytes read so far may be the first half of a
        // CR LF: it ends its line once the next byte is known.
        const bool waiting = found == end || (*found == '\r' && found + 1 == end);
        if (!waiting || ended_) {
            line = std::string_view(begin + pos_, static_cast<std::size_t>(found - begin) - pos_);
            if (found == end || *found == '\0') {
                ended_ = true;
                pos_ = size_;
            } else {
                const bool crLf = *found == '\r' && found + 1 < end && found[1] == '\n';
                pos_ = static_cast<std::size_t>(found - begin) + (crLf ? 2 : 1);
            }
            scanned_ = pos_;
            return true;
        }
        scanned_ = static_cast<std::size_t>(found - begin);  // the bytes before have no break
        readMore();
    }
}

void StreamLineReader::readMore() {
    // The unfinished line moves to the front; the room doubles only for a
    // line that leaves less than a piece of it.
    constexpr std::size_t kPiece = 1 << 20;
    const std::size_t kept = size_ - pos_;
    try {
        if (!data_ || capacity_ - kept < kPiece) {
            const std::size_t capacity = std::max(2 * capacity_, kept + kPiece);
            std::unique_ptr<char[]> bigger(new char[capacity]);
            if (kept > 0) std::memcpy(bigger.get(), data_.get() + pos_, kept);
            data_ = std::move(bigger);
            capacity_ = capacity;
        } else if (kept > 0) {
            std::memmove(data_.get(), data_.get() + pos_, kept);
        }
    } catch (const std::bad_alloc&) {
        fail();  // a line longer than memory holds fails like a broken read
        return;
    }
    scanned_ -= pos_;
    dropped_ += pos_;
    pos_ = 0;
    size_ = kept;
    const std::optional<std::size_t> got = stream_.read(data_.get() + size_, capacity_ - size_);
    if (!got) {
        fail();
        return;
    }
    size_ += *got;
    if (*got == 0) ended_ = true;
}

// Nothing more is handed out after a failed read, not even the unfinished
// line before it: a cut line would pass for a whole one.
void StreamLineReader::fail() {
    data_.reset();
    capacity_ = size_ = pos_ = scanned_ = 0;
    failed_ = true;
    ended_ = true;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    LineReader reader(text);
    for (std::string_view line; reader.next(line);) lines.push_back(line);
    return lines;
}

}  // namespace listora
