#include "core/collation/key_table/collation_table.h"

#include <algorithm>
#include <map>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uset.h>
#include <unicode/ustring.h>

namespace listora {
namespace {

// Bytes and weights of ICU's key format that the writer below follows.
constexpr unsigned kLevelSeparator = 0x01;
constexpr unsigned kMergeSeparatorByte = 0x02;
constexpr unsigned kPrimaryCompressionLow = 0x03;
constexpr unsigned kPrimaryCompressionHigh = 0xFF;
constexpr std::uint32_t kCommonSecondary = 0x0500;
// Runs of common secondaries are written as one byte, up to 33 a byte.
constexpr unsigned kSecondaryCommonLow = 0x05;
constexpr unsigned kSecondaryCommonMiddle = 0x25;
constexpr unsigned kSecondaryCommonHigh = 0x45;
constexpr unsigned kSecondaryCommonMaxCount = 0x21;

constexpr std::size_t kMostElements = 8;  // a unit with more goes to ICU

// ICU's element iterator gives each element in 32-bit halves: the primary's
// top half and the secondary's high byte, then, when needed, a continuation
// with the primary's low half and the secondary's low byte.
bool isContinuation(std::uint32_t half) { return (half & 0xC0) == 0xC0; }

bool isConjoiningJamo(char16_t unit) {
    return (unit >= 0x1100 && unit <= 0x11FF) || (unit >= 0xA960 && unit <= 0xA97F) ||
           (unit >= 0xD7B0 && unit <= 0xD7FF);
}

// Calls found(string) for every string of the set.
template <typename Found>
void forEachString(const USet* set, const Found& found) {
    std::u16string text(64, u'\0');
    for (int32_t item = 0; item < uset_getItemCount(set); ++item) {
        UChar32 start = 0;
        UChar32 end = 0;
        UErrorCode status = U_ZERO_ERROR;
        int32_t length = uset_getItem(set, item, &start, &end, reinterpret_cast<UChar*>(text.data()),
                                      static_cast<int32_t>(text.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            text.resize(static_cast<std::size_t>(length));
            status = U_ZERO_ERROR;
            length = uset_getItem(set, item, &start, &end, reinterpret_cast<UChar*>(text.data()),
                                  static_cast<int32_t>(text.size()), &status);
        }
        if (U_SUCCESS(status) && length > 0) found(std::u16string_view(text.data(), static_cast<std::size_t>(length)));
    }
}

}  // namespace

// Writes a key from elements the way ICU writes one at secondary strength:
// primaries with runs of one compressible lead byte written once, a level
// separator, then secondaries with runs of the common weight as one byte.
class CollationTable::KeyWriter {
public:
    KeyWriter(char* out, std::size_t capacity) : out_(out), capacity_(capacity) {}
    // Carries on from the writer that gave `start`.
    KeyWriter(const Start& start, char* out, std::size_t capacity)
        : out_(out), capacity_(capacity), previous_(start.previous), commons_(start.commons) {
        for (const char byte : start.primaries) put(static_cast<unsigned char>(byte));
        for (const char byte : start.secondaries) putSecondary(static_cast<unsigned char>(byte));
    }
    // The state so far, for keys of texts that begin with `text`.
    Start save(std::string_view text) const {
        return {std::string(text), std::string(out_, std::min(length_, capacity_)),
                std::string(secondaries_.data(), secondaryLength_), previous_, commons_};
    }
    bool fits() const { return length_ <= capacity_ && !overflowed_; }

