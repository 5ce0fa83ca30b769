// Catches XSPF tracks read into the wrong rows (locations not decoded or not
// against the playlist's folder, durations not in seconds, tracks of other
// applications' extensions taken), broken files that append rows or are
// reported without their place, and M3U → PLS/XSPF → M3U conversions that
// change a title, a length or a path.
#include "core/errors/errors.h"
#include "core/playlist/convert_playlist.h"
#include "core/playlist/playlist_fixture.h"

#include <gtest/gtest.h>

namespace listora::test {
namespace {

class Xspf : public PlaylistFixture {
protected:
    std::string xspf(const std::string& tracks) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">"
               "<title>not a row</title><trackList>" +
               tracks + "</trackList></playlist>\n";
    }
};

TEST_F(Xspf, ReadsTracksAsRows) {
    const std::string path = dir.write(
        "list.xspf",
        xspf("<track><location>file:///m/A%20B/01.mp3</location><title>One &amp; two</title>"
             "<duration>205400</duration></track>"
             "<track><title>no location</title></track>"
             "<track>\n  <location>\n    sub/%E8%A1%A8.mp3\n  </location>\n  <duration>-1</duration></track>"
             "<track><location>http://radio.example/live?x=1</location><location>/m/second.mp3</location>"
             "<extension application=\"x\"><track><location>/m/inner.mp3</location></track></extension></track>"));
    load(path);
    EXPECT_EQ(column(0), (std::vector<std::string>{"One & two", "---", "---"}));
    EXPECT_EQ(column(1), (std::vector<std::string>{"3:25", "-1", "---"}));
    EXPECT_EQ(column(2), (std::vector<std::string>{"01.mp3", "\xE8\xA1\xA8.mp3", "live"}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"/m/A B/01.mp3", dir.path() + "/sub/\xE8\xA1\xA8.mp3",
                                                   "http://radio.example/live?x=1"}));
}

TEST_F(Xspf, BrokenFilesAppendNothingAndSayWhere) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {xspf("<track><location>/m/a.mp3</location></track>").substr(0, 150), "行"},  // cut mid-element
        {"<?xml version=\"1.0\"?>\n<html><body/></html>", "2 行 1 桁目"},
        {xspf("<track><location>/m/a.mp3</location><duration>3:25</duration></track>"), "桁目"},
        {std::string("\0\1\2binary", 9), "1 行"},
        {"", "1 行"},
    };
    for (const auto& [text, where] : cases) {
        SCOPED_TRACE(where + " in " + text);
        list.clear();
        const std::string path = dir.write("bad.xspf", text);
        try {
            load(path);
            ADD_FAILURE() << "no error";
        } catch (const ListoraError& error) {
            EXPECT_NE(std::string(error.what()).find(path + " の "), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find(where), std::string::npos) << error.what();
        }
        EXPECT_EQ(list.count(), 0u);
    }
}

TEST_F(Xspf, ConversionsThroughPlsAndXspfKeepEveryRow) {
    const std::string original =
        crlf({"#EXTM3U", "#EXTINF:125,Artist - Title, <live> & more", "/m/a/100% song.mp3", "/m/b/plain #1.mp3",
              "#EXTINF:-1,Radio", "http://radio.example:8000/live.mp3", "#EXTINF:0,", "/m/\xE8\xA1\xA8/\xFF name.mp3",
              "#EXTINF:3725,---", "/m/c:d.mp3"});
    const std::string m3u = dir.write("in.m3u", original);
    for (const char* middle : {"mid.pls", "mid.xspf"}) {
        for (const PathMode mode : {PathMode::Absolute, PathMode::Relative}) {
            SCOPED_TRACE(std::string(middle) + (mode == PathMode::Absolute ? " absolute" : " relative"));
            ASSERT_EQ(convertPlaylist({fs, prompts, rules}, m3u, dir.path(middle), mode), ConversionOutcome::Written);
            ASSERT_EQ(convertPlaylist({fs, prompts, rules}, dir.path(middle), dir.path("out.m3u"), PathMode::Absolute),
                      ConversionOutcome::Written);
            EXPECT_EQ(readFile(dir.path("out.m3u")), original);
        }
    }
}

}  // namespace
}  // namespace listora::test
