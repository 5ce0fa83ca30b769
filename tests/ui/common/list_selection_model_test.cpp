#include "ui/common/list_selection_model.h"

#include "support/painted_rows.h"
#include "ui/common/view_style.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTableView>
#include <QTest>
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
    void setSelected(std::size_t first, std::size_t last, bool selected) override {
        for (std::size_t row = first; row <= last; ++row) marks[row] = selected;
    }
    std::size_t focusRow() const override { return focus; }
    void setFocusRow(std::size_t row) override { focus = row; }

    std::vector<std::size_t> selected() const {
        std::vector<std::size_t> rows;
        for (std::size_t row = 0; row < marks.size(); ++row)
            if (marks[row]) rows.push_back(row);
        return rows;
    }
};

// A list view the way the windows set theirs up.
struct RowList {
    explicit RowList(int rows) {
        QStringList texts;
        for (int row = 0; row < rows; ++row) texts << QString("row %1").arg(row);
        model.setStringList(texts);
        view.setModel(&model);
        setUpRowList(view);
        view.horizontalHeader()->setStretchLastSection(true);
        view.resize(200, 60 + rows * view.verticalHeader()->defaultSectionSize());
        view.show();
    }
    QPoint centre(int row) const { return view.visualRect(model.index(row, 0)).center(); }

    QStringListModel model;
    QTableView view;
};

// Qt's own selection model on one view, ours over a list on the other; the
// same input must leave the list marked as Qt selects.
class ListSelection : public testing::Test {
protected:
    static constexpr int kRows = 8;

    ListSelection() {
        rows.marks.assign(kRows, false);
        selection = new ListSelectionModel(ours.view, rows);  // owned by the view
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&ours.view));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&qt.view));
    }

    std::vector<std::size_t> qtSelection() const {
        std::vector<std::size_t> out;
        for (int row = 0; row < kRows; ++row)
            if (qt.view.selectionModel()->isRowSelected(row)) out.push_back(static_cast<std::size_t>(row));
        return out;
    }
    void expectSameAsQt(const char* step) const {
        EXPECT_EQ(rows.selected(), qtSelection()) << step;
        const QModelIndex current = qt.view.currentIndex();
        EXPECT_EQ(rows.focus, current.isValid() ? static_cast<std::size_t>(current.row()) : RowSelection::kNoRow)
            << step;
        EXPECT_EQ(ours.view.currentIndex().row(), current.row()) << step;
    }

    void click(int row, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButton button = Qt::LeftButton) {
        for (RowList* list : {&qt, &ours})
            QTest::mouseClick(list->view.viewport(), button, modifiers, list->centre(row));
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        for (RowList* list : {&qt, &ours}) QTest::keyClick(&list->view, key, modifiers);
    }
    void drag(int from, const std::vector<int>& over, Qt::KeyboardModifiers modifiers = {}) {
        for (RowList* list : {&qt, &ours}) {
            QWidget* viewport = list->view.viewport();
            QTest::mousePress(viewport, Qt::LeftButton, modifiers, list->centre(from));
            for (const int row : over) {
                QMouseEvent move(QEvent::MouseMove, list->centre(row), viewport->mapToGlobal(list->centre(row)),
                                 Qt::NoButton, Qt::LeftButton, modifiers);
                QApplication::sendEvent(viewport, &move);
            }
            QTest::mouseRelease(viewport, Qt::LeftButton, modifiers, list->centre(over.back()));
        }
    }

    RowList qt{kRows};
    RowList ours{kRows};
    MarkedRows rows;
    ListSelectionModel* selection = nullptr;
};

TEST_F(ListSelection, ClicksWithCtrlAndShiftSelectAsQtDoes) {
    click(1);
    expectSameAsQt("click");
    click(3, Qt::ControlModifier);
    click(5, Qt::ControlModifier);
    expectSameAsQt("Ctrl+clicks");
    click(3, Qt::ControlModifier);  // off again
    EXPECT_EQ(rows.selected(), (std::vector<std::size_t>{1, 5}));
    expectSameAsQt("Ctrl+click on a selected row");
    click(6, Qt::ShiftModifier);
    expectSameAsQt("Shift+click");
    click(4, Qt::ShiftModifier);  // the range from the anchor (3) shrinks, what stood before it stays
    expectSameAsQt("a shorter Shift+click");
    EXPECT_EQ(rows.selected(), (std::vector<std::size_t>{1, 3, 4, 5}));

    click(4, {}, Qt::RightButton);  // a right click in the selection keeps it, for the popup's commands
    expectSameAsQt("right click on a selected row");
    EXPECT_EQ(rows.selected().size(), 4u);
    click(0, {}, Qt::RightButton);
    expectSameAsQt("right click beside the selection");
    click(2);
    expectSameAsQt("plain click");
    EXPECT_EQ(rows.selected(), std::vector<std::size_t>{2});
    EXPECT_EQ(paintedSelectedRows(ours.view), std::vector<std::size_t>{2});
}

