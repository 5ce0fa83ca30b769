#include "core/collation/collation.h"

#include "core/collation/key_table/collation_table.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <unicode/ucol.h>
#include <unicode/uloc.h>

namespace listora {

namespace {

// ICU's default locale follows LANG and LC_ALL. Without one it is
// en_US_POSIX, whose order is by code point with capitals first; the root
// order is the sensible one there.
std::string userLocale() {
    const std::string_view locale = uloc_getDefault();
    const bool posix = locale.find("POSIX") != std::string_view::npos || locale == "c";
    return posix ? std::string() : std::string(locale);
}

bool plainKeysAsked() {
    const char* asked = std::getenv("LISTORA_PLAIN_COLLATION_KEYS");
    return asked && *asked && std::string_view(asked) != "0";
}

}  // namespace

Collator::Collator(CodePage cp) : Collator(cp, userLocale()) {}

Collator::Collator(CodePage cp, std::string locale, KeySource keys)
    : cp_(cp), locale_(std::move(locale)), converter_(cp) {
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open(locale_.c_str(), &status);
    if (U_FAILURE(status) || !collator_) throw std::runtime_error("ICU collator unavailable");
    ucol_setStrength(collator_, UCOL_SECONDARY);  // case differences are tertiary: ignored
    if (keys == KeySource::Table && !plainKeysAsked()) table_ = CollationTable::of(locale_, collator_);
}

Collator::~Collator() { ucol_close(collator_); }

std::string Collator::sortKey(std::string_view text) const {
    std::string key(text.size() * 3 + 16, '\0');
    std::size_t length = writeSortKey(text, key.data(), key.size());
    if (length >= key.size()) {
        key.resize(length);
        length = writeSortKey(text, key.data(), key.size());
    }
    key.resize(length);
    return key;
}

std::size_t Collator::writeSortKey(std::string_view text, char* out, std::size_t capacity) const {
    // A text the table cannot answer for gets ICU's key, from its UTF-16.
    if (!table_) return writeIcuSortKey(converter_.convert(text), out, capacity);
    if (cp_ == CodePage::Utf8) {
        if (const std::size_t length = table_->writeUtf8SortKey(text, out, capacity);
            length != CollationTable::kNotHere)
            return length;
        return writeIcuSortKey(converter_.convert(text), out, capacity);
    }
    const std::u16string_view wide = converter_.convert(text);
    if (const std::size_t length = table_->writeSortKey(wide, out, capacity); length != CollationTable::kNotHere)
        return length;
    return writeIcuSortKey(wide, out, capacity);
}

Collator::KeyStart Collator::keyStart(std::string_view text) const {
    return cp_ == CodePage::Utf8 && table_ ? table_->startOf(text) : KeyStart{};
}

std::size_t Collator::writeSortKey(const KeyStart& start, std::string_view text, char* out,
                                   std::size_t capacity) const {
    if (start.text.empty()) return writeSortKey(text, out, capacity);
    if (const std::size_t length = table_->writeUtf8SortKey(start, text.substr(start.text.size()), out, capacity);
        length != CollationTable::kNotHere)
        return length;
    return writeIcuSortKey(converter_.convert(text), out, capacity);
}

std::size_t Collator::writeIcuSortKey(std::u16string_view text, char* out, std::size_t capacity) const {
    // ICU counts the closing zero in the length it gives.
    const int32_t needed = ucol_getSortKey(collator_, reinterpret_cast<const UChar*>(text.data()),
                                           static_cast<int32_t>(text.size()), reinterpret_cast<uint8_t*>(out),
                                           static_cast<int32_t>(std::min<std::size_t>(capacity, INT32_MAX)));
    if (needed <= 0) return 0;
    const auto length = static_cast<std::size_t>(needed);
    return length > capacity ? length : length - 1;
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
