#include "fixture.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string_view>

namespace bench {
namespace {

// mt19937_64's sequence is fixed by the C++ standard, unlike the
// distributions, so values are drawn with plain remainders.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : engine_(seed) {}
    unsigned below(unsigned bound) { return static_cast<unsigned>(engine_() % bound); }
    template <typename T, std::size_t N>
    const T& pick(const std::array<T, N>& items) {
        return items[below(N)];
    }

private:
    std::mt19937_64 engine_;
};

// Mixed case so that the case-insensitive orders have something to fold.
constexpr std::array<std::string_view, 4> kArtistWords = {"Artist", "artist", "ARTIST", "The Artist"};
constexpr std::array<std::string_view, 12> kSongWords = {
    "Song Title", "song title", "Blue Morning", "night drive", "Echoes",           "Zebra Crossing",
    "Afterglow",  "ocean Eyes", "Paper Moon",   "Quiet Storm", "Yesterday's Rain", "Make It Real"};
constexpr std::array<std::string_view, 10> kJapaneseFirst = {"桜の",   "夜明けの", "東京の", "海辺の", "青い",
                                                             "静かな", "雨の",     "星空の", "約束の", "風の"};
constexpr std::array<std::string_view, 8> kJapaneseSecond = {"歌",       "物語", "メロディー", "ワルツ",
                                                             "ララバイ", "記憶", "旅路",       "手紙"};

std::string number(const char* format, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Appends to a buffer and writes it out in large blocks.
class BlockWriter {
public:
    explicit BlockWriter(const std::string& path) : out_(path, std::ios::binary | std::ios::trunc) {
        if (!out_) throw std::runtime_error("cannot create " + path);
        buffer_.reserve(kBlock + 1024);
    }
    void line(std::string_view text, std::string_view end) {
        buffer_ += text;
        buffer_ += end;
        written_ += text.size() + end.size();
        if (buffer_.size() >= kBlock) flush();
    }
    std::size_t finish() {
        flush();
        out_.close();
        if (!out_) throw std::runtime_error("cannot write the fixture");
        return written_;
    }

private:
    static constexpr std::size_t kBlock = 1 << 20;
    void flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }
    std::ofstream out_;
    std::string buffer_;
    std::size_t written_ = 0;
};

}  // namespace

FixtureSize writeFixture(const std::string& playlistPath, const std::string& titlesPath, std::size_t rows) {
    Dice dice(20240611);
    BlockWriter playlist(playlistPath);
    BlockWriter titles(titlesPath);
    playlist.line("#EXTM3U", "\r\n");

    std::size_t titleCount = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        const unsigned artist = dice.below(10000);
        const unsigned album = dice.below(1000);
        const unsigned song = dice.below(1000);
        const bool withInformation = row % 2 == 0;
        const bool japanese = withInformation && titleCount++ % 10 == 9;

        std::string songName;
        std::string title;
        if (japanese) {
            songName = std::string(dice.pick(kJapaneseFirst)) + std::string(dice.pick(kJapaneseSecond)) + " " +
                       std::to_string(song);
            title = "アーティスト" + std::to_string(artist) + " - " + songName;
        } else {
            songName = std::string(dice.pick(kSongWords)) + " " + std::to_string(song);
            title = std::string(dice.pick(kArtistWords)) + " " + std::to_string(artist) + " - " + songName;
        }
        const std::string path = "/home/user/Music/Artist " + number("%04u", artist) + "/Album " +
                                 number("%03u", album) + "/" + number("%07u", static_cast<unsigned>(row)) + " " +
                                 songName + ".mp3";

        if (withInformation) {
            // 30 s to 10:00, so the length column's "m:ss" round trip is exercised.
            playlist.line("#EXTINF:" + std::to_string(30 + dice.below(571)) + "," + title, "\r\n");
            titles.line(title, "\n");
        } else {
            titles.line("---", "\n");
        }
        playlist.line(path, "\r\n");
    }
    return FixtureSize{rows, playlist.finish(), titles.finish()};
}

}  // namespace bench
