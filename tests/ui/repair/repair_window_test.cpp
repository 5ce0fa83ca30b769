#include "ui/repair/repair_window.h"

#include "support/core_fixture.h"
#include "support/scripted_choosers.h"
#include "ui/main/main_window.h"
#include "ui/repair/repair_result_model.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <filesystem>
#include <functional>

namespace listora::test {
namespace {

class RepairWindowTest : public CoreFixture {
protected:
    RepairWindowTest() {
        form.setFolderPicker(&picker);
        form.show();
        dir.write("new/Rock/01.mp3", "x");
        dir.write("new/Pop/01.mp3", "x");
        MainList& list = form.state().list;
        list.append({"Song", "3:05", "01.mp3", "/old/Rock/01.mp3"});
        list.append({"Gone", "---", "gone.mp3", "/old/gone.mp3"});
        list.setChecked(0, true);
        list.setSelected(0, true);
        form.state().autoSave = true;
        form.state().currentPlaylistFile = dir.path("list.m3u");
    }
    // Opens the window from the menu; `steps` run while it is open, and
    // "閉じる" closes it if they left it open.
    void openWindow(const std::function<void(RepairWindow&)>& steps) {
        QTimer::singleShot(0, &form, [&] {
            RepairWindow& window = *form.repairWindow();
            steps(window);
            if (window.isVisible()) window.closeButton()->click();
        });
        form.findChild<QAction*>("menuRepairLinks")->trigger();
    }
    void addSearchedFolder(RepairWindow& window) {
        picker.next = dir.path("new");
        window.addFolderButton()->click();
    }

    ScriptedPicker picker;
    TForm1 form{fs, prompts, clock, shell,
                ProgramFiles{dir.path("Inf.ini"), dir.path("Log/"), dir.path("ReadMe.txt"), dir.path("Options.ini")}};
};

// Catches an apply that loses a row's title, length or marks, rewrites a
// row not ticked, or leaves the playlist unsaved.
TEST_F(RepairWindowTest, ApplyRewritesTheTickedRowsAndSaves) {
    openWindow([&](RepairWindow& window) {
        addSearchedFolder(window);
        window.searchButton()->click();
        ASSERT_EQ(window.resultModel()->rowCount(), 2);
        EXPECT_EQ(window.summaryLabel()->text(), QStringLiteral("見つかった：1個　候補あり：0個　見つからない：1個"));
        EXPECT_EQ(window.resultModel()->index(1, RepairResultModel::Kind).data().toString(),
                  QStringLiteral("見つからない"));
        window.applyButton()->click();
    });
    const PlaylistEntry& row = form.state().list.at(0);
    EXPECT_EQ(row.fullPath(), dir.path("new/Rock/01.mp3"));
    EXPECT_EQ(row.fileName(), "01.mp3");
    EXPECT_EQ(row.title(), "Song");
    EXPECT_EQ(row.lengthText(), "3:05");
    EXPECT_TRUE(row.checked);
    EXPECT_TRUE(row.selected);
    EXPECT_EQ(form.state().list.at(1).fullPath(), "/old/gone.mp3");
    EXPECT_NE(readFile(dir.path("list.m3u")).find(dir.path("new/Rock/01.mp3")), std::string::npos);
    // The folders stay for the next opening.
    openWindow([&](RepairWindow& window) { EXPECT_EQ(window.folderList()->count(), 1); });
}

// Catches a cancelled search that still offers results, and a window closed
// without applying that changes or saves anything.
TEST_F(RepairWindowTest, CancelAndCloseChangeNothing) {
    openWindow([&](RepairWindow& window) {
        addSearchedFolder(window);
        QTimer::singleShot(0, &window, [&] {
            EXPECT_TRUE(window.stopButton()->isVisible());
            EXPECT_FALSE(window.applyButton()->isEnabled());
            window.stopButton()->click();
        });
        window.searchButton()->click();
        EXPECT_EQ(window.resultModel()->rowCount(), 0);
        EXPECT_EQ(window.summaryLabel()->text(), QStringLiteral("中止しました"));
        EXPECT_TRUE(window.applyButton()->isEnabled());

        window.searchButton()->click();
        EXPECT_EQ(window.resultModel()->rowCount(), 2);
        window.closeButton()->click();
    });
    EXPECT_EQ(form.state().list.at(0).fullPath(), "/old/Rock/01.mp3");
    EXPECT_FALSE(std::filesystem::exists(dir.path("list.m3u")));
}

// Catches the replacement part or the popup's "重複を削除" not reaching the
// rows, or not saving.
TEST_F(RepairWindowTest, ReplacementAndDuplicateRemovalChangeTheRowsAndSave) {
    openWindow([&](RepairWindow& window) {
        window.replaceFromBox()->setText("/old/");
        window.replaceToBox()->setText(QString::fromStdString(dir.path("new")));
        window.replaceButton()->click();
        EXPECT_EQ(window.summaryLabel()->text(), QStringLiteral("2個のパスを置き換えました"));
    });
    EXPECT_EQ(form.state().list.at(0).fullPath(), dir.path("new/Rock/01.mp3"));
    EXPECT_EQ(form.state().list.at(1).fullPath(), dir.path("new/gone.mp3"));

    form.state().list.append({"Again", "---", "01.mp3", dir.path("new/Rock/01.mp3")});
    form.state().list.setSelected(0, false);
    form.findChild<QAction*>("popupRemoveDuplicates")->trigger();
    EXPECT_EQ(form.state().list.count(), 2u);
    EXPECT_EQ(form.state().list.at(0).title(), "Song");
    EXPECT_EQ(readFile(dir.path("list.m3u")).find("Again"), std::string::npos);
}

}  // namespace
}  // namespace listora::test
