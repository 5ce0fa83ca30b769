#include "platform/collation.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <stdexcept>

namespace listora {

Collator::Collator(CodePage cp) : cp_(cp) {
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
    const std::u16string wide = codePageToUtf16(text, cp_);
    const auto* chars = reinterpret_cast<const UChar*>(wide.data());
    const auto length = static_cast<int32_t>(wide.size());
    std::string key(wide.size() * 2 + 16, '\0');
    int32_t needed = ucol_getSortKey(collator_, chars, length, reinterpret_cast<uint8_t*>(key.data()),
                                     static_cast<int32_t>(key.size()));
    if (needed > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<std::size_t>(needed));
        needed = ucol_getSortKey(collator_, chars, length, reinterpret_cast<uint8_t*>(key.data()), needed);
    }
    key.resize(needed > 0 ? static_cast<std::size_t>(needed - 1) : 0);  // drop the terminating zero
    return key;
}

int Collator::compare(std::string_view a, std::string_view b) const {
    const std::u16string wa = codePageToUtf16(a, cp_);
    const std::u16string wb = codePageToUtf16(b, cp_);
    const UCollationResult result =
        ucol_strcoll(collator_, reinterpret_cast<const UChar*>(wa.data()), static_cast<int32_t>(wa.size()),
                     reinterpret_cast<const UChar*>(wb.data()), static_cast<int32_t>(wb.size()));
    return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

}  // namespace listora
