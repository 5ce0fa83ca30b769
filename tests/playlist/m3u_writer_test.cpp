#include "playlist/m3u_writer.h"

#include "platform/errors.h"
#include "playlist/playlist_fixture.h"

namespace listora::test {
namespace {

class Writer : public PlaylistFixture {};

TEST_F(Writer, WritesKnownLengthsWithTheirFullPathInBothModes) {
    list.appendAll({{"Song", "1:05", "a.mp3", "/m/lists/a.mp3"},
                    {"---", "---", "b.mp3", "/m/lists/live/b.mp3"},
                    {"Far", "62:05", "c.mp3", "/m/rock/c.mp3"},
                    {"---", "---", "d.mp3", "/other/d.mp3"},
                    {"Stream", "-1", "e.mp3", "/m/e.mp3"}});
    EXPECT_EQ(SaveList(list, PathMode::Absolute, "/m/lists/x.m3u", rules),
              crlf({"#EXTM3U", "#EXTINF:65,Song", "/m/lists/a.mp3", "/m/lists/live/b.mp3", "#EXTINF:3725,Far",
                    "/m/rock/c.mp3", "/other/d.mp3", "#EXTINF:-1,Stream", "/m/e.mp3"}));
    EXPECT_EQ(SaveList(list, PathMode::Relative, "/m/lists/x.m3u", rules),
              crlf({"#EXTM3U", "#EXTINF:65,Song", "/m/lists/a.mp3", "live/b.mp3", "#EXTINF:3725,Far", "/m/rock/c.mp3",
                    "../../other/d.mp3", "#EXTINF:-1,Stream", "/m/e.mp3"}));
    MainList empty;
    EXPECT_EQ(SaveList(empty, PathMode::Relative, "/m/x.m3u", rules), "#EXTM3U\r\n");
}

TEST_F(Writer, AnAbsolutePlaylistRoundTripsByteForByte) {
    const std::string original = crlf({"#EXTM3U", "#EXTINF:125,Artist - Title, live", "/m/a/song.mp3", "/m/b/other.mp3",
                                       "#EXTINF:-1,Stream", "/m/c.mp3", "#EXTINF:0,", "/m/\xE8\xA1\xA8/\xFF.mp3"});
    load(dir.write("in.m3u", original));
    const std::string out = dir.path("out.m3u");
    writeFileOrThrow(fs, out, SaveList(list, PathMode::Absolute, out, rules));
    EXPECT_EQ(readFile(out), original);
}

TEST_F(Writer, RelativePlaylistsReadBackToTheSamePaths) {
    list.appendAll(
        {{"---", "---", "b.mp3", dir.path("music/live/b.mp3")}, {"---", "---", "c.mp3", dir.path("rock/c.mp3")}});
    const std::string playlist = dir.path("music/lists/r.m3u");
    dir.makeFolder("music/lists");
    writeFileOrThrow(fs, playlist, SaveList(list, PathMode::Relative, playlist, rules));
    EXPECT_EQ(readFile(playlist), crlf({"#EXTM3U", "../live/b.mp3", "../../rock/c.mp3"}));

    // Plain relative lines resolve against the current directory, so the
    // read is made from the playlist's folder, as a dropped list would be.
    const MainList written = std::move(list);
    list = MainList();
    ASSERT_TRUE(fs.setCurrentDirectory(dir.path("music/lists")));
    load(playlist);
    ASSERT_EQ(list.count(), 2u);
    EXPECT_EQ(list.at(0).fullPath, written.at(0).fullPath);
    EXPECT_EQ(list.at(1).fullPath, written.at(1).fullPath);
}

TEST_F(Writer, AFailedWriteKeepsTheOldFile) {
    const std::string path = dir.write("keep.m3u", "old");
    dir.makeFolder("taken.m3u");
    try {
        writeFileOrThrow(fs, dir.path("taken.m3u"), "#EXTM3U\r\n");
        ADD_FAILURE() << "no error";
    } catch (const ListoraError& error) {
        EXPECT_EQ(error.what(), "ファイル " + dir.path("taken.m3u") + " を作成できません");
    }
    EXPECT_EQ(readFile(path), "old");
}

}  // namespace
}  // namespace listora::test
