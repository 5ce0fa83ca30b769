#include "platform/collation.h"

#include <stdexcept>
#include <unicode/ucol.h>
#include <unicode/uloc.h>

namespace listora {

Collator::Collator(CodePage cp) : converter_(cp) {
    // ICU's default locale follows LANG and LC_ALL. Without one it is
    // en_US_POSIX, whose order is by code point with capitals first; the
    // root order is the sensible one there.
    const std::string_view locale = uloc_getDefault();
    const bool posix = locale.find("POSIX") != std::string_view::npos || locale == "c";
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open(posix ? "" : nullptr, &status);
    if (U_FAILURE(status) || !collator_) throw std::runtime_error("ICU collator unavailable");
    ucol_setStrength(collator_, UCOL_SECONDARY);  // case differences are tertiary: ignored
}

Collator::~Collator() { ucol_close(collator_); }

std::string Collator::sortKey(std::string_view text) const {
    std::string key;
    appendSortKey(text, key);
    return key;
}

void Collator::appendSortKey(std::string_view text, std::string& out) const {
    const std::u16string_view wide = converter_.convert(text);
    const auto* chars = reinterpret_cast<const UChar*>(wide.data());
    const auto length = static_cast<int32_t>(wide.size());
    const std::size_t start = out.size();
    out.resize(start + wide.size() * 3 + 16);
    int32_t needed = ucol_getSortKey(collator_, chars, length, reinterpret_cast<uint8_t*>(out.data() + start),
                                     static_cast<int32_t>(out.size() - start));
    if (static_cast<std::size_t>(needed) > out.size() - start) {
        out.resize(start + static_cast<std::size_t>(needed));
        needed = ucol_getSortKey(collator_, chars, length, reinterpret_cast<uint8_t*>(out.data() + start), needed);
    }
    out.resize(start + (needed > 0 ? static_cast<std::size_t>(needed - 1) : 0));  // without the closing zero
}

int Collator::compare(std::string_view a, std::string_view b) const {
    const std::u16string wa(converter_.convert(a));
    const std::u16string wb(converter_.convert(b));
    const UCollationResult result =
        ucol_strcoll(collator_, reinterpret_cast<const UChar*>(wa.data()), static_cast<int32_t>(wa.size()),
                     reinterpret_cast<const UChar*>(wb.data()), static_cast<int32_t>(wb.size()));
    return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

}  // namespace listora
