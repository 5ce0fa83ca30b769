#include "core/playlist/main_list.h"

#include "core/collation/collation.h"

#include <gtest/gtest.h>
#include <random>

namespace listora {
namespace {

PlaylistEntry row(std::string title, std::string length = "---", std::string path = "/m/a.mp3") {
    return {std::move(title), std::move(length), "a.mp3", std::move(path)};
}

std::vector<std::string> column(const MainList& list, int c) {
    std::vector<std::string> texts;
    for (const auto& entry : list.rows()) texts.emplace_back(entry.columnText(c));
    return texts;
}

// Rows numbered by their file name, with mixed titles and full paths.
std::vector<PlaylistEntry> numberedRows(std::size_t count, unsigned seed) {
    static const std::vector<std::string> pieces = {"",    "a", "A", "abcdefgh", "東京の", "とうきょう", "トウキョウ",
                                                    "---", " ", "1", "10",       "é",      "e",          "E"};
    std::mt19937 dice(seed);
    std::vector<PlaylistEntry> rows;
    for (std::size_t i = 0; i < count; ++i) {
        std::string text;
        for (unsigned parts = dice() % 5; parts > 0; --parts) text += pieces[dice() % pieces.size()];
        rows.push_back({text, "---", std::to_string(i), "/home/user/Music/" + text});
    }
    return rows;
}

TEST(MainList, SortsLengthsAsTextAndTitlesIgnoringCase) {
    const Collator collator(CodePage::Utf8);
    MainList list;
    list.appendAll({row("b", "9:59"), row("ABC", "2:00"), row("a", "10:00"), row("abc", "1:05")});
    list.sortByColumn(1, collator);
    EXPECT_EQ(column(list, 1), (std::vector<std::string>{"1:05", "10:00", "2:00", "9:59"}));
    list.sortByColumn(0, collator);
    // "ABC" and "abc" are equal keys and keep the order the length sort gave.
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"a", "abc", "ABC", "b"}));
    list.sortByColumn(0, collator);  // a second click sorts ascending again
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"a", "abc", "ABC", "b"}));
    EXPECT_EQ(collator.compare("abc", "ABC"), 0);
}

TEST(MainList, CheckMarksSelectionAndFocusTravelWithTheirRows) {
    const Collator collator(CodePage::Utf8);
    MainList list;
    list.appendAll({row("c"), row("a"), row("b")});
    list.setChecked(0, true);
    list.setSelected(0, true);
    list.setSelected(2, true);
    list.setFocusRow(2);
    list.sortByColumn(0, collator);
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(list.at(2).checked);
    EXPECT_FALSE(list.at(0).checked || list.at(1).checked);
    EXPECT_TRUE(list.at(1).selected && list.at(2).selected && !list.at(0).selected);
    EXPECT_EQ(list.focusRow(), 1u);

    list.append(row("0 first by key"));  // a row appended after a sort stands last
    EXPECT_EQ(list.at(3).title(), "0 first by key");
    EXPECT_FALSE(list.at(3).checked || list.at(3).selected);
}

TEST(MainList, RemovingRowsKeepsTheFocusOnItsRow) {
    MainList list;
    list.appendAll({row("a"), row(""), row("c"), row("")});
    list.setFocusRow(2);
    EXPECT_EQ(list.removeUnless([](const PlaylistEntry& e) { return !e.title().empty(); }), 2u);
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(list.focusRow(), 1u);
    list.setFocusRow(0);
    list.clear();
    EXPECT_EQ(list.focusRow(), MainList::npos);
}

// A list long enough for its sort to reuse the buffers of the sort before
// (which that sort left full of its own entries and keys): sorted by title
// and then by path, each order is the collator's and keeps the rows of
// equal texts in the order they had.
TEST(MainList, ALongListSortedAgainInKeptRoomKeepsOrderAndStability) {
    const Collator collator(CodePage::Utf8);
    MainList list;
    list.appendAll(numberedRows(600000, 8));
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
