#include "platform/text_lines.h"

#include <cstring>

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

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    LineReader reader(text);
    for (std::string_view line; reader.next(line);) lines.push_back(line);
    return lines;
}

}  // namespace listora