    void add(const Weight& weight) {
        const std::uint32_t p = weight.primary;
        if (p > 1) {
            const std::uint32_t lead = p >> 24;
            if (!weight.compressible || lead != previous_ >> 24) {
                if (previous_ != 0) {
                    if (p < previous_) {
                        if (lead > kMergeSeparatorByte) put(kPrimaryCompressionLow);
                    } else {
                        put(kPrimaryCompressionHigh);
                    }
                }
                put(lead);
                previous_ = weight.compressible ? p : 0;
            }
            if (const unsigned second = (p >> 16) & 0xFF; second != 0) {
                put(second);
                if (const unsigned third = (p >> 8) & 0xFF; third != 0) {
                    put(third);
                    if (const unsigned fourth = p & 0xFF; fourth != 0) put(fourth);
                }
            }
        }
        const std::uint32_t s = weight.secondary;
        if (s == 0) return;
        if (s == kCommonSecondary) {
            ++commons_;
            return;
        }
        endCommons(s < kCommonSecondary);
        putSecondary(s >> 8);
        if ((s & 0xFF) != 0) putSecondary(s & 0xFF);
    }

    // Writes the characters from `byte` on while each is one in `plain`
    // (an ASCII character whose primary is one byte that is never
    // compressed, and whose secondary is the common one) and they fit;
    // gives where it stopped. The state is kept in locals for the run, as
    // every byte written could otherwise be the writer's own.
    const unsigned char* addPlain(const unsigned char* byte, const unsigned char* end,
                                  const std::array<std::uint8_t, 128>& plain) {
        if (previous_ != 0 || length_ >= capacity_) return byte;
        const unsigned char* const stop = byte + std::min<std::size_t>(end - byte, capacity_ - length_);
        char* const out = out_;
        std::size_t length = length_;
        const unsigned char* const start = byte;
        while (byte < stop && *byte < 0x80 && plain[*byte] != 0) out[length++] = static_cast<char>(plain[*byte++]);
        length_ = length;
        commons_ += static_cast<unsigned>(byte - start);
        return byte;
    }

    // The key's length, or the room it and a closing zero need when they
    // do not fit; kNotHere when the secondaries outgrew their buffer.
    std::size_t finish() {
        endCommons(true);  // the level ends below any common weight
        if (overflowed_) return kNotHere;
        put(kLevelSeparator);
        for (std::size_t i = 0; i < secondaryLength_; ++i) put(static_cast<unsigned char>(secondaries_[i]));
        if (length_ >= capacity_) return length_ + 1;
        out_[length_] = '\0';
        return length_;
    }

private:
    void put(unsigned byte) {
        if (length_ < capacity_) out_[length_] = static_cast<char>(byte);
        ++length_;
    }
    void putSecondary(unsigned byte) {
        if (secondaryLength_ == secondaries_.size()) {
            overflowed_ = true;
            return;
        }
        secondaries_[secondaryLength_++] = static_cast<char>(byte);
    }
    void endCommons(bool beforeLower) {
        if (commons_ == 0) return;
        --commons_;
        while (commons_ >= kSecondaryCommonMaxCount) {
            putSecondary(kSecondaryCommonMiddle);
            commons_ -= kSecondaryCommonMaxCount;
        }
        putSecondary(beforeLower ? kSecondaryCommonLow + commons_ : kSecondaryCommonHigh - commons_);
        commons_ = 0;
    }

