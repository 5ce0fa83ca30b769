#include "platform/text_lines.h"

#include "platform/file_system.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace listora {
namespace {

std::size_t findByte(std::string_view text, std::size_t from, char byte) {
    const void* found = std::memchr(text.data() + from, byte, text.size() - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) : text.size();
}

}  // namespace

LineReader::LineReader(std::string_view text)
    : text_(text.substr(0, findByte(text, 0, '\0'))),
      nextCr_(findByte(text_, 0, '\r')),
      nextLf_(findByte(text_, 0, '\n')) {}

bool LineReader::next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    if (nextCr_ < pos_) nextCr_ = findByte(text_, pos_, '\r');
    if (nextLf_ < pos_) nextLf_ = findByte(text_, pos_, '\n');
    const std::size_t end = std::min(nextCr_, nextLf_);
    line = text_.substr(pos_, end - pos_);
    const bool crLf = end == nextCr_ && end + 1 == nextLf_;
    pos_ = end + (crLf ? 2 : 1);
    return true;
}

// Whole lines end after the last LF, or, where no LF came, after the last
// CR that is not the final byte (an LF might still follow that one). Bytes
// already searched without finding either are not searched again, so one
// endless line is still read in linear time.
std::size_t StreamLineReader::lastBreakEnd() {
    const std::size_t size = buffer_.size();
    const auto last = [&](char byte, std::size_t end) -> std::size_t {
        if (end <= searchFrom_) return 0;
        const void* found = ::memrchr(buffer_.data() + searchFrom_, byte, end - searchFrom_);
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data()) + 1 : 0;
    };
    std::size_t end = last('\n', size);
    if (end == 0 && size > 0) end = last('\r', size - 1);
    searchFrom_ = end == 0 && size > 0 ? size - 1 : 0;
    return end;
}

bool StreamLineReader::next(std::string_view& line) {
    for (;;) {
        if (lines_.next(line)) return true;
        if (ended_) return false;
        readMore();
    }
}

void StreamLineReader::readMore() {
    buffer_.erase(0, complete_);
    constexpr std::size_t kPiece = 1 << 20;
    const std::size_t old = buffer_.size();
    std::optional<std::size_t> got;
    try {
        buffer_.resize(old + kPiece);
        got = stream_.read(buffer_.data() + old, kPiece);
    } catch (const std::bad_alloc&) {
        // A line longer than memory holds: the read fails like a broken one.
    } catch (const std::length_error&) {
    }
    if (!got) {
        // Nothing more is handed out after a failed read, not even the
        // unfinished line before it: a cut line would pass for a whole one.
        buffer_.clear();
        buffer_.shrink_to_fit();
        failed_ = true;
        ended_ = true;
    } else {
        buffer_.resize(old + *got);
        if (*got == 0) {
            ended_ = true;
        } else if (const std::size_t nul = findByte(buffer_, old, '\0'); nul < buffer_.size()) {
            buffer_.resize(nul);  // a NUL byte ends the text
            ended_ = true;
        }
    }
    complete_ = ended_ ? buffer_.size() : lastBreakEnd();
    lines_ = LineReader(std::string_view(buffer_.data(), complete_));
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    LineReader reader(text);
    for (std::string_view line; reader.next(line);) lines.push_back(line);
    return lines;
}

}  // namespace listora
