#include "core/collation/key_table/collation_table.h"

#include "core/collation/collation.h"

#include <gtest/gtest.h>
#include <random>
#include <unicode/ucol.h>
#include <unicode/ustring.h>

namespace listora {
namespace {

// A collator as the program opens one.
struct IcuCollator {
    explicit IcuCollator(const char* locale) {
        UErrorCode status = U_ZERO_ERROR;
        collator = ucol_open(locale, &status);
        ucol_setStrength(collator, UCOL_SECONDARY);
    }
    ~IcuCollator() { ucol_close(collator); }
    std::string key(std::u16string_view text) const {
        std::string key(text.size() * 8 + 16, '\0');
        const int32_t length =
            ucol_getSortKey(collator, reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                            reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
        key.resize(static_cast<std::size_t>(length) - 1);
        return key;
    }
    UCollator* collator;
};

std::string answer(std::string key, std::size_t length) {
    if (length == CollationTable::kNotHere) return "(ICU's)";
    key.resize(length);
    return key;
}

// The table's key for the text, which its UTF-8 must get too.
std::string tableKey(const CollationTable& table, std::u16string_view text) {
    std::string key(text.size() * 8 + 16, '\0');
    const std::string fromUtf16 = answer(key, table.writeSortKey(text, key.data(), key.size()));
    std::string utf8(text.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &length, reinterpret_cast<const UChar*>(text.data()),
                static_cast<int32_t>(text.size()), &status);
    if (U_SUCCESS(status)) {  // not for half a surrogate pair
        utf8.resize(static_cast<std::size_t>(length));
        EXPECT_EQ(answer(key, table.writeUtf8SortKey(utf8, key.data(), key.size())), fromUtf16);
    }
    return fromUtf16;
}

// Units of music folders' names: ASCII, Latin letters with marks, kana
// plain and voiced, small, long and half width, kanji, full width forms and
// punctuation; and some the table must leave to ICU: a combining mark, the
// middle dot that changes after "l", a Thai vowel written first, a Hangul
// syllable and half of a surrogate pair.
const std::u16string kUnits =
    std::u16string(
        u" !\"#$%&'()*+,-./0123456789:;<=>?@ABCXYZ[\\]^_`abcxyz{|}~\u00A0\u00C9\u00E9\u00FC\u00DF\u00E6\u00F8"
        u"\u3042\u304B\u304C\u3071\u3063\u3083\u309D\u30A2\u30AB\u30AC\u30D1\u30C3\u30E3\u30FC\u30FB\u30F4"
        u"\uFF71\uFF76\uFF9E\uFF70\u6771\u4EAC\u6B4C\u96E8\u3005\u3000\u300C\u300D\uFF21\uFF41\uFF10"
        u"\u0301\u00B7l\u0E40\u0E01\uAC00") +
    char16_t{0xD83C};

std::u16string randomText(std::mt19937& dice) {
    std::u16string text;
    for (unsigned length = dice() % 24; length > 0; --length) {
        const char16_t unit = kUnits[dice() % kUnits.size()];
        // Runs of one unit, some longer than one compressed byte holds.
        text.append(dice() % 8 == 0 ? 1 + dice() % 40 : 1, unit);
    }
    return text;
}

TEST(CollationTable, WritesIcusOwnKeysAndLeavesTheRestToIcu) {
    // The root order, and Japanese, whose order reorders scripts and gives
    // the long mark and the iteration marks a context; Greek and Chinese,
    // whose reorderings move only part of a lead byte's primaries.
    for (const char* locale : {"", "ja", "de", "sv", "el", "zh", "und@colReorder=Grek"}) {
        const IcuCollator icu(locale);
        const CollationTable table(icu.collator);
        std::mt19937 dice(7);
        int answered = 0;
        for (int i = 0; i < 20000; ++i) {
            const std::u16string text = randomText(dice);
            const std::string key = tableKey(table, text);
            if (key == "(ICU's)") continue;
            ++answered;
            ASSERT_EQ(key, icu.key(text)) << "locale '" << locale << "', text " << i;
        }
        EXPECT_GT(answered, 3000) << locale;

        // What a music library is mostly made of is answered by the table,
        // in the orders of the program's users.
        if (std::string_view(locale) == "" || std::string_view(locale) == "ja") {
            for (const std::u16string_view text : {u"/home/user/Music/Artist - Song Title (Live).mp3", u"東京の歌",
                                                   u"ガッツ", u"ﾗﾗﾊﾞｲ", u"Café Über", u""})
                EXPECT_EQ(tableKey(table, text), icu.key(text)) << locale;
        }
    }
    const IcuCollator japanese("ja");
    EXPECT_EQ(tableKey(CollationTable(japanese.collator), u"メロディー"), "(ICU's)");
    // Greek letters in Greek order, and a Vietnamese letter asked for
    // after another unit of its block.
    const IcuCollator greek("el");
    EXPECT_EQ(tableKey(CollationTable(greek.collator), u"αβγ"), greek.key(u"αβγ"));
    const IcuCollator root("");
    const CollationTable rootTable(root.collator);
    EXPECT_EQ(tableKey(rootTable, u"Ḁ"), root.key(u"Ḁ"));
    EXPECT_EQ(tableKey(rootTable, u"ạ"), root.key(u"ạ"));
}

TEST(CollationTable, LeavesMalformedUtf8ToIcu) {
    const IcuCollator icu("");
    const CollationTable table(icu.collator);
    char key[64];
    for (const std::string_view text :
         {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF0\x9F\x8E\xB5", "a\xE3\x81", "\x80", "\xFF"})
        EXPECT_EQ(table.writeUtf8SortKey(text, key, sizeof key), CollationTable::kNotHere) << text.size();
}

TEST(CollationTable, AShortBufferGetsTheRoomTheKeyNeeds) {
    const IcuCollator icu("");
    const CollationTable table(icu.collator);
    const std::u16string text = u"Artist - Song";
    const std::string whole = icu.key(text);
    std::string buffer(whole.size(), '\0');
    EXPECT_EQ(table.writeSortKey(text, buffer.data(), buffer.size()), whole.size() + 1);
    buffer.resize(whole.size() + 1);
    EXPECT_EQ(table.writeSortKey(text, buffer.data(), buffer.size()), whole.size());
    EXPECT_EQ(buffer.substr(0, whole.size()), whole);
}

std::string utf8Of(std::u16string_view text) {
    std::string utf8(text.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &length, reinterpret_cast<const UChar*>(text.data()),
                static_cast<int32_t>(text.size()), &status);
    utf8.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return utf8;
}

std::string keyAfter(const Collator& collator, const Collator::KeyStart& start, std::string_view text) {
    std::string key(text.size() * 8 + 16, '\0');
    key.resize(collator.writeSortKey(start, text, key.data(), key.size()));
    return key;
}

// Keys that carry on from a shared start are the keys of the whole texts,
// byte for byte: for a start cut anywhere, in the middle of a character or
// before a unit that takes the unit before it as its context (the long mark
// after kana), and for starts too long for the writer to keep.
TEST(CollationTable, KeysCarryOnFromASharedStartByteForByte) {
    for (const char* locale : {"", "ja"}) {
        const Collator collator(CodePage::Utf8, locale);
        std::mt19937 dice(3);
        int carried = 0;
        for (int i = 0; i < 5000; ++i) {
            const std::string shared = utf8Of(randomText(dice));
            const std::string asked = shared.substr(0, dice() % (shared.size() + 1));
            const Collator::KeyStart start = collator.keyStart(asked);
            ASSERT_TRUE(asked.starts_with(start.text));
            carried += !start.text.empty();
            for (int j = 0; j < 4; ++j) {
                const std::string text = shared + utf8Of(randomText(dice));
                ASSERT_EQ(keyAfter(collator, start, text), collator.sortKey(text))
                    << "locale '" << locale << "', start '" << start.text << "', text '" << text << "'";
            }
        }
        EXPECT_GT(carried, 1000) << locale;

        const std::string folder = "/home/user/Music/";
        EXPECT_EQ(collator.keyStart(folder).text, folder);
        for (const std::string& text : {folder + "Artist/Song.mp3", folder + "カーテン", folder, folder + "\xE3\x81"})
            EXPECT_EQ(keyAfter(collator, collator.keyStart(folder), text), collator.sortKey(text)) << text;
        std::string marks;
        for (int n = 0; n < 600; ++n) marks += "\xC3\xA9";  // é: 600 secondaries that are not common
        const Collator::KeyStart long_ = collator.keyStart(marks);
        EXPECT_EQ(keyAfter(collator, long_, marks + "x"), collator.sortKey(marks + "x"));
    }
    // In a code page the table does not read, a start stands for nothing.
    const Collator cp932(CodePage::Cp932, "ja");
    EXPECT_EQ(cp932.keyStart("/home/user/Music/").text, "");
}

TEST(CollationTable, CollatorsKeysStillOrderAsTheyCompare) {
    const Collator collator(CodePage::Utf8, "ja");
    const std::vector<std::string> texts = {"abc",      "ABC",  "がっこう", "かっこう", "ｶｯｺｳ",
                                            "カーテン", "東京", "",         "Zebra"};
    for (const std::string& a : texts) {
        for (const std::string& b : texts) {
            const int keys = collator.sortKey(a).compare(collator.sortKey(b));
            EXPECT_EQ((keys > 0) - (keys < 0), collator.compare(a, b)) << a << " / " << b;
        }
    }
}

}  // namespace
}  // namespace listora
