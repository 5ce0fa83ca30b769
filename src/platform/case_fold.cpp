#include "platform/case_fold.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace listora {
namespace {

// Kana, CJK ideographs and the other scripts from U+3000 up to Cyrillic
// Extended-B have no case; skipping ICU for them keeps Japanese titles fast.
bool hasNoCase(UChar32 c) { return c >= 0x3000 && c < 0xA640; }

void foldUtf8(std::string_view text, std::string& out) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        const uint8_t byte = bytes[i];
        if (byte < 0x80) {
            out += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
            ++i;
            continue;
        }
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        if (c < 0 || hasNoCase(c)) {
            out.append(text.data() + start, static_cast<std::size_t>(i - start));
            continue;
        }
        const UChar32 folded = u_foldCase(c, U_FOLD_CASE_DEFAULT);
        if (folded == c) {
            out.append(text.data() + start, static_cast<std::size_t>(i - start));
            continue;
        }
        char encoded[U8_MAX_LENGTH];
        int32_t size = 0;
        U8_APPEND_UNSAFE(encoded, size, folded);
        out.append(encoded, static_cast<std::size_t>(size));
    }
}

}  // namespace

std::string& foldCase(std::string_view text, CodePage cp, std::string& out) {
    if (cp == CodePage::Utf8) {
        out.clear();
        foldUtf8(text, out);
    } else {
        out.assign(text);
        foldAsciiCaseInPlace(out, cp);
    }
    return out;
}

}  // namespace listora
