#include "gui/selection_mirror.h"

#include <QItemSelectionModel>
#include <QStringListModel>
#include <QTableView>
#include <algorithm>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

// The list side: selection marks in a vector.
class MarkedRows : public RowSelection {
public:
    std::vector<bool> marks;
    std::size_t focus = kNoRow;

    std::size_t size() const override { return marks.size(); }
    bool isSelected(std::size_t row) const override { return marks[row]; }
    void setSelected(std::size_t row, bool selected) override { marks[row] = selected; }
    std::size_t focusRow() const override { return focus; }
    void setFocusRow(std::size_t row) override { focus = row; }
};

class Mirror : public testing::Test {
protected:
    Mirror() {
        model.setStringList({"a", "b", "c", "d", "e", "f"});
        rows.marks.assign(6, false);
        view.setModel(&model);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.setSelectionMode(QAbstractItemView::ExtendedSelection);
        mirror = new SelectionMirror(view, rows);  // owned by the view
    }
    std::vector<int> viewRows() const {
        std::vector<int> out;
        for (const QModelIndex& index : view.selectionModel()->selectedRows()) out.push_back(index.row());
        std::sort(out.begin(), out.end());
        return out;
    }
    void selectInView(int first, int last, QItemSelectionModel::SelectionFlags how) {
        view.selectionModel()->select(QItemSelection(model.index(first), model.index(last)),
                                      how | QItemSelectionModel::Rows);
    }

    QStringListModel model;
    QTableView view;
    MarkedRows rows;
    SelectionMirror* mirror = nullptr;
};

TEST_F(Mirror, WhatTheUserSelectsReachesTheList) {
    selectInView(1, 3, QItemSelectionModel::Select);
    selectInView(5, 5, QItemSelectionModel::Select);
    selectInView(2, 2, QItemSelectionModel::Deselect);
    EXPECT_EQ(rows.marks, (std::vector<bool>{false, true, false, true, false, true}));
    view.selectionModel()->setCurrentIndex(model.index(4), QItemSelectionModel::NoUpdate);
    EXPECT_EQ(rows.focus, 4u);
    view.selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    EXPECT_EQ(rows.focus, RowSelection::kNoRow);
}

TEST_F(Mirror, WhatACommandSelectsIsShownWithoutFeedingBack) {
    selectInView(0, 5, QItemSelectionModel::Select);
    // A command leaves two runs and a focus row; clearing the view on the
    // way must not clear the marks it is about to show.
    rows.marks = {true, false, true, true, false, true};
    rows.focus = 3;
    mirror->showListSelection();
    EXPECT_EQ(viewRows(), (std::vector<int>{0, 2, 3, 5}));
    EXPECT_EQ(view.selectionModel()->currentIndex().row(), 3);
    EXPECT_EQ(rows.marks, (std::vector<bool>{true, false, true, true, false, true}));
    EXPECT_EQ(rows.focus, 3u);

    rows.marks.assign(6, false);
    rows.focus = RowSelection::kNoRow;
    mirror->showListSelection();
    EXPECT_TRUE(viewRows().empty());
    EXPECT_FALSE(view.selectionModel()->currentIndex().isValid());
}

TEST_F(Mirror, AResetOfTheModelLeavesTheListsSelectionAlone) {
    selectInView(1, 2, QItemSelectionModel::Select);
    view.selectionModel()->setCurrentIndex(model.index(2), QItemSelectionModel::NoUpdate);
    model.setStringList({"x", "y", "z", "u", "v", "w"});  // the view forgets its selection
    EXPECT_EQ(rows.marks, (std::vector<bool>{false, true, true, false, false, false}));
    EXPECT_EQ(rows.focus, 2u);
    mirror->showListSelection();
    EXPECT_EQ(viewRows(), (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace listora::test
