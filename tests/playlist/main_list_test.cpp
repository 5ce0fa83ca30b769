#include "playlist/main_list.h"

#include "platform/collation.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace listora
