// Catches a Windows playlist's relative lines ("..\\Rock\\c.mp3") read as
// one odd file name on Linux, and a CP932 trailing byte 0x5C taken for "\\".
#include "core/playlist/playlist_line.h"

#include <gtest/gtest.h>

namespace listora {
namespace {

const PathRules kWindows(PathStyle::Windows, CodePage::Cp932);
const PathRules kPosix(PathStyle::Posix, CodePage::Utf8);

TEST(PlaylistLine, ReadsWindowsSeparatorsInLinesWithoutSlash) {
    std::string storage;
    EXPECT_EQ(pathOfPlaylistLine(kPosix, "..\\Rock\\c.mp3", storage), "../Rock/c.mp3");
    EXPECT_EQ(pathOfPlaylistLine(kPosix, "a/b\\c.mp3", storage), "a/b\\c.mp3");  // has a "/": taken as it is
    const PathRules posix932(PathStyle::Posix, CodePage::Cp932);
    const std::string so = "\x83\x5C";  // ソ
    EXPECT_EQ(pathOfPlaylistLine(posix932, "Rock\\" + so + ".mp3", storage), "Rock/" + so + ".mp3");
    EXPECT_EQ(pathOfPlaylistLine(posix932, so + ".mp3", storage), so + ".mp3");
    EXPECT_EQ(pathOfPlaylistLine(kWindows, "..\\Rock\\c.mp3", storage), "..\\Rock\\c.mp3");
}

}  // namespace
}  // namespace listora
