#pragma once
// Comparisons and trims for the ASCII words of file formats (schemes,
// extensions, keys). A word of ASCII cannot match part of a CP932
// character, whose lead byte is never ASCII, so these are safe on text of
// either code page.

#include <algorithm>
#include <string_view>

namespace listora {

inline char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

inline bool endsWithIgnoringAsciiCase(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && equalsIgnoringAsciiCase(text.substr(text.size() - ending.size()), ending);
}

// Without spaces, tabs and line breaks at either end.
inline std::string_view withoutAsciiSpace(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

}  // namespace listora
