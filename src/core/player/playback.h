#pragma once
// The playback window's rules without the window: what its progress bar,
// time texts and tick timer show and do for each of its commands. The
// window lays out controls that show this state and forwards its events.

#include "core/player/player.h"

#include <functional>
#include <memory>
#include <string>

namespace listora {

class PathRules;

// A progress bar's range and position; the position is always kept in the
// range, as the bar clamps it.
struct ProgressBar {
    int lower = 0;
    int upper = 100;
    int position = 0;
    bool enabled = false;  // a disabled bar takes no mouse input
    void setPosition(int value);
};

// Where a release at `x` pixels from the bar's left edge seeks to: the
// range times x / 300, truncated toward zero. The bar is 301 pixels wide,
// so its last column stands for the end.
int seekTarget(const ProgressBar& bar, int x);

class Playback {
public:
    explicit Playback(std::unique_ptr<MediaPlayer> backEnd);

    void setFileName(std::string path) { player_.setFileName(std::move(path)); }
    // The title line: the file-name part of the player's file name.
    std::string title(const PathRules& rules) const;

    // "再生": opens the file (a refusal throws and leaves the bar and the
    // timer as they were), plays it from the beginning and sets the bar's
    // range to its length.
    void play();
    // "停止": releases the file; the total text and the title stay.
    void stop();
    // The timer's tick: the elapsed time from the player.
    void tick();
    // A mouse button on the bar: the display freezes while it is held; the
    // release seeks, plays and starts the timer again. Seeking while no
    // file is open throws "MCI デバイスがありません" and leaves the timer stopped.
    void pressOnBar();
    void releaseOnBar(int x);
    // A length that the back end learned after the file was opened; the
    // listener hears of it once the bar's end has moved.
    void lengthArrived(int milliseconds);
    void setLengthShownListener(std::function<void()> listener) { lengthShown_ = std::move(listener); }

    const ProgressBar& bar() const { return bar_; }
    const std::string& positionText() const { return positionText_; }
    const std::string& totalText() const { return totalText_; }
    bool timerRunning() const { return timerRunning_; }
    bool isPlaying() const { return player_.isOpen(); }

private:
    void showLength(int milliseconds);

    Player player_;
    ProgressBar bar_;
    std::string positionText_;
    std::string totalText_;
    bool timerRunning_ = false;
    std::function<void()> lengthShown_;
};

}  // namespace listora
