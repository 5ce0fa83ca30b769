#include "core/player/playback.h"

#include "core/paths/path_rules.h"
#include "core/player/play_time_text.h"

#include <algorithm>

namespace listora {

void ProgressBar::setPosition(int value) { position = std::clamp(value, lower, std::max(lower, upper)); }

int seekTarget(const ProgressBar& bar, int x) {
    return static_cast<int>(static_cast<double>(bar.upper - bar.lower) * (static_cast<double>(x) / 300.0));
}

Playback::Playback(std::unique_ptr<MediaPlayer> backEnd) : player_(std::move(backEnd)) {
    player_.setLengthListener([this](int milliseconds) { lengthArrived(milliseconds); });
}

std::string Playback::title(const PathRules& rules) const { return std::string(rules.fileName(player_.fileName())); }

void Playback::showLength(int milliseconds) {
    bar_.lower = 0;
    bar_.upper = milliseconds;
    bar_.setPosition(bar_.position);
    std::string total = PlayTimeText(bar_.upper);
    total.insert(total.begin(), '/');
    totalText_ = std::move(total);
}

void Playback::play() {
    player_.open();
    player_.play();
    showLength(player_.length());
    bar_.enabled = true;
    timerRunning_ = true;
}

void Playback::stop() {
    timerRunning_ = false;
    bar_.enabled = false;
    positionText_.clear();
    player_.close();
    bar_.setPosition(0);
}

void Playback::tick() {
    // With no file open (a refused open after playback) there is no
    // position to show; the display stays as it was.
    const std::optional<int> position = player_.position();
    if (!position) return;
    bar_.setPosition(*position);
    positionText_ = PlayTimeText(bar_.position);
}

// A disabled bar takes no mouse input.
void Playback::pressOnBar() {
    if (bar_.enabled) timerRunning_ = false;
}

void Playback::releaseOnBar(int x) {
    if (!bar_.enabled) return;
    bar_.setPosition(seekTarget(bar_, x));
    player_.seek(bar_.position);
    player_.play();
    timerRunning_ = true;
}

void Playback::lengthArrived(int milliseconds) {
    if (!player_.isOpen() || !bar_.enabled || milliseconds <= 0) return;
    showLength(milliseconds);
    if (lengthShown_) lengthShown_();
}

}  // namespace listora