    char* out_;
    std::size_t capacity_;
    std::size_t length_ = 0;
    std::uint32_t previous_ = 0;  // the last primary, while its lead byte is compressed
    unsigned commons_ = 0;
    std::array<char, 512> secondaries_;
    std::size_t secondaryLength_ = 0;
    bool overflowed_ = false;
};

std::shared_ptr<const CollationTable> CollationTable::of(const std::string& locale, const UCollator* collator) {
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<const CollationTable>> tables;
    const std::lock_guard lock(mutex);
    std::shared_ptr<const CollationTable>& table = tables[locale];
    if (!table) table = std::make_shared<const CollationTable>(collator);
    return table;
}

CollationTable::CollationTable(const UCollator* collator) {
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_clone(collator, &status);
    if (U_FAILURE(status) || !collator_) return;
    const auto is = [&](UColAttribute attribute, UColAttributeValue value) {
        return ucol_getAttribute(collator_, attribute, &status) == value;
    };
    usable_ = ucol_getStrength(collator_) == UCOL_SECONDARY && is(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE) &&
              is(UCOL_FRENCH_COLLATION, UCOL_OFF) && is(UCOL_CASE_LEVEL, UCOL_OFF) &&
              is(UCOL_NUMERIC_COLLATION, UCOL_OFF) && U_SUCCESS(status);
    reordered_ = ucol_getReorderCodes(collator_, nullptr, 0, &status) > 0;
}

// Units whose elements depend on the units around them: those that start a
// contraction or take a context before them, those that canonical
// reordering can move before the unit ahead of them, and those ICU treats
// specially. A text of the others is in the canonical form ICU expects (a
// unit that decomposes ends in a mark, but the next unit begins with none),
// so its elements are its units' one after the other.
std::vector<bool> CollationTable::excludedUnits() const {
    std::vector<bool> excluded(0x10000, false);
    for (char32_t code = 0; code < 0x10000; ++code) {
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        excluded[code] = surrogate || code == 0xFFFE || code == 0xFFFF ||
                         u_getIntPropertyValue(static_cast<UChar32>(code), UCHAR_LEAD_CANONICAL_COMBINING_CLASS) != 0 ||
                         u_hasBinaryProperty(static_cast<UChar32>(code), UCHAR_LOGICAL_ORDER_EXCEPTION);
    }
    USet* contractions = uset_openEmpty();
    USet* withContexts = uset_openEmpty();
    UErrorCode status = U_ZERO_ERROR;
    ucol_getContractionsAndExpansions(collator_, contractions, nullptr, false, &status);
    ucol_getContractionsAndExpansions(collator_, withContexts, nullptr, true, &status);
    if (U_FAILURE(status)) excluded.assign(excluded.size(), true);
    bool jamoContractions = false;
    forEachString(contractions, [&](std::u16string_view text) {
        excluded[text[0]] = true;
        jamoContractions = jamoContractions || isConjoiningJamo(text[0]);
    });
    // A string with a context is the context and then the unit it changes.
    forEachString(withContexts, [&](std::u16string_view text) {
        if (uset_containsString(contractions, reinterpret_cast<const UChar*>(text.data()),
                                static_cast<int32_t>(text.size())))
            return;
        for (std::size_t i = 1; i < text.size(); ++i) excluded[text[i]] = true;
    });
    uset_close(contractions);
    uset_close(withContexts);
    if (jamoContractions)  // a syllable's elements are its jamo's
        for (char32_t code = 0xAC00; code <= 0xD7A3; ++code) excluded[code] = true;
    return excluded;
}

CollationTable::~CollationTable() {
    if (collator_) ucol_close(collator_);
}

inline void CollationTable::addUnit(const Unit& unit, KeyWriter& writer) const {
    if (unit.count == 1) [[likely]] {
        writer.add(unit.weight);
    } else {
        for (std::size_t i = 0; i < unit.count; ++i) writer.add(weights_[unit.first + i]);
    }
}

// Adds the elements of one unit; false when the table does not answer for it.
inline bool CollationTable::add(char16_t code, KeyWriter& writer) const {
    const Unit& unit = units_[code];
    if (!unit.inTable) return false;
    addUnit(unit, writer);
    return true;
}

bool CollationTable::answers() const {
    if (!usable_) return false;
    std::call_once(built_, [this] { build(); });
    return agrees_;
}

std::size_t CollationTable::writeSortKey(std::u16string_view text, char* out, std::size_t capacity) const {
    return answers() ? keyOf(text, out, capacity) : kNotHere;
}

std::size_t CollationTable::keyOf(std::u16string_view text, char* out, std::size_t capacity) const {
    KeyWriter writer(out, capacity);
    for (const char16_t code : text)
        if (!add(code, writer)) return kNotHere;
    return writer.finish();
}

// Adds the elements of a UTF-8 text's characters; gives how many of its
// bytes were added, less than all at the first character the table does
// not answer for.
std::size_t CollationTable::addUtf8(std::string_view text, KeyWriter& writer) const {
    const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = begin + text.size();
    const auto* byte = begin;
    // Characters of up to three bytes, each well formed and in its
    // shortest form; anything else is ICU's to judge.
    const auto trail = [&](std::size_t at) { return byte + at < end && (byte[at] & 0xC0) == 0x80; };
    while (byte < end) {
        byte = writer.addPlain(byte, end, plainAscii_);
        if (byte == end) break;
        char32_t code = *byte;
        std::size_t length = 1;
        if (code >= 0x80) {
            if (code >= 0xC2 && code < 0xE0 && trail(1)) {
                code = (code & 0x1F) << 6 | (byte[1] & 0x3F);
                length = 2;
            } else if (code >= 0xE0 && code < 0xF0 && trail(1) && trail(2)) {
                code = (code & 0x0F) << 12 | (byte[1] & 0x3F) << 6 | (byte[2] & 0x3F);
                if (code < 0x800) break;
                length = 3;
            } else {
                break;
            }
        }
        if (!add(static_cast<char16_t>(code), writer)) break;  // surrogates are never in the table
        byte += length;
    }
    return static_cast<std::size_t>(byte - begin);
}

std::size_t CollationTable::writeUtf8SortKey(std::string_view text, char* out, std::size_t capacity) const {
    return answers() ? utf8KeyOf(text, out, capacity) : kNotHere;
}

std::size_t CollationTable::utf8KeyOf(std::string_view text, char* out, std::size_t capacity) const {
    KeyWriter writer(out, capacity);
    return addUtf8(text, writer) == text.size() ? writer.finish() : kNotHere;
}

CollationTable::Start CollationTable::startOf(std::string_view text) const {
    if (!answers()) return {};
    // A start holds only what the writer keeps of a key's beginning: its
    // primaries, and secondaries short of the writer's buffer.
    std::string room(4 * text.size() + 16, '\0');
    KeyWriter writer(room.data(), room.size());
    const std::size_t answered = addUtf8(text, writer);
    if (answered == text.size() && writer.fits()) return writer.save(text);
    return startOf(text.substr(0, answered < text.size() ? answered : text.size() / 2));
}

std::size_t CollationTable::writeUtf8SortKey(const Start& start, std::string_view rest, char* out,
                                             std::size_t capacity) const {
    if (!answers()) return kNotHere;
    KeyWriter writer(start, out, capacity);
    return addUtf8(rest, writer) == rest.size() ? writer.finish() : kNotHere;
}

std::string CollationTable::icuKey(std::u16string_view text) const {
    std::string key(64, '\0');
    for (;;) {
        const int32_t needed =
            ucol_getSortKey(collator_, reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                            reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
        if (needed <= static_cast<int32_t>(key.size())) {
            key.resize(needed > 0 ? static_cast<std::size_t>(needed) - 1 : 0);
            return key;
        }
        key.resize(static_cast<std::size_t>(needed));
    }
}

std::string CollationTable::tableKey(const Unit& unit, std::size_t repeats) const {
    std::string key(64 * repeats, '\0');
    KeyWriter writer(key.data(), key.size());
    for (std::size_t r = 0; r < repeats; ++r) addUnit(unit, writer);
    const std::size_t length = writer.finish();
    key.resize(length < key.size() ? length : 0);
    return key;
}

// Each unit's elements, as ICU's element iterator gives them.
std::vector<std::vector<CollationTable::Raw>> CollationTable::rawElements(const std::vector<bool>& excluded) const {
    // A unit left out, or whose elements cannot be trusted, is marked by
    // more elements than any unit is taken with.
    const std::vector<Raw> untrusted(kMostElements + 1, Raw{});
    std::vector<std::vector<Raw>> raws(0x10000, untrusted);
    UErrorCode status = U_ZERO_ERROR;
    UCollationElements* elements = ucol_openElements(collator_, nullptr, 0, &status);
    if (U_FAILURE(status)) return raws;
    for (char32_t unit = 0; unit < 0x10000; ++unit) {
        if (excluded[unit]) continue;
        const auto code = static_cast<char16_t>(unit);
        ucol_setText(elements, reinterpret_cast<const UChar*>(&code), 1, &status);
        std::vector<Raw>& raw = raws[unit];
        raw.clear();
        bool whole = true;
        for (int32_t half; U_SUCCESS(status) && (half = ucol_next(elements, &status)) != UCOL_NULLORDER;) {
            const auto bits = static_cast<std::uint32_t>(half);
            if (!isContinuation(bits)) {
                raw.push_back({bits & 0xFFFF0000u, static_cast<std::uint16_t>(bits & 0xFF00)});
            } else if (!raw.empty()) {
                raw.back().primary |= bits >> 16;
                raw.back().secondary |= static_cast<std::uint16_t>((bits >> 8) & 0xFF);
            } else {
                whole = false;
            }
        }
        if (!whole || U_FAILURE(status)) raw = untrusted;
        status = U_ZERO_ERROR;
    }
    ucol_closeElements(elements);
    return raws;
}

// Units of one element teach how their primaries are reordered and which
// lead bytes' runs are compressed.
void CollationTable::learnLeads(const std::vector<std::vector<Raw>>& raws) const {
    reorderedLead_.assign(0x10000, 0);
    for (char32_t unit = 0; unit < 0x10000; ++unit) {
        if (raws[unit].size() != 1 || raws[unit][0].primary <= 1) continue;
        const Raw raw = raws[unit][0];
        const std::uint32_t lead = raw.primary >> 24;
        std::uint16_t& reordered = reorderedLead_[raw.primary >> 16];
        const auto code = static_cast<char16_t>(unit);
        if (!reordered_) {
            reordered = static_cast<std::uint16_t>(lead);
        } else {
            const std::string alone = icuKey(std::u16string_view(&code, 1));
            if (alone.empty()) continue;
            const auto seen = static_cast<unsigned char>(alone[0]);
            if (reordered == 0)
                reordered = seen;
            else if (reordered != seen)
                reordered = 0x100;
        }
        if (compressible_[lead] != 0 || reordered == 0x100) continue;
        const char16_t twice[2] = {code, code};
        const std::string icuTwice = icuKey(std::u16string_view(twice, 2));
        for (const std::uint8_t guess : {1, 2}) {
            Unit probe;
            probe.count = 1;
            probe.weight = {static_cast<std::uint32_t>(reordered) << 24 | (raw.primary & 0xFFFFFF), raw.secondary,
                            guess == 1};
            if (tableKey(probe, 2) == icuTwice) {
                compressible_[lead] = guess;
                break;
            }
        }
    }
}

// Texts whose keys depend on how the units' elements are written together,
// which the check of each unit alone and twice cannot see: long runs of
// common and of other secondaries (compressed in runs of a bounded length),
// primaries whose lead bytes change from unit to unit and back, scripts
// mixed (reordered in some locales), widths and cases mixed, and texts as
// long as folder paths.
const std::u16string_view kCheckTexts[] = {
    u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\u00E9",
    u"\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9"
    u"\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9e",
    u"eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee\u00E8eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee",
    u"\u00C0\u00C9\u00CE\u00D5\u00DC\u00E0\u00E9\u00EE\u00F5\u00FC\u00DF\u00E6\u00F8 R\u00E9sum\u00E9 Caf\u00E9",
    u"Artist - 01 Track (Live) [2001] {bonus} #1 & 2, 3; 4: 5! 6? 'x' \"y\" ~z~ @a +b =c %d",
    u"\u6771\u4EAC\u3068\u3046\u304D\u3087\u3046\u30C8\u30A6\u30AD\u30E7\u30A6\uFF84\uFF73\uFF77\uFF6E\uFF73 Tokyo",
    u"a\u3042b\u3044c\u3046\u6771d\u4EACe\uFF21f\uFF41g\uFF10h0i\u30A2j\u30AB\u30AC\u30D1\u3071\u3063\u3083",
    u"\uFF21\uFF22\uFF23abcABC\uFF71\uFF72\uFF73\u30A2\u30A4\u30A6\u3042\u3044\u3046\u3000\u300C\u300D",
    u"/home/user/Music/Various Artists/2001 - The Best Of/Disc 1/01 - \u00C9t\u00E9 \u6771\u4EAC.mp3",
    u"\u0391\u03B2\u03B3 \u0414\u0436 \u05D0\u05D1 \u0627\u0628 \u0915\u0916 \u4E2D\u6587",
    u"zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz",
    u"\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC\u30FC",
};

// The table's keys of the check texts it answers for, each from UTF-16 and
// from UTF-8, against ICU's own. The table is only used when they agree, so
// an ICU whose key layout differs from the one this table writes (a new
// version, say) gets its own keys everywhere instead of a wrong order.
bool CollationTable::agreesWithIcu() const {
    std::string key;
    for (const std::u16string_view text : kCheckTexts) {
        key.assign(8 * text.size() + 16, '\0');
        std::size_t length = keyOf(text, key.data(), key.size());
        if (length == kNotHere) continue;
        const std::string expected = icuKey(text);
        if (key.compare(0, length, expected) != 0 || length != expected.size()) return false;
        std::string utf8(3 * text.size(), '\0');
        int32_t utf8Length = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &utf8Length,
                    reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()), &status);
        if (U_FAILURE(status)) return false;
        utf8.resize(static_cast<std::size_t>(utf8Length));
        length = utf8KeyOf(utf8, key.data(), key.size());
        if (length != kNotHere && (length != expected.size() || key.compare(0, length, expected) != 0)) return false;
    }
    return true;
}

// Every unit of the Basic Multilingual Plane, once. A unit goes into the
// table only when the table then writes ICU's very keys for the unit alone
// and for the unit twice, so a wrong guess about a lead byte can only leave
// a unit to ICU.
void CollationTable::build() const {
    units_.assign(0x10000, Unit{});
    const std::vector<std::vector<Raw>> raws = rawElements(excludedUnits());
    learnLeads(raws);
    for (char32_t code = 0; code < 0x10000; ++code) {
        const std::vector<Raw>& raw = raws[code];
        if (raw.size() > kMostElements) continue;
        Unit unit;
        unit.count = static_cast<std::uint8_t>(raw.size());
        unit.first = static_cast<std::uint32_t>(weights_.size());
        bool known = true;
        std::vector<Weight> weights;
        for (const Raw& element : raw) {
            Weight weight{element.primary, element.secondary, false};
            if (element.primary > 1) {
                const std::uint32_t lead = element.primary >> 24;
                const std::uint16_t reordered = reorderedLead_[element.primary >> 16];
                known = known && reordered != 0 && reordered != 0x100 && compressible_[lead] != 0;
                weight.primary = static_cast<std::uint32_t>(reordered & 0xFF) << 24 | (element.primary & 0xFFFFFF);
                weight.compressible = compressible_[lead] == 1;
            }
            weights.push_back(weight);
        }
        if (!known) continue;
        if (unit.count == 1) unit.weight = weights[0];
        if (unit.count > 1) weights_.insert(weights_.end(), weights.begin(), weights.end());
        const auto single = static_cast<char16_t>(code);
        const char16_t twice[2] = {single, single};
        unit.inTable = tableKey(unit, 1) == icuKey(std::u16string_view(&single, 1)) &&
                       tableKey(unit, 2) == icuKey(std::u16string_view(twice, 2));
        if (unit.inTable)
            units_[code] = unit;
        else if (unit.count > 1)
            weights_.resize(unit.first);  // a unit left to ICU keeps no weights
    }
    for (char16_t code = 0; code < 0x80; ++code) {
        const Unit& unit = units_[code];
        const Weight& weight = unit.weight;
        if (unit.inTable && unit.count == 1 && weight.primary > 1 && (weight.primary & 0xFFFFFF) == 0 &&
            !weight.compressible && weight.secondary == kCommonSecondary)
            plainAscii_[code] = static_cast<std::uint8_t>(weight.primary >> 24);
    }
    agrees_ = agreesWithIcu();
    ucol_close(collator_);
    collator_ = nullptr;
}

}  // namespace listora
