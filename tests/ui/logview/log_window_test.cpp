#include "ui/logview/log_window.h"

#include "core/native/native_file_system.h"
#include "support/painted_rows.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui/common/list_selection_model.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

class LogWindow : public testing::Test {
protected:
    void SetUp() override {
        dir.write("Log/2026-12-06.txt", "a.mp3\r\nコピー\r\n/m/a.mp3\r\n/d/a.mp3\r\n");
        dir.write("Log/2026-12-07.txt",
                  "b.mp3\r\n移動\r\n/m/b.mp3\r\n/d/b.mp3\r\nc.wav\r\n削除\r\n/m/c.wav\r\n---\r\n"
                  "cb.mp3\r\n移動\r\n/m/cb.mp3\r\n/d/cb.mp3\r\n");
    }
    QStringList days() const {
        QStringList names;
        for (int i = 0; i < form.dayBox()->count(); ++i) names << form.dayBox()->itemText(i);
        return names;
    }
    QList<int> selectedRows() const {
        QList<int> rows;
        for (const std::size_t row : ListSelectionModel::of(*form.recordList())->selectedRowNumbers())
            rows << static_cast<int>(row);
        return rows;
    }
    QString cell(int row, int column) const { return form.recordList()->model()->index(row, column).data().toString(); }

    TempDir dir;
    NativeFileSystem fs;
    ScriptedPrompts prompts;
    TForm5 form{fs, prompts, dir.path("Log/")};
};

TEST_F(LogWindow, PickingADayShowsItsRecordsInTheFourColumns) {
    form.prepareOpening();
    form.show();
    EXPECT_EQ(days(), (QStringList{"2026-12-06.txt", "2026-12-07.txt"}));
    EXPECT_EQ(form.dayBox()->currentText(), "");
    EXPECT_EQ(form.recordList()->model()->rowCount(), 0);  // the program's own emptying loads nothing
    EXPECT_EQ(form.recordList()->columnWidth(0), 110);
    EXPECT_EQ(form.recordList()->columnWidth(1), 50);

    form.dayBox()->textActivated("2026-12-07.txt");  // as a pick from the list reports it
    ASSERT_EQ(form.recordList()->model()->rowCount(), 3);
    EXPECT_EQ((QStringList{cell(1, 0), cell(1, 1), cell(1, 2), cell(1, 3)}),
              (QStringList{"c.wav", "削除", "/m/c.wav", "---"}));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(LogWindow, TypingLoadsAfterEveryKeystrokeAndSaysWhatCannotBeOpened) {
    form.prepareOpening();
    form.show();
    QTest::keyClicks(form.dayBox()->lineEdit(), "2026-12-06.tx");
    EXPECT_EQ(prompts.shown.size(), 13u);
    EXPECT_EQ(prompts.shown.back(), "error: ファイル " + dir.path("Log/2026-12-06.tx") + " は開けません.");
    EXPECT_EQ(form.recordList()->model()->rowCount(), 0);
    QTest::keyClick(form.dayBox()->lineEdit(), 't');
    EXPECT_EQ(prompts.shown.size(), 13u);
    EXPECT_EQ(form.recordList()->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), "a.mp3");
}

TEST_F(LogWindow, SearchSelectsTheMatchingRowsAndKeepsItsSettingsBetweenOpenings) {
    form.prepareOpening();
    form.show();
    form.dayBox()->textActivated("2026-12-07.txt");
    form.wordBox()->setText("b");
    form.searchButton()->click();
    EXPECT_EQ(selectedRows(), (QList<int>{0, 2}));
    EXPECT_EQ(paintedSelectedRows(*form.recordList()), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(form.focusWidget(), form.recordList());

    form.refineBox()->setChecked(true);
    form.positionButton(LogColumn::After)->setChecked(true);
    form.wordBox()->setText("/d/c");
    form.searchButton()->click();
    EXPECT_EQ(selectedRows(), QList<int>{2});

    // A row the user selects counts for a refined search like one a search selected.
    form.refineBox()->setChecked(false);
    form.wordBox()->clear();
    form.searchButton()->click();
    EXPECT_TRUE(selectedRows().isEmpty());
    form.recordList()->selectRow(1);
    form.refineBox()->setChecked(true);
    form.positionButton(LogColumn::FileName)->setChecked(true);
    form.wordBox()->setText("wav");
    form.searchButton()->click();
    EXPECT_EQ(selectedRows(), QList<int>{1});

    dir.write("Log/2026-12-08.txt", "");
    form.hide();
    form.prepareOpening();
    form.show();
    EXPECT_EQ(days().size(), 3);
    EXPECT_EQ(form.recordList()->model()->rowCount(), 0);
    EXPECT_EQ(form.wordBox()->text(), "wav");
    EXPECT_TRUE(form.refineBox()->isChecked());
    EXPECT_TRUE(form.positionButton(LogColumn::FileName)->isChecked());
}

}  // namespace
}  // namespace listora::test
