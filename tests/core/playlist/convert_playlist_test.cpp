// Catches a conversion that writes other rows than the window would save
// after opening the file (rows lost, reordered or doubled between the two
// threads, rows without a file name kept), and one that leaves a changed or
// partial file behind when the read is refused, breaks off or cannot be
// written.
#include "core/playlist/convert_playlist.h"

#include "core/errors/errors.h"
#include "core/files/file_system.h"
#include "core/playlist/playlist_fixture.h"
#include "support/faulty_file_system.h"

#include <gtest/gtest.h>

namespace listora::test {
namespace {

class Conversion : public PlaylistFixture {
protected:
    // A playlist of several read pieces: most lines full paths, some
    // relative, one information line whose path has no file name.
    std::string playlist() const {
        std::string text = "#EXTM3U\r\n";
        for (int i = 0; i < 40000; ++i) {
            if (i % 1000 == 7) text += "#EXTINF:12,No name\r\n/music/\r\n";
            text += "#EXTINF:" + std::to_string(60 + i % 300) + ",Title " + std::to_string(i) + "\r\n";
            text += i % 3 ? "/music/Album " + std::to_string(i % 97) + "/" + std::to_string(i) + ".mp3\r\n"
                          : "rel/" + std::to_string(i) + ".mp3\r\n";
        }
        return text;
    }

    // What the window saves after opening `in` (which drops rows without a
    // file name).
    std::string savedByTheWindow(const std::string& in, PathMode mode) {
        load(in);
        writePlaylist(fs, list, mode, dir.path() + "/window.m3u", rules);
        return *fs.readWholeFile(dir.path() + "/window.m3u");
    }
};

TEST_F(Conversion, WritesWhatTheWindowSavesAfterOpeningTheFile) {
    const std::string in = dir.path() + "/in.m3u";
    ASSERT_TRUE(fs.writeWholeFile(in, playlist()));
    for (const PathMode mode : {PathMode::Absolute, PathMode::Relative}) {
        const std::string out = dir.path() + "/out.m3u";
        EXPECT_EQ(convertPlaylist({fs, prompts, rules}, in, out, mode), ConversionOutcome::Written);
        EXPECT_EQ(*fs.readWholeFile(out), savedByTheWindow(in, mode));
        list.clear();
    }
}

TEST_F(Conversion, ARefusedBrokenOrUnwritableReadLeavesTheOldFile) {
    const std::string in = dir.path() + "/in.m3u";
    const std::string out = dir.path() + "/out.m3u";
    ASSERT_TRUE(fs.writeWholeFile(out, "old"));

    ASSERT_TRUE(fs.writeWholeFile(in, "/music/a.mp3\r\n"));  // no header: the user says no
    prompts.answer(Answer::No);
    EXPECT_EQ(convertPlaylist({fs, prompts, rules}, in, out, PathMode::Absolute), ConversionOutcome::Refused);
    EXPECT_EQ(*fs.readWholeFile(out), "old");

    const std::string text = playlist();
    ASSERT_TRUE(fs.writeWholeFile(in, text));
    FaultyFileSystem breaking;
    breaking.cutStream(1, text.size() * 3 / 4);
    EXPECT_THROW(convertPlaylist({breaking, prompts, rules}, in, out, PathMode::Absolute), ListoraError);
    EXPECT_EQ(*fs.readWholeFile(out), "old");

    FaultyFileSystem full;
    full.cutWrite(1, 100000);
    EXPECT_THROW(convertPlaylist({full, prompts, rules}, in, out, PathMode::Absolute), ListoraError);
    EXPECT_EQ(*fs.readWholeFile(out), "old");
}

}  // namespace
}  // namespace listora::test