TEST_F(ListSelection, KeysSelectAsQtDoes) {
    click(2);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ShiftModifier);
    expectSameAsQt("Shift+Down twice");
    key(Qt::Key_Up, Qt::ShiftModifier);
    expectSameAsQt("Shift+Up");
    key(Qt::Key_Down, Qt::ControlModifier);
    key(Qt::Key_Down, Qt::ControlModifier);
    key(Qt::Key_Space, Qt::ControlModifier);
    expectSameAsQt("Ctrl+Down, Ctrl+Space");
    key(Qt::Key_End, Qt::ShiftModifier);
    expectSameAsQt("Shift+End");
    key(Qt::Key_A, Qt::ControlModifier);
    expectSameAsQt("Ctrl+A");
    EXPECT_EQ(rows.selected().size(), static_cast<std::size_t>(kRows));
    key(Qt::Key_Up);
    expectSameAsQt("Up");
    key(Qt::Key_PageUp);
    expectSameAsQt("Page Up");
    key(Qt::Key_Space, Qt::ControlModifier);
    expectSameAsQt("Ctrl+Space on the selected row");
}

TEST_F(ListSelection, DragsSelectAsQtDoes) {
    drag(1, {2, 4, 5});
    expectSameAsQt("drag down");
    EXPECT_EQ(rows.selected(), (std::vector<std::size_t>{1, 2, 3, 4, 5}));
    drag(6, {5, 3});
    expectSameAsQt("drag up");
    drag(1, {2, 6}, Qt::ControlModifier);  // from an unselected row: selects what it passes
    expectSameAsQt("Ctrl+drag");
    drag(4, {5, 6}, Qt::ControlModifier);  // from a selected row: deselects
    expectSameAsQt("Ctrl+drag from a selected row");
    EXPECT_FALSE(rows.marks[5]);
}

TEST_F(ListSelection, ShowsWhatACommandLeftAndTellsTheView) {
    QSignalSpy changes(selection, &QItemSelectionModel::selectionChanged);
    rows.marks = {true, false, true, true, false, false, false, true};
    rows.focus = 3;
    selection->showListSelection();
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(ours.view.currentIndex().row(), 3);
    EXPECT_EQ(selection->selectedRowNumbers(), (std::vector<std::size_t>{0, 2, 3, 7}));
    EXPECT_EQ(paintedSelectedRows(ours.view), rows.selected());

    // Shift after a command selects from the anchor alone, as after a click.
    QTest::mouseClick(ours.view.viewport(), Qt::LeftButton, {}, ours.centre(4));
    EXPECT_EQ(rows.selected(), std::vector<std::size_t>{4});
    rows.marks = {true, false, true, true, true, false, false, true};
    selection->showListSelection();
    QTest::mouseClick(ours.view.viewport(), Qt::LeftButton, Qt::ShiftModifier, ours.centre(5));
    EXPECT_EQ(rows.selected(), (std::vector<std::size_t>{4, 5}));
    EXPECT_EQ(rows.focus, 5u);
    EXPECT_GE(changes.count(), 4);  // the user's changes are told too

    rows.marks.assign(kRows, false);
    rows.focus = RowSelection::kNoRow;
    selection->showListSelection();
    EXPECT_FALSE(ours.view.currentIndex().isValid());
    EXPECT_TRUE(paintedSelectedRows(ours.view).empty());
}

TEST_F(ListSelection, AResetOfTheModelLeavesTheListsMarksAndFocusAlone) {
    click(1);
    QTest::mouseClick(ours.view.viewport(), Qt::LeftButton, Qt::ShiftModifier, ours.centre(3));
    ours.model.setStringList(ours.model.stringList());  // a sort or a cut rebuilds the model
    EXPECT_EQ(rows.selected(), (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_EQ(rows.focus, 3u);
    selection->showListSelection();
    EXPECT_EQ(ours.view.currentIndex().row(), 3);
    EXPECT_EQ(paintedSelectedRows(ours.view), (std::vector<std::size_t>{1, 2, 3}));
}

}  // namespace
}  // namespace listora::test
