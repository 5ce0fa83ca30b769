#include "core/errors/errors.h"
#include "core/files/file_system.h"
#include "core/native/native_file_system.h"
#include "core/playlist/playlist_fixture.h"
#include "core/playlist/playlist_writer.h"
#include "support/faulty_file_system.h"

#include <filesystem>
#include <iterator>

namespace listora::test {
namespace {

// Keeps every piece it is handed, and how many there were.
struct StringSink : ByteSink {
    void write(std::string_view bytes) override {
        text += bytes;
        ++pieces;
    }
    std::string text;
    int pieces = 0;
};

class Writer : public PlaylistFixture {
protected:
    std::string saved(const MainList& rows, PathMode mode, std::string_view path) {
        StringSink sink;
        SaveList(rows, mode, path, rules, sink);
        return sink.text;
    }
};

TEST_F(Writer, WritesKnownLengthsWithTheirFullPathInBothModes) {
    list.appendAll({{"Song", "1:05", "a.mp3", "/m/lists/a.mp3"},
                    {"---", "---", "b.mp3", "/m/lists/live/b.mp3"},
                    {"Far", "62:05", "c.mp3", "/m/rock/c.mp3"},
                    {"---", "---", "d.mp3", "/other/d.mp3"},
                    {"Stream", "-1", "e.mp3", "/m/e.mp3"}});
    EXPECT_EQ(saved(list, PathMode::Absolute, "/m/lists/x.m3u"),
              crlf({"#EXTM3U", "#EXTINF:65,Song", "/m/lists/a.mp3", "/m/lists/live/b.mp3", "#EXTINF:3725,Far",
                    "/m/rock/c.mp3", "/other/d.mp3", "#EXTINF:-1,Stream", "/m/e.mp3"}));
    EXPECT_EQ(saved(list, PathMode::Relative, "/m/lists/x.m3u"),
              crlf({"#EXTM3U", "#EXTINF:65,Song", "/m/lists/a.mp3", "live/b.mp3", "#EXTINF:3725,Far", "/m/rock/c.mp3",
                    "../../other/d.mp3", "#EXTINF:-1,Stream", "/m/e.mp3"}));
    MainList empty;
    EXPECT_EQ(saved(empty, PathMode::Relative, "/m/x.m3u"), "#EXTM3U\r\n");
}

TEST_F(Writer, AnAbsolutePlaylistRoundTripsByteForByte) {
    const std::string original = crlf({"#EXTM3U", "#EXTINF:125,Artist - Title, live", "/m/a/song.mp3", "/m/b/other.mp3",
                                       "#EXTINF:-1,Stream", "/m/c.mp3", "#EXTINF:0,", "/m/\xE8\xA1\xA8/\xFF.mp3"});
    load(dir.write("in.m3u", original));
    const std::string out = dir.path("out.m3u");
    writePlaylist(fs, list, PathMode::Absolute, out, rules);
    EXPECT_EQ(readFile(out), original);
}

TEST_F(Writer, RelativePlaylistsReadBackToTheSamePaths) {
    list.appendAll(
        {{"---", "---", "b.mp3", dir.path("music/live/b.mp3")}, {"---", "---", "c.mp3", dir.path("rock/c.mp3")}});
    const std::string playlist = dir.path("music/lists/r.m3u");
    dir.makeFolder("music/lists");
    writePlaylist(fs, list, PathMode::Relative, playlist, rules);
    EXPECT_EQ(readFile(playlist), crlf({"#EXTM3U", "../live/b.mp3", "../../rock/c.mp3"}));

    // Plain relative lines resolve against the current directory, so the
    // read is made from the playlist's folder, as a dropped list would be.
    const MainList written = std::move(list);
    list = MainList();
    ASSERT_TRUE(fs.setCurrentDirectory(dir.path("music/lists")));
    load(playlist);
    ASSERT_EQ(list.count(), 2u);
    EXPECT_EQ(list.at(0).fullPath(), written.at(0).fullPath());
    EXPECT_EQ(list.at(1).fullPath(), written.at(1).fullPath());
}

// Catches an address made relative to the playlist's folder on saving.
TEST_F(Writer, AddressesAreWrittenAsReadInBothModes) {
    const std::string original = crlf({"#EXTM3U", "http://h:8000/live", "#EXTINF:-1,R", "mms://h/a%20b"});
    load(dir.write("in.m3u", original));
    for (const PathMode mode : {PathMode::Absolute, PathMode::Relative})
        EXPECT_EQ(saved(list, mode, dir.path("in.m3u")), original);
}

// Catches a UTF-8 playlist read in the system's code page on a CP932 system
// (every name turned to other bytes), a line that does not convert taken
// with substitutes (another file's name), a byte order mark taken for a
// missing header, and a .m3u8 written back in CP932.
TEST_F(Writer, AnM3u8IsUtf8WhateverTheCodePage) {
    NativeFileSystem cp932(CodePage::Cp932, CodePage::Utf8);
    const PathRules cp932Rules(PathStyle::Posix, CodePage::Cp932);
    const std::string kyoku = "/m/\xE6\x9B\xB2.mp3";  // has a CP932 form
    const std::string path = dir.write("L.M3U8", "\xEF\xBB\xBF" + crlf({"#EXTM3U", "#EXTINF:61,\xE6\x9B\xB2", kyoku,
                                                                        "/m/\xC3\xA9.mp3", "/m/plain.mp3"}));
    LoadToFile(list, currentFile, {cp932, prompts, cp932Rules}, path);
    EXPECT_EQ(column(0), (std::vector<std::string>{"\x8B\xC8", "---"}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"/m/\x8B\xC8.mp3", "/m/plain.mp3"}));
    EXPECT_EQ(prompts.shown,
              std::vector<std::string>{"info: 1個のファイルは名前に扱えない文字があるため追加しませんでした"});
    writePlaylist(cp932, list, PathMode::Absolute, dir.path("out.m3u8"), cp932Rules);
    EXPECT_EQ(readFile(dir.path("out.m3u8")), crlf({"#EXTM3U", "#EXTINF:61,\xE6\x9B\xB2", kyoku, "/m/plain.mp3"}));
    writePlaylist(cp932, list, PathMode::Absolute, dir.path("out.m3u"), cp932Rules);
    EXPECT_EQ(readFile(dir.path("out.m3u")),
              crlf({"#EXTM3U", "#EXTINF:61,\x8B\xC8", "/m/\x8B\xC8.mp3", "/m/plain.mp3"}));
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

// A large list goes out in pieces, and a write that breaks off part way
// leaves the old file as it was, with nothing left beside it.
TEST_F(Writer, ALargeListIsWrittenInPiecesAndABrokenWriteKeepsTheOldFile) {
    std::vector<PlaylistEntry> rows;
    std::string expected = "#EXTM3U\r\n";
    for (int i = 0; i < 40000; ++i) {
        const std::string path = "/music/album " + std::to_string(i % 97) + "/track " + std::to_string(i) + ".mp3";
        rows.push_back({"Title " + std::to_string(i), "1:00", "track.mp3", path});
        expected += "#EXTINF:60,Title " + std::to_string(i) + "\r\n" + path + "\r\n";
    }
    list.appendAll(std::move(rows));
    StringSink sink;
    SaveList(list, PathMode::Absolute, "/music/x.m3u", rules, sink);
    EXPECT_EQ(sink.text, expected);
    EXPECT_GE(sink.pieces, 2);

    const std::string path = dir.write("big.m3u", "old");
    FaultyFileSystem breaking;
    breaking.cutWrite(1, expected.size() / 2);
    EXPECT_THROW(writePlaylist(breaking, list, PathMode::Absolute, path, rules), ListoraError);
    EXPECT_EQ(readFile(path), "old");
    const auto entries = std::filesystem::directory_iterator(dir.path(""));
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);  // no temporary file left
    writePlaylist(breaking, list, PathMode::Absolute, path, rules);
    EXPECT_EQ(readFile(path), expected);
}

}  // namespace
}  // namespace listora::test
