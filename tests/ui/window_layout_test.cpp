// Every window's caption, size and title bar in one table: catches a window
// laid out at another size, a fixed window that can be resized, a caption
// changed, and a title bar that offers more than its close box.
#include "core/app/program_files.h"
#include "support/core_fixture.h"
#include "support/fake_media_player.h"
#include "support/scripted_choosers.h"
#include "ui/fileops/folder_chooser_window.h"
#include "ui/fileops/name_input_window.h"
#include "ui/help/about_window.h"
#include "ui/logview/log_window.h"
#include "ui/main/main_window.h"
#include "ui/player/player_window.h"
#include "ui/search/comparison_window.h"
#include "ui/search/search_window.h"

#include <QTableView>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace listora::test {
namespace {

class WindowLayout : public CoreFixture {
protected:
    ProgramFiles files{dir.path("Inf.ini"), dir.path("Log/"), dir.path("ReadMe.txt"), dir.path("Options.ini")};
    TForm1 main{fs, prompts, clock, shell, files};
    ScriptedPicker picker;
    FakeMediaPlayer::Script script;
};

TEST_F(WindowLayout, EachWindowHasItsCaptionSizeAndTitleBar) {
    // A fixed window has only a close box; the others may be resized from
    // the size they open at, down to their minimum.
    const struct {
        const char* caption;
        QSize size;
        bool fixed;
        std::function<std::unique_ptr<QWidget>()> make;
    } windows[] = {
        {"選択", {238, 306}, true, [] { return std::make_unique<TForm2>(); }},
        {"検索", {388, 183}, true, [&] { return std::make_unique<TForm3>(&picker); }},
        {"再生", {332, 177}, true, [&] { return std::make_unique<TForm4>(prompts, FakeMediaPlayer::on(script)); }},
        {"ログ", {640, 420}, false, [&] { return std::make_unique<TForm5>(fs, prompts, files.logFolder); }},
        {"比較", {340, 141}, true, [&] { return std::make_unique<TForm6>(prompts, main.state().dialogs); }},
        {"バージョン", {363, 206}, true, [&] { return std::make_unique<TForm7>(fs, shell, files.helpFile); }},
        {"入力", {373, 107}, true, [&] { return std::make_unique<TForm8>(prompts); }},
    };
    for (const auto& expected : windows) {
        const std::unique_ptr<QWidget> window = expected.make();
        window->show();
        EXPECT_EQ(window->windowTitle(), expected.caption);
        EXPECT_EQ(window->size(), expected.size) << expected.caption;
        EXPECT_EQ(window->minimumSize() == window->maximumSize(), expected.fixed) << expected.caption;
        if (expected.fixed) {
            const Qt::WindowFlags flags = window->windowFlags();
            EXPECT_TRUE(flags & Qt::WindowCloseButtonHint) << expected.caption;
            EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) << expected.caption;
        }
    }

    main.show();
    EXPECT_EQ(main.windowTitle(), "Listora");
    EXPECT_EQ(main.minimumSize(), QSize(629, 295));
    EXPECT_EQ(main.listView()->columnWidth(0), 160);
    EXPECT_EQ(main.listView()->columnWidth(1), 64);
    EXPECT_EQ(main.listView()->columnWidth(2), 160);
}

}  // namespace
}  // namespace listora::test
