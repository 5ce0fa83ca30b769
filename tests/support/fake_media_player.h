#pragma once
// A media back end that plays nothing: files whose names the test lists are
// refused, lengths are set by the test, and every call is recorded. It
// stands wherever the playback window needs a back end.

#include "core/player/media_player.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace listora::test {

class FakeMediaPlayer : public MediaPlayer {
public:
    // What the test sets and reads; it outlives the player it is given to.
    struct Script {
        std::map<std::string, std::string> refused;  // path -> error text
        std::map<std::string, int> lengths;          // path -> milliseconds (default 200,000)
        int position = 0;
        std::vector<std::string> calls;  // "open PATH", "play", "seek N", "close"
        std::function<void(int)> lengthListener;
    };

    explicit FakeMediaPlayer(Script& script) : script_(script) {}

    std::optional<std::string> open(const std::string& path) override {
        script_.calls.push_back("open " + path);
        if (const auto refused = script_.refused.find(path); refused != script_.refused.end()) return refused->second;
        const auto length = script_.lengths.find(path);
        length_ = length == script_.lengths.end() ? 200'000 : length->second;
        script_.position = 0;
        return std::nullopt;
    }
    void play() override { script_.calls.push_back("play"); }
    int length() override { return length_; }
    int position() override { return script_.position; }
    void seek(int milliseconds) override {
        script_.calls.push_back("seek " + std::to_string(milliseconds));
        script_.position = milliseconds;
    }
    void close() override { script_.calls.push_back("close"); }
    void setLengthListener(std::function<void(int)> listener) override { script_.lengthListener = std::move(listener); }

    static std::unique_ptr<MediaPlayer> on(Script& script) { return std::make_unique<FakeMediaPlayer>(script); }

private:
    Script& script_;
    int length_ = 0;
};

}  // namespace listora::test
