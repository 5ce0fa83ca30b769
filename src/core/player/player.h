#pragma once
// The player: one connection to a media back end, with the file name to
// play and whether a file is open. Play, length and seek need an open file
// and throw "MCI デバイスがありません" without one; an open that the back end
// refuses throws its text, or "原因不明のエラー" when it has none.

#include "core/player/media_player.h"

#include <memory>
#include <optional>
#include <string>

namespace listora {

class Player {
public:
    explicit Player(std::unique_ptr<MediaPlayer> backEnd);
    // An open file is closed, so the sound stops with the player.
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    void setFileName(std::string path) { fileName_ = std::move(path); }
    const std::string& fileName() const { return fileName_; }
    bool isOpen() const { return open_; }

    // Closes an open file first, so opening again starts from the beginning.
    void open();
    // Plays from the current position; at the very end of a known length it
    // starts again from the beginning.
    void play();
    int length();
    // Nothing while no file is open.
    std::optional<int> position();
    void seek(int milliseconds);
    // Releases the file; the file name stays.
    void close();

    void setLengthListener(std::function<void(int)> listener);

private:
    void requireOpen() const;

    std::unique_ptr<MediaPlayer> backEnd_;
    std::string fileName_;
    bool open_ = false;
};

}  // namespace listora
