#include "core/search/selection_commands.h"

#include <gtest/gtest.h>

namespace listora {
namespace {

using Names = std::vector<std::string>;

class Selection : public testing::Test {
protected:
    // Rows "1" … "n"; the numbers given are selected (1-based, as a user counts).
    void make(int count, std::initializer_list<int> selected = {}, std::initializer_list<int> checked = {}) {
        std::vector<PlaylistEntry> rows;
        for (int i = 1; i <= count; ++i) rows.push_back({std::to_string(i), "---", "f", "/m/" + std::to_string(i)});
        list.appendAll(std::move(rows));
        for (int row : selected) list.setSelected(static_cast<std::size_t>(row - 1), true);
        for (int row : checked) list.setChecked(static_cast<std::size_t>(row - 1), true);
    }
    Names titles() const {
        Names out;
        for (const auto& row : list.rows()) out.emplace_back(row.title());
        return out;
    }
    Names where(bool PlaylistEntry::*state) const {
        Names out;
        for (const auto& row : list.rows())
            if (row.*state) out.emplace_back(row.title());
        return out;
    }
    static Names titlesOf(const CutBuffer& rows) {
        Names out;
        for (const auto& row : rows) out.emplace_back(row.title());
        return out;
    }

    MainList list;
    CutBuffer buffer;
};

TEST_F(Selection, CutKeepsListOrderAndASecondCutReplacesTheFirst) {
    make(6, {2, 4, 5}, {4});
    cutSelected(list, buffer);
    EXPECT_EQ(titles(), (Names{"1", "3", "6"}));
    EXPECT_EQ(titlesOf(buffer), (Names{"2", "4", "5"}));
    EXPECT_TRUE(where(&PlaylistEntry::selected).empty());

    cutSelected(list, buffer);  // nothing selected: nothing changes
    EXPECT_EQ(titlesOf(buffer), (Names{"2", "4", "5"}));

    list.setSelected(0, true);
    cutSelected(list, buffer);
    EXPECT_EQ(titlesOf(buffer), Names{"1"});
}

TEST_F(Selection, PasteGoesBeforeTheFocusRowOnlyWhenARowIsSelected) {
    make(6, {2, 4, 5}, {2, 4});
    cutSelected(list, buffer);  // 1 3 6 remain
    list.setFocusRow(1);        // "3", but nothing is selected
    pasteCut(list, buffer);
    EXPECT_EQ(titles(), (Names{"1", "3", "6", "2", "4", "5"}));
    EXPECT_TRUE(buffer.empty());
    EXPECT_TRUE(where(&PlaylistEntry::checked).empty());  // pasted rows come back unchecked

    list.setSelected(5, true);  // "5"
    cutSelected(list, buffer);
    list.setSelected(1, true);  // "3", the focus row
    list.setFocusRow(1);
    list.setChecked(0, true);
    pasteCut(list, buffer);
    EXPECT_EQ(titles(), (Names{"1", "5", "3", "6", "2", "4"}));
    EXPECT_EQ(list.focusRow(), 2u);  // the focus row follows the pasted rows
    EXPECT_EQ(where(&PlaylistEntry::selected), Names{"3"});
    EXPECT_EQ(where(&PlaylistEntry::checked), Names{"1"});
}

TEST_F(Selection, CheckCommandsTouchOnlySelectedRows) {
    make(5, {2, 5}, {1, 2, 3, 4, 5});
    uncheckSelected(list);
    EXPECT_EQ(where(&PlaylistEntry::checked), (Names{"1", "3", "4"}));
    list.setSelected(0, true);
    invertCheckOfSelected(list);
    EXPECT_EQ(where(&PlaylistEntry::checked), (Names{"2", "3", "4", "5"}));
    checkSelected(list);
    EXPECT_EQ(where(&PlaylistEntry::checked), (Names{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(where(&PlaylistEntry::selected), (Names{"1", "2", "5"}));  // selection untouched
}

TEST_F(Selection, SelectionCommandsLeaveCheckMarks) {
    make(4, {1, 2}, {2, 3});
    invertSelection(list);
    EXPECT_EQ(where(&PlaylistEntry::selected), (Names{"3", "4"}));
    selectChecked(list);
    EXPECT_EQ(where(&PlaylistEntry::selected), (Names{"2", "3"}));
    selectAll(list);
    EXPECT_EQ(where(&PlaylistEntry::selected).size(), 4u);
    EXPECT_EQ(where(&PlaylistEntry::checked), (Names{"2", "3"}));
    list.updateChecks([](const PlaylistEntry&) { return false; });
    selectChecked(list);
    EXPECT_TRUE(where(&PlaylistEntry::selected).empty());
    removeSelected(list);
    EXPECT_EQ(list.count(), 4u);
}

}  // namespace
}  // namespace listora
