#include "platform/text_lines.h"

#include <cstring>

namespace listora {

std::vector<std::string_view> splitLines(std::string_view text) {
    if (const void* nul = std::memchr(text.data(), '\0', text.size()))
        text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));

    std::vector<std::string_view> lines;
    std::size_t start = 0;
    const char* data = text.data();
    const std::size_t size = text.size();
    while (start < size) {
        std::size_t end = start;
        while (end < size && data[end] != '\n' && data[end] != '\r') ++end;
        if (end == size) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

}  // namespace listora
