// Catches Home and End moving along the row's columns in a list of whole
// rows, where they go to the first and the last row.
#include "ui/common/view_style.h"

#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

TEST(RowList, HomeAndEndGoToTheFirstAndTheLastRow) {
    QStandardItemModel model(10, 3);
    RowList list;
    list.setModel(&model);
    setUpRowList(list);
    list.show();
    list.setCurrentIndex(model.index(5, 1));
    QTest::keyClick(&list, Qt::Key_Home);
    EXPECT_EQ(list.currentIndex().row(), 0);
    QTest::keyClick(&list, Qt::Key_End);
    EXPECT_EQ(list.currentIndex().row(), 9);
    QTest::keyClick(&list, Qt::Key_Home, Qt::ShiftModifier);  // selects every row on the way
    EXPECT_EQ(list.currentIndex().row(), 0);
    EXPECT_EQ(list.selectionModel()->selectedRows().size(), 10);
}

}  // namespace
}  // namespace listora::test
