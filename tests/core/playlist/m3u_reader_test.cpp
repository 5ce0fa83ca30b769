#include "core/errors/errors.h"
#include "core/playlist/playlist_fixture.h"
#include "core/ports/read_progress.h"
#include "support/faulty_file_system.h"
#include "support/numbered_playlist.h"

#include <algorithm>
#include <sys/stat.h>

namespace listora::test {
namespace {

using Texts = std::vector<std::string>;
const std::string kNotM3u = "confirm[YN]: このファイルはm3uファイルではない可能性があります、強制的に読み込みますか？";

class Reader : public PlaylistFixture {};

TEST_F(Reader, ReadsInformationAndPathLines) {
    const std::string path =
        dir.write("lists/best.m3u", crlf({"#EXTM3U", "#EXTINF:125,Artist - Title, live", "song.mp3", "/abs/other.mp3",
                                          "#EXTINF:-1,Stream", "..\\Rock\\c.mp3", "#EXTINF:0,", "./x/../z.mp3"}));
    load(path);
    EXPECT_EQ(column(0), (Texts{"Artist - Title, live", "---", "Stream", ""}));
    EXPECT_EQ(column(1), (Texts{"2:05", "---", "-1", "0:00"}));
    EXPECT_EQ(column(2), (Texts{"song.mp3", "other.mp3", "c.mp3", "z.mp3"}));
    EXPECT_EQ(column(3),
              (Texts{dir.path("lists/song.mp3"), "/abs/other.mp3", dir.path("Rock/c.mp3"), dir.path("lists/z.mp3")}));
    EXPECT_EQ(currentFile, path);
    EXPECT_EQ(fs.currentDirectory(), dir.path("lists"));  // the playlist's folder stays current
    EXPECT_TRUE(prompts.shown.empty());
    for (const auto& row : list.rows()) EXPECT_FALSE(row.checked || row.selected);
}

// Catches a bare relative line before the first #EXTINF resolved against
// the current directory: read from another folder, the playlist named
// other files (a move then moved an unrelated a.mp3).
TEST_F(Reader, EveryRelativeLineResolvesAgainstThePlaylistsOwnFolder) {
    dir.makeFolder("elsewhere");
    ASSERT_TRUE(fs.setCurrentDirectory(dir.path("elsewhere")));
    const std::string path = dir.write("lists/l.m3u", crlf({"#EXTM3U", "a.mp3", "#EXTINF:1,b", "b.mp3", "c.mp3"}));
    load(path);
    EXPECT_EQ(column(3), (Texts{dir.path("lists/a.mp3"), dir.path("lists/b.mp3"), dir.path("lists/c.mp3")}));
    EXPECT_EQ(fs.currentDirectory(), dir.path("lists"));  // entered at the first #EXTINF, as before
}

// Catches an address turned into a path under the playlist's folder (lost
// for good once saved) and a file:// line read as a relative path.
TEST_F(Reader, AddressesStayAsWrittenAndFileAddressesAreLocalPaths) {
    load(dir.write("lists/l.m3u", crlf({"#EXTM3U", "#EXTINF:-1,Radio", "http://stream.example.org:8000/live.mp3",
                                        "https://h/My%20Song.ogg", "file:///m/A%20B/01.mp3", "#EXTINF:61,x",
                                        "file://localhost/m/%zz.mp3", "a.mp3"})));
    EXPECT_EQ(column(0), (Texts{"Radio", "---", "---", "x", "---"}));
    EXPECT_EQ(column(1), (Texts{"-1", "---", "---", "1:01", "---"}));
    EXPECT_EQ(column(2), (Texts{"live.mp3", "My Song.ogg", "01.mp3", "%zz.mp3", "a.mp3"}));
    EXPECT_EQ(column(3), (Texts{"http://stream.example.org:8000/live.mp3", "https://h/My%20Song.ogg", "/m/A B/01.mp3",
                                "/m/%zz.mp3", dir.path("lists/a.mp3")}));
}

TEST_F(Reader, KeepsEveryOtherLineAsAPathButDropsEmptyOnes) {
    // An empty line between an information line and its path is skipped; a
    // line of spaces, a comment and a second header are paths.
    load(dir.write("l.m3u", crlf({"#EXTM3U", "#EXTINF:61,a", "", "", "a.mp3", "   ", "# comment", "#EXTM3U"})));
    EXPECT_EQ(column(2), (Texts{"a.mp3", "   ", "# comment", "#EXTM3U"}));
    EXPECT_EQ(column(1), (Texts{"1:01", "---", "---", "---"}));
}

TEST_F(Reader, AsksBeforeReadingAFileWithoutTheHeader) {
    const std::string noHeader = dir.write("plain.m3u", crlf({"a.mp3", "#EXTINF:2,b", "b.mp3"}));
    currentFile = "/before.m3u";
    prompts.answer(Answer::No).answer(Answer::Cancel);
    load(noHeader);
    load(dir.write("lower.m3u", crlf({"#extm3u", "a.mp3"})));
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(currentFile, "/before.m3u");
    EXPECT_EQ(prompts.shown, (Texts{kNotM3u, kNotM3u}));
    EXPECT_EQ(prompts.questions, std::vector<Question>(2, Question::ReadWithoutHeader));

    prompts.answer(Answer::Yes);
    load(noHeader);
    EXPECT_EQ(column(0), (Texts{"---", "b"}));  // the file's own first line is an entry
    EXPECT_EQ(column(3), (Texts{dir.path("a.mp3"), dir.path("b.mp3")}));
    EXPECT_EQ(currentFile, noHeader);

    // A byte-order mark or a trailing space makes the first line no header.
    prompts.answer(Answer::No).answer(Answer::No);
    load(dir.write("bom.m3u", "\xEF\xBB\xBF#EXTM3U\r\na.mp3\r\n"));
    load(dir.write("space.m3u", "#EXTM3U \r\na.mp3\r\n"));
    EXPECT_EQ(list.count(), 2u);
}

TEST_F(Reader, AnEmptyFirstLineReadAnywayGivesNoRow) {
    prompts.answer(Answer::Yes);
    const std::string path = dir.write("blank.m3u", "\r\na.mp3\r\n#\r\n");
    load(path);
    EXPECT_EQ(column(2), (Texts{"a.mp3", "#"}));  // a one-character line is a path too
    EXPECT_EQ(currentFile, path);
}

TEST_F(Reader, AnEmptyFileAppendsNothingButBecomesTheCurrentPlaylist) {
    const std::string empty = dir.write("empty.m3u", "");
    load(empty);
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(currentFile, empty);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(Reader, RemovesRowsWithoutAFileNameAfterASuccessfulRead) {
    list.append({"old", "---", "", "/broken/"});
    load(dir.write("l.m3u", crlf({"#EXTM3U", "folder/", "a.mp3", "#EXTINF:3,t", "sub/"})));
    EXPECT_EQ(column(3), (Texts{dir.path("a.mp3")}));
    // One left by a read that ended in an error goes with a read that has
    // none of its own.
    list.append({"left", "---", "", "/broken/"});
    load(dir.write("clean.m3u", crlf({"#EXTM3U", "b.mp3"})));
    EXPECT_EQ(column(3), (Texts{dir.path("a.mp3"), dir.path("b.mp3")}));
}

TEST_F(Reader, AnEndlessNumberIsShownCut) {
    const std::string digits(1 << 20, '7');
    try {
        load(dir.write("huge.m3u", crlf({"#EXTM3U", "#EXTINF:" + digits + ",t", "a.mp3"})));
        ADD_FAILURE() << "no error";
    } catch (const ListoraError& error) {
        EXPECT_EQ(error.what(), "'" + digits.substr(0, 4096) + "…' is not a valid integer value");
    }
}

TEST_F(Reader, StopsAtAnInformationLineWhoseSecondsAreNoInteger) {
    const struct {
        std::string line, shownText;
    } cases[] = {
        {"#EXTINF:abc,x", "'abc' is not a valid integer value"},
        {"#EXTINF:99999999999999999999,x", "'99999999999999999999' is not a valid integer value"},
        {"#EXTINF:12", "'' is not a valid integer value"},  // no comma
        {"#EXTINF:,x", "'' is not a valid integer value"},  // comma on the ninth character
        {"#EXTINF:1.5,x", "'1.5' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        list.clear();
        list.append({"old", "---", "", "/kept/"});
        currentFile = "/before.m3u";
        const std::string path = dir.write("bad.m3u", crlf({"#EXTM3U", "first.mp3", "dir/", c.line, "x.mp3", "y.mp3"}));
        try {
            load(path);
            ADD_FAILURE() << "no error for " << c.line;
        } catch (const ListoraError& error) {
            EXPECT_EQ(error.what(), c.shownText);
        }
        // Rows read before the error stay, and nothing after it ran.
        EXPECT_EQ(column(0), (Texts{"old", "---", "---"})) << c.line;
        EXPECT_EQ(currentFile, "/before.m3u");
    }
}

TEST_F(Reader, AnInformationLineWithoutItsPathLineIsAnIndexError) {
    try {
        load(dir.write("cut.m3u", crlf({"#EXTM3U", "a.mp3", "", "#EXTINF:1,x"})));
        ADD_FAILURE() << "no error";
    } catch (const ListoraError& error) {
        EXPECT_EQ(error.what(), std::string("リストのインデックスが範囲を超えています (3)"));
    }
    EXPECT_EQ(column(2), (Texts{"a.mp3"}));
    EXPECT_EQ(currentFile, "");
}

TEST_F(Reader, AFileThatCannotBeOpenedChangesNothing) {
    const std::string fifo = dir.path("fifo.m3u");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // opening it must not wait for a writer
    for (const std::string& path :
         {dir.path("missing.m3u"), dir.makeFolder("folder.m3u"), fifo, std::string("/dev/zero")}) {
        EXPECT_THROW(
            {
                try {
                    load(path);
                } catch (const ListoraError& error) {
                    EXPECT_EQ(error.what(), "ファイル " + path + " は開けません");
                    throw;
                }
            },
            ListoraError);
    }
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(currentFile, "");
}

// Catches a playlist too large to hold read through (gigabytes, minutes)
// before it fails with a box that names no file: it is refused unread.
TEST_F(Reader, APlaylistTooLargeToHoldIsRefusedBeforeReading) {
    const std::string path = dir.write("huge.m3u", "");
    ASSERT_EQ(::truncate(path.c_str(), off_t{1} << 31), 0);  // sparse: no disk used
    try {
        load(path);
        ADD_FAILURE() << "no error";
    } catch (const ListoraError& error) {
        EXPECT_EQ(error.what(), "ファイル " + path + " は大きすぎて開けません");
    }
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(list.count(), 0u);
}

// Opens files for reading as usual, but the stream of the chosen opening
// breaks off after a number of bytes.
TEST_F(Reader, AReadThatBreaksOffAddsNothingAndSaysTheFileCannotBeOpened) {
    // The break falls inside the path line after an information line, where
    // a cut line would pass for an entry or for a missing path line.
    const std::string text = crlf({"#EXTINF:1,a", "a.mp3", "#EXTINF:2,b", "b.mp3"});
    const std::string path = dir.write("l.m3u", text);
    const std::string withHeader = dir.write("h.m3u", "#EXTM3U\r\n" + text);
    // A file with its header is opened once; one without it is read through
    // before the question and opened again to make the rows.
    for (int opening : {1, 2}) {
        for (const std::string& file : {path, withHeader}) {
            if (file == withHeader && opening == 2) continue;
            FaultyFileSystem breaking;
            breaking.cutStream(opening, std::string(file == path ? text : "#EXTM3U\r\n" + text).size() - 4);
            ScriptedPrompts scripted;
            scripted.answer(Answer::Yes);
            try {
                LoadToFile(list, currentFile, {breaking, scripted, rules}, file);
                ADD_FAILURE() << "no error";
            } catch (const ListoraError& error) {
                EXPECT_EQ(error.what(), "ファイル " + file + " は開けません");
            }
            EXPECT_EQ(list.count(), 0u) << opening;
            EXPECT_EQ(currentFile, "");
            // A file that cannot be read says so without asking first.
            const bool asked = !scripted.shown.empty();
            EXPECT_EQ(asked, opening == 2 && file == path) << opening;
        }
    }
}

// A file of many pieces is read in one pass: a break deep in it still gives
// no rows, as if the file had been read whole first, also when a bad line
// came before the break; a bad line alone keeps the rows before it.
TEST_F(Reader, ALongFileReadInOnePassKeepsTheRulesOfAWholeRead) {
    std::string text = "#EXTM3U\r\n";
    for (int i = 0; i < 60000; ++i)
        text += "#EXTINF:61,Title " + std::to_string(i) + "\r\n/m/" + std::to_string(i) + ".mp3\r\n";
    const std::string good = dir.write("good.m3u", text);
    PlaylistRead read = readPlaylist({fs, prompts, rules}, good, HeaderPolicy::Ask);
    ASSERT_FALSE(read.error);
    ASSERT_EQ(read.rows.size(), 60000u);
    EXPECT_EQ(read.rows[59999].title(), "Title 59999");
    EXPECT_EQ(read.rows[59999].fullPath(), "/m/59999.mp3");

    for (const bool badLine : {false, true}) {
        std::string broken = text;
        if (badLine) broken.replace(broken.find("#EXTINF:61,Title 30000"), 10, "#EXTINF:6x");
        const std::string path = dir.write("broken.m3u", broken);
        FaultyFileSystem breaking;
        breaking.cutStream(1, text.size() * 3 / 4);
        read = readPlaylist({breaking, prompts, rules}, path, HeaderPolicy::Ask);
        ASSERT_TRUE(read.error) << badLine;
        EXPECT_EQ(read.error->kind(), ErrorKind::CannotOpen) << badLine;
        EXPECT_TRUE(read.rows.empty()) << badLine;

        if (!badLine) continue;
        read = readPlaylist({fs, prompts, rules}, path, HeaderPolicy::Ask);
        ASSERT_TRUE(read.error);
        EXPECT_EQ(read.error->kind(), ErrorKind::BadContent);
        EXPECT_EQ(read.rows.size(), 30000u);  // the rows before the bad line
    }
    EXPECT_TRUE(prompts.shown.empty());
}

// Read a piece at a time, a long file gives the rows of a whole read, in
// more than one handing; the rows before a bad line come before its error.
TEST_F(Reader, RowsHandedOnAPieceAtATimeAreThoseOfAWholeRead) {
    std::string text = numberedPlaylist(60000);
    const std::string good = dir.write("good.m3u", text);
    const PlaylistRead whole = readPlaylist({fs, prompts, rules}, good, HeaderPolicy::Ask);
    std::vector<std::string> paths;
    int handings = 0;
    const auto take = [&](std::vector<PlaylistEntry>& rows) {
        ++handings;
        for (const PlaylistEntry& row : rows) paths.emplace_back(row.fullPath());
        rows.clear();
    };
    PlaylistPass pass = readPlaylistInPieces({fs, prompts, rules}, good, HeaderPolicy::Ask, take);
    EXPECT_FALSE(pass.error || pass.refused);
    EXPECT_GT(handings, 1);
    ASSERT_EQ(paths.size(), whole.rows.size());
    for (std::size_t i = 0; i < paths.size(); ++i) ASSERT_EQ(paths[i], whole.rows[i].fullPath()) << i;

    text.replace(text.find("#EXTINF:61,Title 50000"), 10, "#EXTINF:6x");
    paths.clear();
    pass = readPlaylistInPieces({fs, prompts, rules}, dir.write("bad.m3u", text), HeaderPolicy::Ask, take);
    ASSERT_TRUE(pass.error);
    EXPECT_EQ(pass.error->kind(), ErrorKind::BadContent);
    EXPECT_EQ(paths.size(), 50000u);
}

// The comparison reads playlists apart from the list: a file without the
// header is read without asking, rows without a file name are left for the
// caller to drop, and an error comes back beside the rows read before it.
TEST_F(Reader, ReadingApartFromTheListForcesTheHeaderAndReportsItsError) {
    const std::string plain = dir.write("plain.m3u", crlf({"a.mp3", "folder/", "#EXTINF:2,b", "b.mp3"}));
    PlaylistRead read = readPlaylist({fs, prompts, rules}, plain, HeaderPolicy::Force);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(read.refused || read.error);
    ASSERT_EQ(read.rows.size(), 3u);
    EXPECT_EQ(read.rows[0].fullPath(), dir.path("a.mp3"));
    EXPECT_FALSE(hasFileName(read.rows[1]));
    EXPECT_EQ(read.rows[2].title(), "b");

    read = readPlaylist({fs, prompts, rules}, dir.write("bad.m3u", crlf({"#EXTM3U", "a.mp3", "#EXTINF:x,b", "b.mp3"})),
                        HeaderPolicy::Force);
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->kind(), ErrorKind::BadContent);
    EXPECT_STREQ(read.error->what(), "'x' is not a valid integer value");
    EXPECT_EQ(read.rows.size(), 1u);  // the row before the bad line

    read = readPlaylist({fs, prompts, rules}, dir.path("missing.m3u"), HeaderPolicy::Ask);
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->kind(), ErrorKind::CannotOpen);
    EXPECT_TRUE(read.rows.empty() && prompts.shown.empty());
}

TEST_F(Reader, BinaryAndInvalidBytesAreReadAsTheyStand) {
    std::string binary = "\x89PNG\r\n\x1a\n";
    for (int i = 1; i < 256; ++i) binary += static_cast<char>(i);
    binary += std::string("\0after nul\n", 11);
    prompts.answer(Answer::Yes);
    load(dir.write("image.m3u", binary));
    ASSERT_GE(list.count(), 2u);
    EXPECT_EQ(list.at(0).fileName(), "\x89PNG");
    for (const auto& row : list.rows()) EXPECT_EQ(row.fullPath().find("after nul"), std::string::npos);

    list.clear();
    load(dir.write("latin1.m3u", crlf({"#EXTM3U", "#EXTINF:1,caf\xE9", "caf\xE9.mp3"})));
    EXPECT_EQ(list.at(0).title(), "caf\xE9");
    EXPECT_EQ(list.at(0).fileName(), "caf\xE9.mp3");
}

TEST_F(Reader, SameFileTwiceGivesTwoEqualRows) {
    const std::string path = dir.write("l.m3u", crlf({"#EXTM3U", "a.mp3", "a.mp3"}));
    load(path);
    ASSERT_EQ(list.count(), 2u);
    EXPECT_EQ(list.at(0).fullPath(), list.at(1).fullPath());
}

// Notes every figure a read reports, and how many had come when it ended.
class RecordingProgress : public ReadProgress {
public:
    void advanced(std::uint64_t bytesRead, std::uint64_t fileBytes) override {
        read.push_back(bytesRead);
        sizes.push_back(fileBytes);
    }
    void ended() override { endedAfter.push_back(read.size()); }

