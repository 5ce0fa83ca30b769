#include "ui/search/comparison_window.h"

#include "support/core_fixture.h"
#include "ui/main/main_window.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace listora::test {
namespace {

using Texts = std::vector<std::string>;
const std::string kSaveQuestion = "confirm[YNC]: プレイリストを保存しますか？";

class Comparing : public CoreFixture {
protected:
    Comparing() {
        form.setComparisonWindow(&window);
        form.show();
    }
    // Runs the command; `steps` run while the window is open, which is then
    // closed if they left it open. True when the window opened.
    bool compare(const std::function<void()>& steps = {}) {
        bool opened = false;
        QTimer::singleShot(0, &window, [&] {
            opened = window.isVisible();
            if (steps) steps();
            if (window.isVisible()) window.cancelButton()->click();
        });
        form.findChild<QAction*>("menuCompare")->trigger();
        QCoreApplication::processEvents();  // the timer, when no window opened
        return opened;
    }
    void addRows() {
        form.state().list.append({"t", "---", "a.mp3", dir.path("a.mp3")});
        form.state().currentPlaylistFile = "/kept.m3u";
    }

    TForm1 form{fs, prompts, clock, shell,
                ProgramFiles{dir.path("Inf.ini"), dir.path("Log/"), dir.path("ReadMe.txt"), dir.path("Options.ini")}};
    TForm6 window{prompts, form.state().dialogs, &form};
};

TEST_F(Comparing, TheSaveQuestionDecidesWhetherTheWindowOpens) {
    addRows();
    prompts.answer(Answer::Cancel);
    EXPECT_FALSE(compare());
    EXPECT_EQ(form.state().list.count(), 1u);
    EXPECT_EQ(form.state().currentPlaylistFile, "/kept.m3u");

    // Yes: saved through the dialog, not kept as the current playlist; the
    // list stays for now.
    prompts.answer(Answer::Yes).choose(FileChoice{dir.path("saved.m3u"), 1});
    EXPECT_TRUE(compare());
    EXPECT_EQ(readFile(dir.path("saved.m3u")), crlf({"#EXTM3U", dir.path("a.mp3")}));
    EXPECT_EQ(form.state().list.count(), 1u);
    EXPECT_EQ(form.state().currentPlaylistFile, "");

    // A cancelled dialog goes on; a file that cannot be written stops.
    form.state().currentPlaylistFile = "/kept.m3u";
    prompts.answer(Answer::Yes).choose(std::nullopt);
    EXPECT_TRUE(compare());
    form.state().currentPlaylistFile = "/kept.m3u";
    prompts.answer(Answer::Yes).choose(FileChoice{dir.path("missing/x.m3u"), 1});
    EXPECT_FALSE(compare());
    EXPECT_EQ(form.state().currentPlaylistFile, "/kept.m3u");

    prompts.answer(Answer::No);
    EXPECT_TRUE(compare());
    EXPECT_TRUE(form.state().list.empty());
    EXPECT_EQ(prompts.shown.back(), kSaveQuestion);
    EXPECT_TRUE(compare());  // an empty list asks nothing
    EXPECT_EQ(prompts.shown.back(), kSaveQuestion);
}

TEST_F(Comparing, TheInputsStayAndAreCheckedBeforeAnythingChanges) {
    EXPECT_TRUE(compare([&] {
        window.playlistABox()->setText("typed.m3u");
        window.methodBox()->setCurrentIndex(2);
        window.detectButton()->click();  // B is empty
        EXPECT_TRUE(window.isVisible());
    }));
    EXPECT_EQ(prompts.shown, Texts{"info: プレイリストを選択してください"});
    EXPECT_TRUE(compare([&] {
        EXPECT_EQ(window.playlistABox()->text(), "typed.m3u");
        EXPECT_EQ(window.methodBox()->currentText(), "Aのみに存在するものを検出");
        prompts.choose(std::nullopt).choose(FileChoice{dir.path("chosen.m3u")});
        window.chooseBButton()->click();
        EXPECT_EQ(window.playlistBBox()->text(), "");
        window.chooseBButton()->click();
        EXPECT_EQ(window.playlistBBox()->text().toStdString(), dir.path("chosen.m3u"));
    }));
    ASSERT_FALSE(prompts.dialogs.empty());
    EXPECT_EQ(prompts.dialogs.back().filters[0].caption, "プレイリスト（*.m3u）");
}

TEST_F(Comparing, AResultClosesTheWindowAndItsRowsFromACanBePasted) {
    const std::string a = dir.write("a.m3u", crlf({"#EXTM3U", "x.mp3", "y.mp3"}));
    const std::string b = dir.write("b.m3u", crlf({"#EXTM3U", "y.mp3", "w.mp3"}));
    bool closed = false;
    EXPECT_TRUE(compare([&] {
        window.playlistABox()->setText(QString::fromStdString(a));
        window.playlistBBox()->setText(QString::fromStdString(b));
        window.detectButton()->click();
        closed = !window.isVisible();
    }));
    EXPECT_TRUE(closed);
    const MainList& list = form.state().list;
    ASSERT_EQ(list.count(), 2u);
    EXPECT_EQ(list.at(0).fullPath(), dir.path("x.mp3"));
    EXPECT_TRUE(list.at(0).checked);
    EXPECT_EQ(list.at(1).fullPath(), dir.path("w.mp3"));
    EXPECT_FALSE(list.at(1).checked);
    EXPECT_EQ(form.statusLine()->text(), "");

    QAction* paste = form.findChild<QAction*>("popupPaste");
    emit form.listPopupMenu()->aboutToShow();
    EXPECT_TRUE(paste->isEnabled());
    paste->trigger();
    ASSERT_EQ(list.count(), 3u);
    EXPECT_EQ(list.at(2).fullPath(), dir.path("x.mp3"));
}

}  // namespace
}  // namespace listora::test
