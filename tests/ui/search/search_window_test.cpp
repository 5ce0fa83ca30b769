#include "ui/search/search_window.h"

#include "support/core_fixture.h"
#include "support/scripted_choosers.h"
#include "ui/common/list_selection_model.h"
#include "ui/main/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

TEST(SearchWindow, EachPositionShowsWhatItNeedsAndKeepsEveryValue) {
    ScriptedPicker picker;
    TForm3 form(&picker);
    form.show();
    EXPECT_TRUE(form.positionButton(SearchPosition::Title)->isChecked());
    EXPECT_EQ(form.comparisonBox()->currentText(), "以上");
    QTest::keyClicks(form.textBox(), "abc");
    form.caseSensitiveBox()->setChecked(true);

    const struct {
        SearchPosition position;
        const char* prompt;
        bool text, time, folder, caseBox;
    } table[] = {
        {SearchPosition::Length, "検索する時間", false, true, false, false},
        {SearchPosition::FullPath, "検索する文字列", true, false, true, true},
        {SearchPosition::FileName, "検索する文字列", true, false, false, true},
        {SearchPosition::Title, "検索する文字列", true, false, false, true},
    };
    for (const auto& row : table) {
        QTest::mouseClick(form.positionButton(row.position), Qt::LeftButton);
        EXPECT_EQ(form.promptLabel()->text(), row.prompt);
        EXPECT_EQ(form.textBox()->isVisible(), row.text);
        EXPECT_EQ(form.minutesBox()->isVisible(), row.time);
        EXPECT_EQ(form.comparisonBox()->isVisible(), row.time);
        EXPECT_EQ(form.chooseFolderButton()->isVisible(), row.folder);
        EXPECT_EQ(form.caseSensitiveBox()->isEnabled(), row.caseBox);
        EXPECT_EQ(form.textBox()->text(), "abc");
        EXPECT_TRUE(form.caseSensitiveBox()->isChecked());
    }
}

TEST(SearchWindow, TimeBoxesTakeAnyTextAndSettleWhenTheyLoseTheFocus) {
    TForm3 form(nullptr);
    form.show();
    QApplication::setActiveWindow(&form);  // focus moves only in the active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::mouseClick(form.positionButton(SearchPosition::Length), Qt::LeftButton);
    QSpinBox* minutes = form.minutesBox();
    const struct {
        const char* typed;
        const char* settled;
    } cases[] = {{"75", "60"}, {"abc", "0"}, {"-4", "0"}, {"12", "12"}};
    for (const auto& c : cases) {
        minutes->setFocus();
        minutes->selectAll();
        QTest::keyClicks(minutes, c.typed);
        form.secondsBox()->setFocus();
        EXPECT_EQ(minutes->text(), c.settled) << c.typed;
    }
    minutes->stepBy(-1);
    EXPECT_EQ(form.settings().minutes, 11);
    minutes->setValue(60);
    minutes->stepBy(1);
    EXPECT_EQ(form.settings().minutes, 60);
}

TEST(SearchWindow, TheFolderButtonFillsTheTextOnlyThroughOk) {
    ScriptedPicker picker;
    TForm3 form(&picker);
    form.show();
    QTest::mouseClick(form.positionButton(SearchPosition::FullPath), Qt::LeftButton);
    QTest::keyClicks(form.textBox(), "typed");
    picker.next = std::nullopt;  // "No."
    form.chooseFolderButton()->click();
    EXPECT_EQ(form.textBox()->text(), "typed");
    picker.next = "/music/rock";
    form.chooseFolderButton()->click();
    EXPECT_EQ(form.textBox()->text(), "/music/rock");
    EXPECT_EQ(picker.purposes, (std::vector<FolderPurpose>{FolderPurpose::SearchText, FolderPurpose::SearchText}));
}

class SearchFromTheMainWindow : public CoreFixture {
protected:
    SearchFromTheMainWindow() {
        form.show();
        for (const char* title : {"ABC Song", "other", "xAbCx", "more"})
            form.state().list.append({title, "1:00", "f.mp3", "/m/f.mp3"});
        form.state().list.setChecked(1, true);
    }
    TForm3* searchWindow() const { return qobject_cast<TForm3*>(form.searchWindow()); }
    void closeSearchWindow() {
        searchWindow()->cancelButton()->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    TForm1 form{fs, prompts, clock, shell,
                ProgramFiles{dir.path("Inf.ini"), dir.path("Log/"), dir.path("ReadMe.txt"), dir.path("Options.ini")}};
};

TEST_F(SearchFromTheMainWindow, OpeningAgainKeepsTheSettingsAndClosingForgetsThem) {
    form.findChild<QToolButton*>("buttonSearchWindow")->click();
    TForm3* first = searchWindow();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    QTest::keyClicks(first->textBox(), "abc");
    first->refineBox()->setChecked(true);
    form.findChild<QAction*>("menuSearchWindow")->trigger();
    form.findChild<QAction*>("popupSearch")->trigger();
    EXPECT_EQ(searchWindow(), first);
    EXPECT_EQ(first->textBox()->text(), "abc");

    closeSearchWindow();
    EXPECT_EQ(form.searchWindow(), nullptr);
    form.findChild<QAction*>("menuSearchWindow")->trigger();
    ASSERT_TRUE(searchWindow());
    EXPECT_EQ(searchWindow()->textBox()->text(), "");
    EXPECT_FALSE(searchWindow()->refineBox()->isChecked());

    // It has no parent, but goes with the main window.
    form.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form.searchWindow(), nullptr);
}

TEST_F(SearchFromTheMainWindow, ASearchSelectsCountsAndHandsTheFocusToTheList) {
    form.findChild<QAction*>("menuSearchWindow")->trigger();
    QTest::keyClicks(searchWindow()->textBox(), "abc");
    searchWindow()->searchButton()->click();
    EXPECT_EQ(form.statusLine()->text(), "2個ヒット");
    QTableView* view = form.listView();
    EXPECT_EQ(ListSelectionModel::of(*view)->selectedRowNumbers(), (std::vector<std::size_t>{0, 2}));
    EXPECT_TRUE(form.state().list.at(1).checked);  // check marks stay
    EXPECT_TRUE(searchWindow()->isVisible());      // the window stays open
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == view; }, 2000));

    searchWindow()->caseSensitiveBox()->setChecked(true);
    searchWindow()->searchButton()->click();
    EXPECT_EQ(form.statusLine()->text(), "0個ヒット");
    EXPECT_EQ(ListSelectionModel::of(*view)->selectedRowCount(), 0u);
}

}  // namespace
}  // namespace listora::test
