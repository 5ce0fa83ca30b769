// Catches a sort whose order differs from a plain stable sort by full
// collation: keys cut at the wrong byte, ties broken out of row order,
// buckets or parts merged wrongly, a shared beginning taken too far.
#include "core/playlist/sort/sort_order.h"

#include "core/collation/collation.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace listora {
namespace {

// Pieces whose sort keys share long beginnings or differ only late: kana
// that collate alike (hiragana, katakana, half width), case, texts longer
// than the compared head, and the empty text.
const std::vector<std::string> kPieces = {
    "",
    "a",
    "A",
    "abcdefgh",
    "ABCDEFGH",
    "abcdefghij",
    "abcdefghik",
    "東京の",
    "とうきょう",
    "トウキョウ",
    "ﾄｳｷｮｳ",
    "---",
    " ",
    "1",
    "10",
    "/home/user/Music/",
    "Artist ",
    "artist ",
    "アーティスト",
    "ｱｰﾃｨｽﾄ",
    "é",
    "e",
    "E",
    "ü",
};

// Texts of one column, as the sort reads them.
class Texts : public SortTexts {
public:
    explicit Texts(std::vector<std::string> texts) : texts_(std::move(texts)) {}
    std::size_t size() const override { return texts_.size(); }
    std::string_view text(std::size_t row) const override { return texts_[row]; }
    void prefetch(std::size_t) const override {}

private:
    std::vector<std::string> texts_;
};

// The order a stable sort by full collation gives.
std::vector<std::uint32_t> collatedOrder(const Texts& texts, const Collator& collator) {
    std::vector<std::uint32_t> order(texts.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return collator.compare(texts.text(a), texts.text(b)) < 0;
    });
    return order;
}

std::string mixedText(std::mt19937& dice) {
    std::string text;
    for (unsigned parts = dice() % 5; parts > 0; --parts) text += kPieces[dice() % kPieces.size()];
    return text;
}

// Titles that crowd together: most begin alike and tie well past their
// first sixteen key bytes, a large block is one title in three spellings
// that collate alike, and the rest differ in their first byte, so the
// buckets come out far from even and one holds every row of the block.
std::string crowdedText(std::mt19937& dice) {
    static const std::vector<std::string> spellings = {"Unknown Artist - Track", "UNKNOWN ARTIST - TRACK",
                                                       "unknown artist - track"};
    switch (dice() % 4) {
        case 0:
        case 1:
            return "Artist " + std::to_string(dice() % 50) + " - The Long Shared Title Of Song " +
                   std::to_string(dice() % 300);
        case 2:
            return spellings[dice() % spellings.size()];
        default:
            return std::string(1, static_cast<char>('a' + dice() % 26)) + kPieces[dice() % kPieces.size()];
    }
}

// Every shape at sizes that take one part and one bucket, several parts
// (one for each processor) and many buckets; each also under one long
// shared folder, as a column of full paths is.
TEST(SortOrder, OrdersAsAStableSortByFullCollationAtEverySizeAndShape) {
    const Collator collator(CodePage::Utf8);
    const struct {
        const char* shape;
        std::string (*make)(std::mt19937&);
        std::size_t count;
    } cases[] = {
        {"mixed", mixedText, 3000},
        {"mixed", mixedText, 40000},
        {"crowded", crowdedText, 80000},
    };
    unsigned seed = 1;
    for (const auto& c : cases) {
        for (const std::string folder : {"", "/home/user/Music/"}) {
            std::mt19937 dice(seed++);
            std::vector<std::string> texts;
            for (std::size_t i = 0; i < c.count; ++i) texts.push_back(folder + c.make(dice));
            const Texts column(std::move(texts));
            EXPECT_EQ(sortedOrder(column, collator), collatedOrder(column, collator))
                << c.shape << ", " << c.count << " rows, folder \"" << folder << "\"";
        }
    }
    // Texts that differ only after the shared beginning and the head.
    const Texts late(
        {"abcdefghijklmnoZ", "abcdefghijklmnoa", "ABCDEFGHIJKLMNOA", "abcdefghijklmno", "", "abcdefghijklmnoa"});
    EXPECT_EQ(sortedOrder(late, collator), (std::vector<std::uint32_t>{4, 3, 1, 2, 5, 0}));
    EXPECT_TRUE(sortedOrder(Texts({}), collator).empty());
}

// The exact key table on and off: the same order for random texts of
// every kind of unit, those the table answers for and those it leaves to
// ICU (a combining mark, a middle dot after "l", Thai, Hangul, a character
// beyond 16 bits), in the root order and in Japanese, which reorders
// scripts. Catches a table whose keys an ICU upgrade made wrong.
TEST(SortOrder, TheKeyTableOrdersAsIcusOwnKeys) {
    const std::vector<std::string> units = {"a",  "B",  "é",  "Ü",  "ß",      " ",  "-",  "1",  "あ", "ア",     "ｱ",
                                            "ー", "東", "Ａ", "・", "\u0301", "l·", "เก", "가", "🎵",  "/Music/"};
    for (const char* locale : {"", "ja"}) {
        const Collator table(CodePage::Utf8, locale, KeySource::Table);
        const Collator icu(CodePage::Utf8, locale, KeySource::Icu);
        EXPECT_TRUE(table.keysFromTable()) << locale;
        EXPECT_FALSE(icu.keysFromTable()) << locale;
        std::mt19937 dice(9);
        std::vector<std::string> texts;
        for (int i = 0; i < 20000; ++i) {
            std::string text;
            for (unsigned n = dice() % 12; n > 0; --n) text += units[dice() % units.size()];
            texts.push_back(text);
        }
        const Texts column(std::move(texts));
        EXPECT_EQ(sortedOrder(column, table), sortedOrder(column, icu)) << locale;
    }
}

}  // namespace
}  // namespace listora
