#pragma once
// A playlist of numbered rows, as long as a test needs: "#EXTM3U", then
// "#EXTINF:61,Title i" and "/m/i.mp3" for each row, CR LF after each line.

#include <cstddef>
#include <string>

namespace listora::test {

inline std::string numberedPlaylist(std::size_t rows) {
    std::string text = "#EXTM3U\r\n";
    for (std::size_t i = 0; i < rows; ++i) {
        const std::string number = std::to_string(i);
        text.append("#EXTINF:61,Title ").append(number).append("\r\n/m/").append(number).append(".mp3\r\n");
    }
    return text;
}

// Rows enough for the reader to report its progress: past 16 MiB.
constexpr std::size_t kRowsOfALongRead = 450'000;

}  // namespace listora::test
