#pragma once
// Whole text files as lines: CR LF, a lone CR and a lone LF each end a line,
// a break at the very end adds no empty line, and a NUL byte ends the text.
// Lines are written back with CR LF after every line, the last one included.

#include <string>
#include <string_view>
#include <vector>

namespace listora {

// Views into `text`; they live as long as the text does.
std::vector<std::string_view> splitLines(std::string_view text);

template <typename Lines>
std::string joinLinesCrlf(const Lines& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += std::string_view(line).size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace listora
