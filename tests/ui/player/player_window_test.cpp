#include "ui/player/player_window.h"

#include "support/fake_media_player.h"
#include "support/scripted_prompts.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

class PlayWindow : public testing::Test {
protected:
    FakeMediaPlayer::Script script;
    ScriptedPrompts prompts;
    TForm4 form{prompts, FakeMediaPlayer::on(script)};
};

TEST_F(PlayWindow, LaysOutItsControlsAndStartsIdle) {
    EXPECT_EQ(form.progressBar()->geometry(), QRect(12, 48, 301, 13));
    EXPECT_EQ(form.positionText()->geometry(), QRect(12, 72, 65, 21));
    EXPECT_EQ(form.totalText()->geometry(), QRect(80, 72, 65, 21));
    EXPECT_EQ(form.playButton()->geometry(), QRect(20, 108, 45, 25));
    EXPECT_EQ(form.stopButton()->geometry(), QRect(68, 108, 45, 25));
    EXPECT_EQ(form.closeButton()->geometry(), QRect(240, 108, 45, 25));
    EXPECT_EQ(form.positionText()->font().pixelSize(), 16);
    EXPECT_TRUE(form.positionText()->font().bold());
    EXPECT_FALSE(form.progressBar()->isEnabled());
    EXPECT_EQ(form.progressBar()->maximum(), 100);
    EXPECT_FALSE(form.tickTimer()->isActive());
    EXPECT_EQ(form.tickTimer()->interval(), 1000);
}

TEST_F(PlayWindow, PlaysTicksAndSeeksWhereTheBarIsClicked) {
    form.show();
    form.playFile("/music/Rock/a.mp3");
    EXPECT_EQ(form.titleLine()->text(), "a.mp3");
    EXPECT_TRUE(form.progressBar()->isEnabled());
    EXPECT_EQ(form.progressBar()->maximum(), 200'000);
    EXPECT_EQ(form.totalText()->text(), "/3:20");
    EXPECT_TRUE(form.tickTimer()->isActive());
    script.position = 61'000;
    form.tick();
    EXPECT_EQ(form.positionText()->text(), "1:01");

    // Any button: the press freezes the display, the release seeks and plays.
    QTest::mousePress(form.progressBar(), Qt::RightButton, {}, QPoint(150, 6));
    EXPECT_FALSE(form.tickTimer()->isActive());
    QTest::mouseRelease(form.progressBar(), Qt::RightButton, {}, QPoint(150, 6));
    EXPECT_TRUE(form.tickTimer()->isActive());
    EXPECT_EQ(form.progressBar()->value(), 100'000);
    EXPECT_EQ(script.calls.back(), "play");

    form.stopButton()->click();
    EXPECT_FALSE(form.progressBar()->isEnabled());
    EXPECT_EQ(form.progressBar()->value(), 0);
    EXPECT_EQ(form.positionText()->text(), "");
    EXPECT_EQ(form.totalText()->text(), "/3:20");
    EXPECT_EQ(script.calls.back(), "close");
}

TEST_F(PlayWindow, ARefusalSaysSoOnlyWhenThePlayButtonWasPressed) {
    script.refused["/music/bad.mp3"] = "Could not determine type of stream.";
    form.show();
    form.playFile("/music/bad.mp3");  // the play command is silent
    EXPECT_EQ(form.titleLine()->text(), "bad.mp3");
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(form.progressBar()->isEnabled());
    form.playButton()->click();
    EXPECT_EQ(prompts.shown, std::vector<std::string>{"error: Could not determine type of stream."});
}

TEST(PlayWindowLife, ClosingDuringPlaybackReleasesTheFile) {
    FakeMediaPlayer::Script script;
    ScriptedPrompts prompts;
    auto* form = new TForm4(prompts, FakeMediaPlayer::on(script));
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    form->playFile("/music/a.mp3");
    form->closeButton()->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(script.calls.back(), "close");
}

}  // namespace
}  // namespace listora::test
