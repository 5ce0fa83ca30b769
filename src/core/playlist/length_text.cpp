#include "core/playlist/length_text.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace listora {

std::string FormatLengthText(long long seconds) {
    char text[32];
    if (seconds < 0) return std::string(text, std::to_chars(text, text + sizeof text, seconds).ptr);
    char* end = std::to_chars(text, text + sizeof text, seconds / 60).ptr;
    const long long rest = seconds % 60;
    *end++ = ':';
    *end++ = static_cast<char>('0' + rest / 10);
    *end++ = static_cast<char>('0' + rest % 10);
    return std::string(text, end);
}

std::string LengthTextToSeconds(std::string_view lengthText) {
    const std::size_t colon = lengthText.find(':');
    if (colon == std::string_view::npos) return std::string(lengthText);
    long long minutes = 0;
    long long seconds = 0;
    std::from_chars(lengthText.data(), lengthText.data() + colon, minutes);
    const std::string_view after = lengthText.substr(colon + 1, 2);
    std::from_chars(after.data(), after.data() + after.size(), seconds);
    // Nineteen digits of minutes times 60 leave the range of long long, so
    // the seconds are summed in 128 bits and written digit by digit.
    const __int128 total = static_cast<__int128>(minutes) * 60 + seconds;
    unsigned __int128 magnitude = total < 0 ? -static_cast<unsigned __int128>(total) : total;
    char digits[48];
    char* const end = digits + sizeof digits;
    char* at = end;
    while (magnitude > UINT64_MAX) {
        *--at = static_cast<char>('0' + static_cast<int>(magnitude % 10));
        magnitude /= 10;
    }
    // Nearly every length fits 64 bits, whose division is far cheaper.
    auto rest = static_cast<std::uint64_t>(magnitude);
    do {
        *--at = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (total < 0) *--at = '-';
    return std::string(at, end);
}

std::optional<int> parseInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace listora