    std::vector<std::uint64_t> read;
    std::vector<std::uint64_t> sizes;
    std::vector<std::size_t> endedAfter;
};

// A long read tells how far it has come a mebibyte at a time, ending at the
// file's size, and then that it ended; the rows are those of any read.
TEST_F(Reader, ALongReadReportsItsProgressUpToTheFileSize) {
    const std::string text = numberedPlaylist(kRowsOfALongRead);
    ASSERT_GT(text.size(), ReadProgressMeter::kLongFile);
    RecordingProgress progress;
    LoadToFile(list, currentFile, {fs, prompts, rules, &progress}, dir.write("long.m3u", text));
    ASSERT_EQ(list.count(), kRowsOfALongRead);
    EXPECT_EQ(list.at(kRowsOfALongRead - 1).columnText(0), "Title 449999");

    ASSERT_GE(progress.read.size(), text.size() / ReadProgressMeter::kStep);
    EXPECT_EQ(progress.read.back(), text.size());
    EXPECT_EQ(progress.sizes, std::vector<std::uint64_t>(progress.sizes.size(), text.size()));
    for (std::size_t i = 1; i < progress.read.size(); ++i) {
        const std::uint64_t step = progress.read[i] - progress.read[i - 1];
        EXPECT_GT(step, 0u) << i;
        EXPECT_LE(step, ReadProgressMeter::kStep + 64) << i;  // a mebibyte and at most one row past it
    }
    EXPECT_EQ(progress.endedAfter, std::vector<std::size_t>{progress.read.size()});
}

// A file up to the limit reads too fast to show anything and tells nothing.
TEST_F(Reader, AShortReadReportsNothing) {
    std::string text = numberedPlaylist(kRowsOfALongRead);
    text.resize(text.rfind("#EXTINF", ReadProgressMeter::kLongFile));
    RecordingProgress progress;
    LoadToFile(list, currentFile, {fs, prompts, rules, &progress}, dir.write("short.m3u", text));
    EXPECT_GT(list.count(), 0u);
    EXPECT_TRUE(progress.read.empty());
    EXPECT_TRUE(progress.endedAfter.empty());
}

// However a long read ends, it says so once: after a bad line (the rows
// before it stay), after a break deep in the file (no rows), and for a file
// without its header, after the pass read through before the question.
TEST_F(Reader, ALongReadThatEndsEarlySaysItEnded) {
    std::string text = numberedPlaylist(kRowsOfALongRead);
    text.replace(text.find("#EXTINF:61,Title 400000"), 10, "#EXTINF:6x");
    const std::string bad = dir.write("bad.m3u", text);
    RecordingProgress progress;
    PlaylistRead read = readPlaylist({fs, prompts, rules, &progress}, bad, HeaderPolicy::Ask);
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->kind(), ErrorKind::BadContent);
    EXPECT_EQ(read.rows.size(), 400000u);
    ASSERT_FALSE(progress.read.empty());
    EXPECT_LT(progress.read.back(), text.size());
    EXPECT_EQ(progress.endedAfter, std::vector<std::size_t>{progress.read.size()});

    progress = {};
    FaultyFileSystem breaking;
    breaking.cutStream(1, text.size() / 2);
    read = readPlaylist({breaking, prompts, rules, &progress}, bad, HeaderPolicy::Ask);
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->kind(), ErrorKind::CannotOpen);
    EXPECT_TRUE(read.rows.empty());
    EXPECT_EQ(progress.endedAfter, std::vector<std::size_t>{progress.read.size()});

    progress = {};
    prompts.answer(Answer::No);
    read = readPlaylist({fs, prompts, rules, &progress}, dir.write("plain.m3u", text.substr(text.find("\n") + 1)),
                        HeaderPolicy::Ask);
    EXPECT_TRUE(read.refused);
    ASSERT_FALSE(progress.read.empty());
    EXPECT_EQ(progress.read.back(), text.size() - text.find("\n") - 1);
    EXPECT_EQ(progress.endedAfter, std::vector<std::size_t>{progress.read.size()});
    EXPECT_EQ(prompts.shown, Texts{kNotM3u});
}

}  // namespace
}  // namespace listora::test
