#pragma once

#include <string>
#include <vector>

namespace bench {

struct PlayerTimings {
    std::vector<double> untilPlaying;  // open and play until the position moves
    std::string file;                  // what was played
};

// A local MP3 of about a minute, made with GStreamer's own encoder in
// `folder`, opened and played by the media back end until its position has
// moved, each run with a new back end as each playback window has. Needs a
// QApplication; empty when gst-launch-1.0 is missing.
PlayerTimings timePlayer(int runs, const std::string& folder);

}  // namespace bench
