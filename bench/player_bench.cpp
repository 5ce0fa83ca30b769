#include "player_bench.h"

#include "measure.h"
#include "ui/media/qt_media_player.h"

#include <QApplication>
#include <QElapsedTimer>
#include <stdexcept>

namespace bench {

PlayerTimings timePlayer(int runs, const std::string& folder) {
    PlayerTimings timings;
    timings.file = folder + "/one-minute.mp3";
    // 1,292 buffers of 1,024 samples at 22,050 Hz: a minute, without a
    // Xing header, so the back end learns the length as it goes.
    runCommand({"gst-launch-1.0", "-q", "audiotestsrc", "num-buffers=1292", "samplesperbuffer=1024", "!",
                "audio/x-raw,rate=22050", "!", "audioconvert", "!", "lamemp3enc", "!", "filesink",
                "location=" + timings.file});
    for (int run = 0; run < runs; ++run) {
        listora::QtMediaPlayer player;
        timings.untilPlaying.push_back(secondsOf([&] {
            if (player.open(timings.file)) throw std::runtime_error("the back end refused the MP3");
            player.play();
            QElapsedTimer bound;
            bound.start();
            while (player.position() == 0) {
                if (bound.elapsed() > 10'000) throw std::runtime_error("the MP3 did not start playing");
                QApplication::processEvents(QEventLoop::AllEvents, 1);
            }
        }));
        player.close();
    }
    return timings;
}

}  // namespace bench
