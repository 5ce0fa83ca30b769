#pragma once
// The media back end of Qt Multimedia (GStreamer on Linux). Opening waits
// until the file is loaded or refused, a few seconds at most, while the
// windows go on painting; everything else returns at once.

#include "core/player/media_player.h"

#include <QAudioOutput>
#include <QFile>
#include <QMediaPlayer>
#include <memory>

namespace listora {

class QtMediaPlayer : public MediaPlayer {
public:
    QtMediaPlayer();
    ~QtMediaPlayer() override;

    std::optional<std::string> open(const std::string& path) override;
    void play() override;
    int length() override;
    int position() override;
    void seek(int milliseconds) override;
    void close() override;
    void setLengthListener(std::function<void(int)> listener) override;

private:
    // Made at the first open: the media framework starts only when a file
    // is played, not with every playback window.
    QMediaPlayer& player();
    void setSource(QMediaPlayer& media, const std::string& path);
    void dropPlayer();

    std::unique_ptr<QAudioOutput> audio_;
    std::unique_ptr<QMediaPlayer> player_;
    std::unique_ptr<QFile> file_;  // the open file of a name that is no UTF-8
    std::function<void(int)> lengthListener_;
};

}  // namespace listora
