#pragma once

#include <cstddef>
#include <string>

namespace bench {

struct FixtureSize {
    std::size_t rows = 0;
    std::size_t playlistBytes = 0;
    std::size_t titleBytes = 0;
};

// Writes a playlist of `rows` entries ("#EXTM3U", CR LF, every other entry
// with an #EXTINF line, every tenth title Japanese) and beside it the title
// column of the same rows, one per line, as the list will show it: the
// #EXTINF title, or "---" for a plain path line. The same seed gives the same
// bytes on every run.
FixtureSize writeFixture(const std::string& playlistPath, const std::string& titlesPath, std::size_t rows);

}  // namespace bench
