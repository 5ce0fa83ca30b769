#include "playlist/sort_order.h"

#include "platform/collation.h"
#include "playlist/main_list.h"

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

std::vector<PlaylistEntry> mixedRows(std::size_t count, unsigned seed) {
    std::mt19937 dice(seed);
    std::vector<PlaylistEntry> rows;
    for (std::size_t i = 0; i < count; ++i) {
        std::string text;
        for (unsigned parts = dice() % 5; parts > 0; --parts) text += kPieces[dice() % kPieces.size()];
        // The full path column: one long shared folder, then the same texts.
        rows.push_back({text, "---", std::to_string(i), "/home/user/Music/" + text});
    }
    return rows;
}

// The order a stable sort by full collation gives.
std::vector<std::uint32_t> collatedOrder(const std::vector<PlaylistEntry>& rows, int column, const Collator& collator) {
    std::vector<std::uint32_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return collator.compare(rows[a].columnText(column), rows[b].columnText(column)) < 0;
    });
    return order;
}

TEST(SortOrder, KeyHeadsOrderAsFullCollationAndEqualKeysKeepTheirOrder) {
    const Collator collator(CodePage::Utf8);
    for (const unsigned seed : {1u, 2u, 3u}) {
        const std::vector<PlaylistEntry> rows = mixedRows(3000, seed);
        for (const int column : {0, 3}) {
            EXPECT_EQ(sortedOrder(rows, column, collator), collatedOrder(rows, column, collator))
                << "seed " << seed << ", column " << column;
        }
    }
    // Texts that differ only after the shared beginning and the head.
    std::vector<PlaylistEntry> late;
    for (const char* title :
         {"abcdefghijklmnoZ", "abcdefghijklmnoa", "ABCDEFGHIJKLMNOA", "abcdefghijklmno", "", "abcdefghijklmnoa"})
        late.push_back({title, "---", "", ""});
    EXPECT_EQ(sortedOrder(late, 0, collator), (std::vector<std::uint32_t>{4, 3, 1, 2, 5, 0}));
    // A column that begins with thousands of texts seen once (where repeats
    // are no longer looked for) and then repeats them.
    std::vector<PlaylistEntry> unique;
    for (int i = 0; i < 6000; ++i) {
        const std::string title = "Title " + std::to_string(i < 5000 ? i : 4999 - i % 7);
        unique.push_back({title, "---", "", ""});
    }
    EXPECT_EQ(sortedOrder(unique, 0, collator), collatedOrder(unique, 0, collator));
    EXPECT_TRUE(sortedOrder({}, 0, collator).empty());
}

// A list long enough to be keyed and sorted in parts, one for each
// processor, and merged: the order is the one a single stable sort gives.
TEST(SortOrder, AListSortedInPartsComesOutInOneStableOrder) {
    const Collator collator(CodePage::Utf8);
    const std::vector<PlaylistEntry> rows = mixedRows(40000, 4);
    for (const int column : {0, 3})
        EXPECT_EQ(sortedOrder(rows, column, collator), collatedOrder(rows, column, collator)) << "column " << column;
}

// A list long enough to be dealt into many buckets, whose keys crowd
// together: most titles begin alike and tie well past their first sixteen
// key bytes, a large block is one title in three spellings that collate
// alike, and the rest differ in their first byte. The buckets come out far
// from even, and one holds every row of the block.
TEST(SortOrder, AListDealtIntoBucketsOfCrowdedKeysComesOutInOneStableOrder) {
    const Collator collator(CodePage::Utf8);
    std::mt19937 dice(5);
    const std::vector<std::string> spellings = {"Unknown Artist - Track", "UNKNOWN ARTIST - TRACK",
                                                "unknown artist - track"};
    std::vector<PlaylistEntry> rows;
    for (std::size_t i = 0; i < 80000; ++i) {
        std::string title;
        switch (dice() % 4) {
            case 0:
            case 1:
                title = "Artist " + std::to_string(dice() % 50) + " - The Long Shared Title Of Song " +
                        std::to_string(dice() % 300);
                break;
            case 2:
                title = spellings[dice() % spellings.size()];
                break;
            default:
                title = std::string(1, static_cast<char>('a' + dice() % 26)) + kPieces[dice() % kPieces.size()];
        }
        rows.push_back({title, "---", std::to_string(i), "/home/user/Music/" + title + ".mp3"});
    }
    for (const int column : {0, 3})
        EXPECT_EQ(sortedOrder(rows, column, collator), collatedOrder(rows, column, collator)) << "column " << column;
}

TEST(SortOrder, MarksAndFocusTravelWithTheirRowsToTheirNewPlaces) {
    const Collator collator(CodePage::Utf8);
    MainList list;
    list.appendAll(mixedRows(2000, 7));
    for (std::size_t i = 0; i < list.count(); ++i) {
        list.setChecked(i, i % 3 == 0);
        list.setSelected(i, i % 5 == 0);
    }
    list.setFocusRow(1234);
    list.sortByColumn(0, collator);
    for (std::size_t i = 0; i < list.count(); ++i) {
        const std::size_t before = std::stoul(std::string(list.at(i).fileName()));
        ASSERT_EQ(list.at(i).checked, before % 3 == 0) << i;
        ASSERT_EQ(list.at(i).selected, before % 5 == 0) << i;
        if (i > 0) {
            ASSERT_LE(collator.compare(list.at(i - 1).title(), list.at(i).title()), 0) << i;
        }
    }
    EXPECT_EQ(list.at(list.focusRow()).fileName(), "1234");
}

// A list long enough for its sort to take room kept from the sort before
// (which that sort left full of its own entries and keys): sorted by title
// and then by path, each order is the collator's and keeps the rows of
// equal texts in the order they had.
TEST(SortOrder, ALongListSortedAgainInKeptRoomKeepsOrderAndStability) {
    const Collator collator(CodePage::Utf8);
    MainList list;
    list.appendAll(mixedRows(600000, 8));
    std::vector<std::size_t> before(list.count());  // by row number, its place before the sort
    for (const int column : {0, 3}) {
        for (std::size_t i = 0; i < list.count(); ++i) before[std::stoul(std::string(list.at(i).fileName()))] = i;
        list.sortByColumn(column, collator);
        for (std::size_t i = 1; i < list.count(); ++i) {
            const int order = collator.compare(list.at(i - 1).columnText(column), list.at(i).columnText(column));
            ASSERT_LE(order, 0) << "column " << column << ", row " << i;
            if (order == 0) {
                ASSERT_LT(before[std::stoul(std::string(list.at(i - 1).fileName()))],
                          before[std::stoul(std::string(list.at(i).fileName()))])
                    << "column " << column << ", row " << i;
            }
        }
    }
}

}  // namespace
}  // namespace listora
