#include "core/text/case_fold.h"

#include <array>
#include <cstring>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace listora {
namespace {

bool isContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

constexpr auto kLowerAscii = [] {
    std::array<char, 128> table{};
    for (int c = 0; c < 128; ++c) table[c] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    return table;
}();

// Folds UTF-8 into `out`, which has room for the longest result: a folded
// character takes at most half as many bytes again as the original.
char* foldUtf8(std::string_view text, char* out) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t i = 0;
    while (i < length) {
        // Runs of ASCII.
        while (i < length && bytes[i] < 0x80) *out++ = kLowerAscii[bytes[i++]];
        // Runs of kana, CJK ideographs and the rest of U+3000..U+9FFF (lead
        // bytes E3 to E9), which have no case: copied whole, without asking
        // ICU, which keeps Japanese titles fast.
        while (i + 2 < length && bytes[i] >= 0xE3 && bytes[i] <= 0xE9 && isContinuation(bytes[i + 1]) &&
               isContinuation(bytes[i + 2])) {
            std::memcpy(out, bytes + i, 3);
            out += 3;
            i += 3;
        }
        if (i >= length || bytes[i] < 0x80) continue;
        // Full-width A-Z (EF BC A1..BA) fold to full-width a-z (EF BD 81..9A).
        if (i + 2 < length && bytes[i] == 0xEF && bytes[i + 1] == 0xBC && bytes[i + 2] >= 0xA1 &&
            bytes[i + 2] <= 0xBA) {
            *out++ = static_cast<char>(0xEF);
            *out++ = static_cast<char>(0xBD);
            *out++ = static_cast<char>(bytes[i + 2] - 0x20);
            i += 3;
            continue;
        }
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        const UChar32 folded = c < 0 ? c : u_foldCase(c, U_FOLD_CASE_DEFAULT);
        if (folded == c) {  // also a byte that forms no valid character
            std::memcpy(out, bytes + start, static_cast<std::size_t>(i - start));
            out += i - start;
            continue;
        }
        int32_t size = 0;
        uint8_t encoded[U8_MAX_LENGTH];
        U8_APPEND_UNSAFE(encoded, size, folded);
        std::memcpy(out, encoded, static_cast<std::size_t>(size));
        out += size;
    }
    return out;
}

}  // namespace

std::string_view foldCase(std::string_view text, CodePage cp, std::string& buffer) {
    if (cp == CodePage::Cp932) {
        buffer.assign(text);
        foldAsciiCaseInPlace(buffer, cp);
        return buffer;
    }
    const std::size_t room = text.size() + text.size() / 2 + 4;
    if (buffer.size() < room) buffer.resize(room);
    return {buffer.data(), static_cast<std::size_t>(foldUtf8(text, buffer.data()) - buffer.data())};
}

}  // namespace listora
