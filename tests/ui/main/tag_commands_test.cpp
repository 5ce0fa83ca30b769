#include "support/core_fixture.h"
#include "support/fake_tag_reader.h"
#include "ui/main/main_window.h"

#include <QAction>
#include <QLabel>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>
#include <functional>

namespace listora::test {
namespace {

class TagCommands : public CoreFixture {
protected:
    std::unique_ptr<TForm1> makeForm() {
        auto form = std::make_unique<TForm1>(
            fs, prompts, clock, shell,
            ProgramFiles{dir.path("Inf.ini"), dir.path("Log/"), dir.path("ReadMe.txt"), dir.path("Options.ini")});
        form->show();
        return form;
    }
    static QAction* action(TForm1& form, const char* name) { return form.findChild<QAction*>(name); }
};

// Catches the setting lost on a restart, or offered without a reader.
TEST_F(TagCommands, TheSettingSurvivesARestart) {
    auto form = makeForm();
    EXPECT_FALSE(action(*form, "menuReadTagsOnAdd")->isEnabled());
    EXPECT_FALSE(action(*form, "popupReadTags")->isEnabled());
    form->setTagReader(std::make_shared<FakeTagReader>());
    QAction* setting = action(*form, "menuReadTagsOnAdd");
    EXPECT_FALSE(setting->isChecked());
    setting->trigger();
    EXPECT_TRUE(setting->isChecked());
    EXPECT_EQ(readFile(dir.path("Options.ini")), "ReadTagsOnAdd=1\r\n");

    auto again = makeForm();
    EXPECT_TRUE(again->state().readTagsOnAdd);
    EXPECT_TRUE(action(*again, "menuReadTagsOnAdd")->isChecked());
    EXPECT_TRUE(prompts.shown.empty());
}

// Catches a dialog that never shows, a cancel that is not heard, and rows
// read before the cancel that are lost.
TEST_F(TagCommands, TheDialogShowsAfterHalfASecondAndCancels) {
    auto form = makeForm();
    auto reader = std::make_shared<FakeTagReader>();
    form->setTagReader(reader);
    for (const char* name : {"a.mp3", "b.mp3"}) {
        form->state().list.append({"---", "---", name, dir.path(name)});
        reader->tags[dir.path(name)] = {"T", "", 5};
    }
    reader->held = {dir.path("b.mp3")};
    bool sawDialog = false;
    // The dialog's own event loop runs this once it is up.
    std::function<void()> cancelWhenShown = [&] {
        auto* dialog = form->findChild<QProgressDialog*>("tagReadProgress");
        if (dialog && dialog->isVisible()) {
            sawDialog = true;
            dialog->cancel();
            return;
        }
        QTimer::singleShot(20, cancelWhenShown);
    };
    QTimer::singleShot(0, cancelWhenShown);
    const auto start = std::chrono::steady_clock::now();
    action(*form, "popupReadTags")->trigger();
    reader->release();
    EXPECT_TRUE(sawDialog);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(450));
    EXPECT_EQ(form->state().list.at(0).lengthText(), "0:05");
    EXPECT_EQ(form->state().list.at(1).lengthText(), "---");
    EXPECT_EQ(form->statusLine()->text(), QStringLiteral("1個の曲名と長さを読み込みました（中止）"));
}

}  // namespace
}  // namespace listora::test
