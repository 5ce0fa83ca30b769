#pragma once
// A media back end: one file at a time, played without blocking.

#include <functional>
#include <optional>
#include <string>

namespace listora {

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    // Opens the file at `path` (the system code page) and stands at its
    // start without playing. Nothing on success, else the back end's text
    // of the error (empty when it has none).
    virtual std::optional<std::string> open(const std::string& path) = 0;
    // Plays from where it stands to the end, returning at once.
    virtual void play() = 0;
    // In milliseconds. A length the file's header lacks may be 0 at first
    // and reported later to the length listener.
    virtual int length() = 0;
    virtual int position() = 0;
    // Stands at `milliseconds` and does not play until play() is called.
    virtual void seek(int milliseconds) = 0;
    // Releases the file.
    virtual void close() = 0;

    virtual void setLengthListener(std::function<void(int)> listener) = 0;
};

}  // namespace listora
