#include "core/playlist/gatherer.h"

#include "core/errors/errors.h"
#include "core/native/native_file_system.h"
#include "core/playlist/playlist_fixture.h"
#include "support/faulty_file_system.h"
#include "support/fixed_ports.h"

#include <filesystem>

namespace listora::test {
namespace {

using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

class Gather : public PlaylistFixture {
protected:
    void drop(std::initializer_list<std::string> paths) {
        for (const std::string& path : paths) queue.push_back(path);
        DragFileAdd(list, currentFile, queue, {files, prompts, status, rules});
    }
    Texts paths() const {
        Texts out;
        for (const auto& row : list.rows()) out.emplace_back(row.fullPath().substr(dir.path().size() + 1));
        return out;
    }

    FaultyFileSystem files;
    std::deque<std::string> queue;
};

TEST_F(Gather, WalksDroppedFoldersBreadthFirstInNameOrder) {
    dir.write("A/b.mp3", "x");
    dir.write("A/a.MP3", "x");
    dir.write("A/sub/deep.mp3", "x");
    dir.write("A/sub/more/deeper.mp3", "x");
    dir.write("B/c.wave", "x");
    dir.write("B/d.wav", "x");
    dir.write("B/notes.txt", "x");
    dir.write("B/Vol.1/e.mp3", "x");
    drop({dir.path("A"), dir.path("B")});
    EXPECT_EQ(paths(),
              (Texts{"A/a.MP3", "A/b.mp3", "B/c.wave", "A/sub/deep.mp3", "B/Vol.1/e.mp3", "A/sub/more/deeper.mp3"}));
    EXPECT_EQ(column(0), Texts(6, "---"));
    EXPECT_EQ(column(1), Texts(6, "---"));
    EXPECT_EQ(list.at(0).fileName(), "a.MP3");
    EXPECT_TRUE(queue.empty());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(Gather, DroppedFilesCountOnlyWithAnExtensionAndASize) {
    const std::string full = dir.write("full.mp3", "x");
    const std::string empty = dir.write("empty.mp3", "");
    dir.write("folder/empty-inside.mp3", "");
    const std::string wav = dir.write("a.wav", "x");
    drop({full, empty, wav, dir.path("folder"), full});
    EXPECT_EQ(paths(), (Texts{"full.mp3", "folder/empty-inside.mp3", "full.mp3"}));
}

TEST_F(Gather, HiddenFoldersAndLinksAreNeverWalked) {
    dir.write("top/.hidden/a.mp3", "x");
    dir.write("top/.b.mp3", "x");  // a hidden music file is still one
    dir.write("elsewhere/c.mp3", "x");
    fs::create_directory_symlink(dir.path("elsewhere"), dir.path("top/linked"));
    fs::create_directory_symlink(dir.path("top"), dir.path("top/loop"));  // a cycle must end
    fs::create_symlink(dir.path("elsewhere/c.mp3"), dir.path("top/song.mp3"));
    drop({dir.path("top")});
    EXPECT_EQ(paths(), (Texts{"top/.b.mp3", "top/song.mp3"}));
}

TEST_F(Gather, DroppedPlaylistsAreReadInDropOrder) {
    const std::string music = dir.write("x.mp3", "x");
    const std::string playlist = dir.write("lists/list.m3u", crlf({"#EXTM3U", "#EXTINF:5,t", "a.mp3"}));
    const std::string upper = dir.write("lists/LIST.M3U", crlf({"#EXTM3U", "b.mp3"}));
    const std::string empty = dir.write("lists/empty.m3u", "");
    currentFile = "/before.m3u";
    drop({music, empty, upper});
    EXPECT_EQ(currentFile, "/before.m3u");
    drop({music, playlist, music});
    EXPECT_EQ(paths(), (Texts{"x.mp3", "x.mp3", "lists/a.mp3", "x.mp3"}));
    EXPECT_EQ(list.at(2).title(), "t");
    EXPECT_EQ(currentFile, playlist);
}

TEST_F(Gather, APlaylistErrorLeavesTheRestQueuedForTheNextDrop) {
    const std::string bad = dir.write("bad.m3u", crlf({"#EXTM3U", "#EXTINF:x,t", "a.mp3"}));
    const std::string later = dir.write("later.mp3", "x");
    EXPECT_THROW(drop({dir.write("first.mp3", "x"), bad, later}), ListoraError);
    EXPECT_EQ(paths(), Texts{"first.mp3"});
    EXPECT_EQ(queue, std::deque<std::string>{later});
    drop({dir.write("next.mp3", "x")});
    EXPECT_EQ(paths(), (Texts{"first.mp3", "later.mp3", "next.mp3"}));
}

TEST_F(Gather, ABrokenListingIsReportedAndTheWalkGoesOn) {
    dir.write("a/1.mp3", "x");
    dir.write("a/2.mp3", "x");
    dir.write("b/3.mp3", "x");
    files.breakListing(dir.path("a"), 1);
    drop({dir.path("a"), dir.path("b"), dir.path("missing")});
    EXPECT_EQ(paths(), (Texts{"a/1.mp3", "b/3.mp3"}));
    EXPECT_EQ(prompts.shown, Texts{"info: ファイルの取得に失敗しました。"});
}

TEST_F(Gather, NamesWithLineBreaksAreSkipped) {
    dir.write("f/bad\nname.mp3", "x");
    dir.write("f/good.mp3", "x");
    drop({dir.path("f"), dir.path("f/bad\nname.mp3")});
    EXPECT_EQ(paths(), Texts{"f/good.mp3"});
    EXPECT_EQ(prompts.shown, Texts{"info: 2個のファイルは名前に扱えない文字があるため追加しませんでした"});
}

// The program in CP932 over a UTF-8 file system: "é" and U+FFFD have no
// CP932 form. A substitute would turn "é.mp3" into another file's name.
TEST_F(Gather, NamesTheCodePageCannotHoldAreLeftOutAndNeverReachAnotherFile) {
    dir.write("f/\xC3\xA9.mp3", "e acute");
    dir.write("f/\xEF\xBF\xBD.mp3", "replacement character");
    dir.write("f/\xE6\x9B\xB2.mp3", "kyoku");
    NativeFileSystem cp932(CodePage::Cp932, CodePage::Utf8);
    const PathRules cp932Rules(PathStyle::Posix, CodePage::Cp932);
    queue.push_back(dir.path("f"));
    queue.push_back("");  // a dropped name that did not convert
    DragFileAdd(list, currentFile, queue, {cp932, prompts, status, cp932Rules});
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(list.at(0).fileName(), "\x8B\xC8.mp3");
    EXPECT_EQ(prompts.shown, Texts{"info: 3個のファイルは名前に扱えない文字があるため追加しませんでした"});

    // 0xFC 0xFC, what a substitute looked like, names no file at all.
    dir.makeFolder("d");
    EXPECT_FALSE(cp932.moveFile(dir.path("f/\xFC\xFC.mp3"), dir.path("d/x.mp3")));
    EXPECT_TRUE(fs::exists(dir.path("f/\xEF\xBF\xBD.mp3")));
    EXPECT_TRUE(fs::is_empty(dir.path("d")));
}

// Catches a playlist handed over by name in capitals left unread, and a
// drop's own rule changed by it.
TEST_F(Gather, APlaylistHandedOverByNameIsReadInAnyCase) {
    const std::string list_ = dir.write("LIST.M3U", crlf({"#EXTM3U", dir.path("a.mp3")}));
    drop({list_});
    EXPECT_EQ(list.count(), 0u);
    const std::unordered_set<std::string> byName{list_};
    queue.push_back(list_);
    DragFileAdd(list, currentFile, queue, {files, prompts, status, rules, nullptr, &byName});
    EXPECT_EQ(paths(), Texts{"a.mp3"});
    EXPECT_EQ(currentFile, list_);
}

// Catches a type of the list missed, a case not folded, or a longer
// extension that merely contains one taken.
TEST_F(Gather, TheOtherMusicTypesAreTheirExtensionsExactlyInAnyCase) {
    for (const char* music :
         {"a.flac", "a.OGG", "a.oga", "a.Opus", "a.m4a", "a.aac", "a.WAV", "a.wma", "a.aiff", "a.ape", "a.wv"})
        EXPECT_TRUE(isOtherMusicFile(music, rules)) << music;
    for (const char* other : {"a.flacx", "a.wave", "a.mp3", "flac", "a.txt", "a.wv.txt"})
        EXPECT_FALSE(isOtherMusicFile(other, rules)) << other;
}

TEST_F(Gather, RecognisesMusicAndPlaylistsByExtension) {
    for (const char* music : {"a.mp3", "a.MP3", "a.Mp3", "a.wave", "a.WAVE", "a.mp3x", "a.b.mp3"})
        EXPECT_TRUE(isMusicFile(music, rules)) << music;
    for (const char* other : {"a.wav", "a", "mp3", "a.mp3.txt", "mp3.d/a"})
        EXPECT_FALSE(isMusicFile(other, rules)) << other;
    EXPECT_TRUE(isPlaylistFile("a.m3u", rules));
    EXPECT_TRUE(isPlaylistFile("a.m3u8", rules));
    EXPECT_FALSE(isPlaylistFile("a.M3U", rules));
    EXPECT_TRUE(isPlaylistFile("a.PLS", rules));
    EXPECT_TRUE(isPlaylistFile("a.xspf", rules));
    EXPECT_FALSE(isPlaylistFile("a.xspf.txt", rules));
}

}  // namespace
}  // namespace listora::test
