#include "core/player/playback.h"

#include "core/errors/errors.h"
#include "core/paths/path_rules.h"
#include "core/player/play_entry.h"
#include "core/player/play_time_text.h"
#include "core/playlist/main_list.h"
#include "support/core_fixture.h"
#include "support/fake_media_player.h"

#include <gtest/gtest.h>

namespace listora::test {
namespace {

TEST(PlayTimeText, SecondsAloneUnderAMinuteThenMinutesWithoutLimit) {
    const std::pair<int, const char*> cases[] = {
        {0, "0"},         {9'999, "9"},       {59'999, "59"},      {60'000, "1:00"},
        {65'432, "1:05"}, {754'000, "12:34"}, {3'723'000, "62:03"}};
    for (const auto& [milliseconds, text] : cases) EXPECT_EQ(PlayTimeText(milliseconds), text) << milliseconds;
}

TEST(SeekTarget, TheLastColumnStandsForTheEndAndTheBarClampsTheRest) {
    ProgressBar bar;
    bar.upper = 200'000;
    const std::pair<int, int> cases[] = {{150, 100'000}, {299, 199'333}, {300, 200'000}, {400, 200'000}, {-5, 0}};
    for (const auto& [x, target] : cases) {
        bar.setPosition(seekTarget(bar, x));
        EXPECT_EQ(bar.position, target) << x;
    }
}

class PlaybackRules : public testing::Test {
protected:
    FakeMediaPlayer::Script script;
    std::unique_ptr<Playback> playback = std::make_unique<Playback>(FakeMediaPlayer::on(script));
};

TEST_F(PlaybackRules, PlayTickSeekStopAndPlayAgain) {
    EXPECT_FALSE(playback->bar().enabled);
    EXPECT_EQ(playback->bar().upper, 100);
    playback->setFileName("/music/a.mp3");
    EXPECT_EQ(playback->title(PathRules(PathStyle::Posix, CodePage::Utf8)), "a.mp3");
    script.lengths["/music/a.mp3"] = 207'000;
    playback->play();
    EXPECT_TRUE(playback->bar().enabled);
    EXPECT_TRUE(playback->timerRunning());
    EXPECT_EQ(playback->bar().upper, 207'000);
    EXPECT_EQ(playback->totalText(), "/3:27");
    EXPECT_EQ(playback->positionText(), "");  // until the first tick

    script.position = 65'432;
    playback->tick();
    EXPECT_EQ(playback->positionText(), "1:05");
    EXPECT_EQ(playback->bar().position, 65'432);

    playback->pressOnBar();
    EXPECT_FALSE(playback->timerRunning());
    playback->releaseOnBar(300);  // the end: the play that follows starts again at 0
    EXPECT_TRUE(playback->timerRunning());
    EXPECT_EQ(script.calls, (std::vector<std::string>{"open /music/a.mp3", "play", "seek 207000", "seek 0", "play"}));

    playback->stop();
    EXPECT_FALSE(playback->bar().enabled);
    EXPECT_FALSE(playback->timerRunning());
    EXPECT_EQ(playback->bar().position, 0);
    EXPECT_EQ(playback->positionText(), "");
    EXPECT_EQ(playback->totalText(), "/3:27");  // the total and the title stay
    EXPECT_EQ(script.calls.back(), "close");

    // Playing again, and playing during playback, open the file anew from its start.
    playback->play();
    playback->play();
    EXPECT_EQ(std::count(script.calls.begin(), script.calls.end(), "close"), 2);
    EXPECT_EQ(script.calls.back(), "play");
}

TEST_F(PlaybackRules, ARefusedOpenKeepsTheBarAndTimerAndSeekingThenHasNoDevice) {
    playback->setFileName("/music/a.mp3");
    playback->play();
    script.position = 5'000;
    playback->tick();
    script.refused["/music/bad.mp3"] = "Could not determine type of stream.";
    playback->setFileName("/music/bad.mp3");
    try {
        playback->play();
        FAIL() << "a refused file played";
    } catch (const ListoraError& error) {
        EXPECT_STREQ(error.what(), "Could not determine type of stream.");
    }
    EXPECT_EQ(script.calls.back(), "open /music/bad.mp3");  // the file that played was closed first
    EXPECT_TRUE(playback->bar().enabled);
    EXPECT_TRUE(playback->timerRunning());
    playback->tick();  // no position to show: the display stays
    EXPECT_EQ(playback->positionText(), "5");

    playback->pressOnBar();
    EXPECT_THROW(playback->releaseOnBar(150), ListoraError);
    EXPECT_FALSE(playback->timerRunning());

    script.refused["/music/bad.mp3"] = "";
    try {
        playback->play();
        FAIL() << "a refused file played";
    } catch (const ListoraError& error) {
        EXPECT_STREQ(error.what(), "原因不明のエラー");
    }
}

TEST_F(PlaybackRules, ALateLengthMovesTheBarsEndAndClosingThePlayerStopsTheSound) {
    script.lengths["/music/noxing.mp3"] = 0;
    playback->setFileName("/music/noxing.mp3");
    playback->play();
    EXPECT_EQ(playback->totalText(), "/0");
    EXPECT_EQ(playback->bar().upper, 0);
    playback->releaseOnBar(150);  // a file of length 0: every click seeks to 0
    EXPECT_EQ(script.calls.back(), "play");
    EXPECT_EQ(script.calls[script.calls.size() - 2], "seek 0");
    script.lengthListener(45'500);
    EXPECT_EQ(playback->bar().upper, 45'500);
    EXPECT_EQ(playback->totalText(), "/45");

    playback.reset();
    EXPECT_EQ(script.calls.back(), "close");
}

// Catches a click on the disabled bar that seeks (and reports no device), an
// MP3 whose length is not known yet sent to its end by a rewind before it
// plays, and a window opened with no file that waits for the back end.
TEST_F(PlaybackRules, ADisabledBarTakesNoClicksAnUnknownLengthIsNotRewoundAndNoFileIsRefusedAtOnce) {
    playback->pressOnBar();
    EXPECT_NO_THROW(playback->releaseOnBar(150));
    EXPECT_TRUE(script.calls.empty());
    EXPECT_EQ(playback->bar().position, 0);

    script.lengths["/music/noxing.mp3"] = 0;
    playback->setFileName("/music/noxing.mp3");
    playback->play();
    EXPECT_EQ(script.calls, (std::vector<std::string>{"open /music/noxing.mp3", "play"}));

    playback->stop();
    script.calls.clear();
    playback->pressOnBar();
    EXPECT_NO_THROW(playback->releaseOnBar(150));
    EXPECT_TRUE(script.calls.empty());
    EXPECT_FALSE(playback->timerRunning());

    playback->setFileName("");
    try {
        playback->play();
        FAIL() << "nothing played";
    } catch (const ListoraError& error) {
        EXPECT_STREQ(error.what(), "原因不明のエラー");
    }
    EXPECT_TRUE(script.calls.empty());  // the back end was not asked
}

class PlayEntry : public CoreFixture {};

TEST_F(PlayEntry, TheFirstSelectedRowsFileOrAMessage) {
    MainList list;
    const std::string file = dir.write("b.mp3", "x");
    dir.makeFolder("folder.mp3");
    list.appendAll({PlaylistEntry{"a", "---", "a.mp3", dir.path("a.mp3")},
                    PlaylistEntry{"f", "---", "folder.mp3", dir.path("folder.mp3")},
                    PlaylistEntry{"b", "---", "b.mp3", file}});
    EXPECT_EQ(entryToPlay(list, fs, prompts), std::nullopt);  // none selected: nothing, nothing said
    EXPECT_TRUE(prompts.shown.empty());
    list.setSelected(2, true);
    list.setSelected(1, true);
    EXPECT_EQ(entryToPlay(list, fs, prompts), std::nullopt);  // a folder is no file
    list.setSelected(1, false);
    list.setSelected(0, true);
    EXPECT_EQ(entryToPlay(list, fs, prompts), std::nullopt);
    EXPECT_EQ(prompts.shown, (std::vector<std::string>(2, "info: 指定ファイルが見つかりません")));
    list.setSelected(0, false);
    EXPECT_EQ(entryToPlay(list, fs, prompts), file);
    // An address is handed on as it is: nothing local can be looked for.
    list.append({"r", "-1", "live", "http://h:8000/live"});
    list.setSelected(2, false);
    list.setSelected(3, true);
    EXPECT_EQ(entryToPlay(list, fs, prompts), "http://h:8000/live");
}

}  // namespace
}  // namespace listora::test
