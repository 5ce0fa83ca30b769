#include "core/player/play_time_text.h"

namespace listora {

std::string PlayTimeText(int milliseconds) {
    const int seconds = milliseconds / 1000;
    const int minutes = seconds / 60;
    if (minutes == 0) return std::to_string(seconds);
    const int rest = seconds % 60;
    return std::to_string(minutes) + (rest < 10 ? ":0" : ":") + std::to_string(rest);
}

}  // namespace listora
