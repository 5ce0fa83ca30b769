// Runs the built listora-cli on temporary folders, as a script would.

#include "support/audio_files.h"
#include "support/numbered_playlist.h"
#include "support/temp_dir.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace listora::test {
namespace {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

class Cli : public testing::Test {
protected:
    // Runs in the temporary folder, with its own operation log there.
    Result run(const std::string& arguments) {
        const std::string command = "cd '" + dir.path() + "' && " + feed + environment + " LISTORA_HOME='" +
                                    dir.path() + "' " + LISTORA_CLI + " " + arguments + " 2> '" +
                                    dir.path("stderr.txt") + "'";
        Result result;
        FILE* pipe = ::popen(command.c_str(), "r");
        std::array<char, 4096> buffer{};
        for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
            result.out.append(buffer.data(), got);
        const int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = readFile(dir.path("stderr.txt"));
        return result;
    }

    TempDir dir;
    std::string environment;  // more variables for the command
    std::string feed;         // "cat a.m3u | ": a command whose output is piped in
};

TEST_F(Cli, ConvertRoundTripsAndWritesRelativePaths) {
    const std::string original = crlf({"#EXTM3U", "#EXTINF:125,Artist - Title, live", dir.path("m/a.mp3"),
                                       dir.path("m/sub/b.mp3"), "#EXTINF:-1,Stream", dir.path("c.mp3")});
    dir.write("in.m3u", original);
    EXPECT_EQ(run("convert in.m3u out.m3u").status, 0);
    EXPECT_EQ(readFile(dir.path("out.m3u")), original);

    dir.makeFolder("m");
    EXPECT_EQ(run("convert in.m3u m/rel.m3u --relative").status, 0);
    EXPECT_EQ(readFile(dir.path("m/rel.m3u")), crlf({"#EXTM3U", "#EXTINF:125,Artist - Title, live", dir.path("m/a.mp3"),
                                                     "sub/b.mp3", "#EXTINF:-1,Stream", dir.path("c.mp3")}));
}

// A playlist of many pieces is written as it is read: the same bytes,
// rows without a file name dropped; and a bad line deep in it leaves the
// file that was there as it was.
TEST_F(Cli, ConvertWritesALongPlaylistAsItReadsIt) {
    std::string text = numberedPlaylist(120000);
    dir.write("long.m3u", text + "/m/folder/\r\n");
    EXPECT_EQ(run("convert long.m3u out.m3u").status, 0);
    EXPECT_EQ(readFile(dir.path("out.m3u")), text);

    text.replace(text.find("#EXTINF:61,Title 100000"), 10, "#EXTINF:6x");
    dir.write("bad.m3u", text);
    const Result bad = run("convert bad.m3u out.m3u");
    EXPECT_EQ(bad.status, 3);
    EXPECT_EQ(bad.err, "'6x' is not a valid integer value.\n");
    EXPECT_EQ(readFile(dir.path("out.m3u")), numberedPlaylist(120000));
}

TEST_F(Cli, AFileWithoutTheHeaderIsReadOnlyWhenForced) {
    dir.write("plain.m3u", crlf({"a.mp3", "b.mp3"}));
    const Result refused = run("convert plain.m3u out.m3u");
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "このファイルはm3uファイルではない可能性があります、強制的に読み込みますか？\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("out.m3u")));

    EXPECT_EQ(run("convert plain.m3u out.m3u --force").status, 0);
    EXPECT_EQ(readFile(dir.path("out.m3u")), crlf({"#EXTM3U", dir.path("a.mp3"), dir.path("b.mp3")}));
}

TEST_F(Cli, GatherWalksBreadthFirst) {
    dir.write("music/b.mp3", "x");
    dir.write("music/deep/c.mp3", "x");
    dir.write("music/a.wave", "x");
    dir.write("one.mp3", "x");
    EXPECT_EQ(run("gather music one.mp3 -o list.m3u --relative").status, 0);
    EXPECT_EQ(readFile(dir.path("list.m3u")),
              crlf({"#EXTM3U", "music/a.wave", "music/b.mp3", "one.mp3", "music/deep/c.mp3"}));
}

TEST_F(Cli, GatherLeavesOutAPlaylistWithoutTheHeaderButWritesTheRest) {
    dir.write("one.mp3", "x");
    dir.write("plain.m3u", crlf({"two.mp3"}));
    const Result refused = run("gather plain.m3u one.mp3 -o list.m3u --relative");
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "このファイルはm3uファイルではない可能性があります、強制的に読み込みますか？\n");
    EXPECT_EQ(readFile(dir.path("list.m3u")), crlf({"#EXTM3U", "one.mp3"}));

    EXPECT_EQ(run("gather plain.m3u one.mp3 -o list.m3u --relative --force").status, 0);
    EXPECT_EQ(readFile(dir.path("list.m3u")), crlf({"#EXTM3U", "two.mp3", "one.mp3"}));
}

// In CP932 mode on a UTF-8 system: "é.mp3" cannot be held, so it is left
// out, never moved under a substitute's name, and the messages reach the
// terminal in its own charset.
TEST_F(Cli, Cp932ModeMovesOnlyNamesItCanHoldAndSpeaksTheTerminalsCharset) {
    dir.write("m/\xC3\xA9.mp3", "e acute");
    dir.write("m/\xEF\xBF\xBD.mp3", "replacement character");
    dir.write("m/a.mp3", "a");
    dir.makeFolder("dest");
    environment = "LISTORA_CODEPAGE=932";
    EXPECT_EQ(run("gather m -o list.m3u").status, 0);
    const Result moved = run("move list.m3u dest --save");
    EXPECT_EQ(moved.status, 0);
    EXPECT_EQ(moved.out, "移動が終了しました\n");
    EXPECT_EQ(readFile(dir.path("m/\xEF\xBF\xBD.mp3")), "replacement character");
    EXPECT_EQ(readFile(dir.path("m/\xC3\xA9.mp3")), "e acute");
    EXPECT_EQ(readFile(dir.path("dest/a.mp3")), "a");
}

TEST_F(Cli, MoveReportsFailedRowsAndLogsTheRest) {
    dir.write("m/a.mp3", "a");
    dir.write("m/b.mp3", "b");
    dir.write("dest/b.mp3", "already there");
    dir.write("list.m3u", crlf({"#EXTM3U", dir.path("m/a.mp3"), dir.path("m/b.mp3")}));
    const Result moved = run("move list.m3u dest --save");
    EXPECT_EQ(moved.status, 1);
    EXPECT_EQ(moved.out, "移動が終了しました（エラー：1個）\n");
    EXPECT_EQ(readFile(dir.path("m/b.mp3")), "b");
    EXPECT_EQ(readFile(dir.path("dest/b.mp3")), "already there");
    EXPECT_EQ(readFile(dir.path("list.m3u")), crlf({"#EXTM3U", dir.path("dest/a.mp3"), dir.path("m/b.mp3")}));

    EXPECT_EQ(moved.err, "listora-cli move: not done: " + dir.path("m/b.mp3") + ": " + dir.path("dest/b.mp3") +
                             " already exists\n");
    const Result noFolder = run("copy list.m3u copies --rewrite-paths --save-as copied.m3u");
    EXPECT_EQ(noFolder.status, 3);
    EXPECT_EQ(noFolder.err, "listora-cli copy: copies is not a folder\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("copied.m3u")));
    dir.makeFolder("copies");
    EXPECT_EQ(run("copy list.m3u copies --rewrite-paths --save-as copied.m3u").out, "コピーが終了しました\n");
    EXPECT_EQ(readFile(dir.path("copied.m3u")), crlf({"#EXTM3U", dir.path("copies/a.mp3"), dir.path("copies/b.mp3")}));

    const Result days = run("log");
    ASSERT_EQ(days.status, 0);
    const std::string day = days.out.substr(0, days.out.find('\n'));
    EXPECT_EQ(run("log " + day).out,
              "a.mp3\t移動\t" + dir.path("m/a.mp3") + "\t" + dir.path("dest/a.mp3") + "\n" +  //
                  "a.mp3\tコピー\t" + dir.path("dest/a.mp3") + "\t" + dir.path("copies/a.mp3") + "\n" +
                  "b.mp3\tコピー\t" + dir.path("m/b.mp3") + "\t" + dir.path("copies/b.mp3") + "\n");
    // A day is a name in the Log folder, not a path out of it.
    dir.write("outside.txt", crlf({"x.mp3", "移動", "/a", "/b"}));
    for (const std::string& way : {std::string("log ../outside"), "log " + dir.path("outside")}) {
        const Result refused = run(way);
        EXPECT_EQ(refused.status, 3) << way;
        EXPECT_EQ(refused.out, "") << way;
    }
}

TEST_F(Cli, CompareWritesTheResultOrSaysWhyNot) {
    dir.write("a.m3u", crlf({"#EXTM3U", "#EXTINF:61,x", "m/x.mp3", "m/y.mp3", "m/z.mp3", "m/x.mp3"}));
    dir.write("b.m3u", crlf({"m/z.mp3", "m/w.mp3", "m/y.mp3"}));  // no header: read all the same
    const Result difference = run("compare a.m3u b.m3u --method difference -o out.m3u --relative");
    EXPECT_EQ(difference.status, 0);
    EXPECT_EQ(difference.out + difference.err, "");
    EXPECT_EQ(readFile(dir.path("out.m3u")), crlf({"#EXTM3U", "#EXTINF:61,x", dir.path("m/x.mp3"), "m/w.mp3"}));
    EXPECT_EQ(run("compare a.m3u b.m3u --method common -o out.m3u").status, 0);
    EXPECT_EQ(readFile(dir.path("out.m3u")), crlf({"#EXTM3U", dir.path("m/y.mp3"), dir.path("m/z.mp3")}));
    EXPECT_EQ(run("compare a.m3u b.m3u --method only-a -o out.m3u").status, 0);
    EXPECT_EQ(readFile(dir.path("out.m3u")), crlf({"#EXTM3U", "#EXTINF:61,x", dir.path("m/x.mp3")}));

    dir.write("empty.m3u", "#EXTM3U\r\n");
    const Result nothing = run("compare a.m3u empty.m3u --method common -o none.m3u");
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.err.find("nothing written"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.path("none.m3u")));

    const Result missing = run("compare a.m3u missing.m3u --method common -o none.m3u");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "プレイリストを選択してください\n");
    EXPECT_EQ(run("compare a.m3u b.m3u --method both -o none.m3u").status, 2);
    EXPECT_EQ(run("compare a.m3u b.m3u -o none.m3u").status, 2);
    dir.write("bad.m3u", crlf({"#EXTM3U", "#EXTINF:x,t", "t.mp3"}));
    const Result bad = run("compare a.m3u bad.m3u --method common -o none.m3u");
    EXPECT_EQ(bad.status, 3);
    EXPECT_EQ(bad.err, "'x' is not a valid integer value.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("none.m3u")));
}

// Catches known lengths read again without --all, an unreadable file not
// named or not failing the status, and the playlist left unwritten.
TEST_F(Cli, TagsFillsUnknownLengthsAndNamesWhatItCannotRead) {
    ASSERT_TRUE(writeTag(dir.write("a.mp3", mp3Audio(65.2, true)), "Song", "Band"));
    dir.write("in.m3u", crlf({"#EXTM3U", "a.mp3", "#EXTINF:9,Known", "a.mp3", "gone.mp3"}));
    const std::string a = dir.path("a.mp3");
    const std::string gone = dir.path("gone.mp3");
    const Result some = run("tags in.m3u out.m3u");
    EXPECT_EQ(some.status, 1);
    EXPECT_EQ(some.err, "listora-cli tags: cannot read " + gone + "\n");
    EXPECT_EQ(readFile(dir.path("out.m3u")),
              crlf({"#EXTM3U", "#EXTINF:65,Band - Song", a, "#EXTINF:9,Known", a, gone}));
    dir.write("in.m3u", crlf({"#EXTM3U", "#EXTINF:9,Known", "a.mp3"}));
    EXPECT_EQ(run("tags in.m3u all.m3u --all").status, 0);
    EXPECT_EQ(readFile(dir.path("all.m3u")), crlf({"#EXTM3U", "#EXTINF:65,Band - Song", a}));
}

TEST_F(Cli, UnreadableFilesAndBadUsageHaveTheirOwnStatus) {
    const Result missing = run("convert missing.m3u out.m3u");
    EXPECT_EQ(missing.status, 3);
    EXPECT_EQ(missing.err, "ファイル " + dir.path("missing.m3u") + " は開けません.\n");
    EXPECT_EQ(run("convert only-one.m3u").status, 2);
    // Options are those of the command, with their values.
    const Result wrongOption = run("convert a.m3u b.m3u --save");
    EXPECT_EQ(wrongOption.status, 2);
    EXPECT_EQ(wrongOption.err.substr(0, wrongOption.err.find('\n')), "listora-cli convert: no option '--save'");
    const Result noValue = run("gather music -o");
    EXPECT_EQ(noValue.status, 2);
    EXPECT_EQ(noValue.err.substr(0, noValue.err.find('\n')), "listora-cli gather: option '-o' needs a file name");
    EXPECT_EQ(run("frobnicate").status, 2);
    dir.write("l.m3u", crlf({"#EXTM3U", "a.mp3"}));
    const Result noDestination = run("move l.m3u '' --save");
    EXPECT_EQ(noDestination.status, 2);
    EXPECT_EQ(noDestination.err, "移動先を選択してくたさい\n");
    EXPECT_EQ(readFile(dir.path("l.m3u")), crlf({"#EXTM3U", "a.mp3"}));
    EXPECT_EQ(run("move --help").status, 0);
}

// Catches a stream written as a file replaced: "-" and /dev/stdout reach
// the reader, a file behind standard output keeps what it held, standard
// input is read once with the current folder as the playlist's.
TEST_F(Cli, DashAndStandardStreamsAreReadAndWrittenAsStreams) {
    dir.write("m/a.mp3", "a");
    dir.write("a.m3u", crlf({"#EXTM3U", "m/a.mp3", "#EXTINF:5,t", dir.path("m/a.mp3")}));
    const std::string absolute = crlf({"#EXTM3U", dir.path("m/a.mp3"), "#EXTINF:5,t", dir.path("m/a.mp3")});
    const std::string relative = crlf({"#EXTM3U", "m/a.mp3", "#EXTINF:5,t", dir.path("m/a.mp3")});
    dir.write("plain.m3u", crlf({"m/a.mp3"}));
    dir.write("log.txt", "earlier\n");
    const struct {
        std::string command;
        int status;
        std::string out;
        std::string file;  // log.txt or out.m3u afterwards
    } cases[] = {
        {"convert a.m3u - --relative | head -c 9", 0, "#EXTM3U\r\n", ""},
        {"convert a.m3u /dev/stdout --relative", 0, relative, ""},
        {"convert a.m3u /dev/stdout >> log.txt", 0, "", "earlier\n" + absolute},
        {"convert a.m3u - --relative > log.txt", 0, "", relative},
        {"convert - out.m3u --relative < a.m3u", 0, "", relative},
        {"convert - out.m3u --force", 0, "", crlf({"#EXTM3U", dir.path("m/a.mp3")})},
        {"gather m -o - --relative", 0, crlf({"#EXTM3U", "m/a.mp3"}), ""},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.command);
        std::filesystem::remove(dir.path("out.m3u"));
        feed = each.command.ends_with("--force") ? "cat plain.m3u | " : "";
        const Result result = run(each.command);
        EXPECT_EQ(result.status, each.status);
        EXPECT_EQ(result.out, each.out);
        if (!each.file.empty()) {
            const bool toOut = each.command.find("out.m3u") != std::string::npos;
            EXPECT_EQ(readFile(dir.path(toOut ? "out.m3u" : "log.txt")), each.file);
        }
    }
}

// Catches a usage error that does not say what was wrong, --opt=value
// taken for an unknown option, and --version needing a command.
TEST_F(Cli, UsageErrorsSayWhatWasWrongAndOptionsTakeTheirValueAfterEquals) {
    dir.write("a.m3u", crlf({"#EXTM3U", dir.path("x.mp3")}));
    const struct {
        std::string arguments;
        std::string firstLine;
    } cases[] = {
        {"convert a.m3u", "listora-cli convert: OUT is missing"},
        {"compare a.m3u a.m3u --method=both -o x.m3u", "listora-cli compare: no method 'both'"},
        {"compare a.m3u a.m3u -o x.m3u", "listora-cli compare: --method is missing"},
        {"convert a.m3u b.m3u --relative=yes", "listora-cli convert: option '--relative' takes no value"},
        {"move a.m3u d --save --save-as=x.m3u", "listora-cli move: --save and --save-as exclude each other"},
    };
    for (const auto& each : cases) {
        const Result result = run(each.arguments);
        EXPECT_EQ(result.status, 2) << each.arguments;
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')), each.firstLine);
    }
    EXPECT_EQ(run("compare a.m3u a.m3u --method=common -o same.m3u").status, 0);
    EXPECT_EQ(readFile(dir.path("same.m3u")), crlf({"#EXTM3U", dir.path("x.mp3")}));
    EXPECT_EQ(run("--version").out, "Listora 1.20\n");
}

// Catches a gather that finds nothing reported as success, and a dry run
// that changes anything or hides a row that would fail.
TEST_F(Cli, GatherOfNothingAndTheDryRunSaySo) {
    dir.makeFolder("empty");
    const Result nothing = run("gather empty -o g.m3u");
    EXPECT_EQ(nothing.status, 1);
    EXPECT_EQ(nothing.err, "listora-cli gather: no music files found; g.m3u holds the header only\n");
    EXPECT_EQ(readFile(dir.path("g.m3u")), "#EXTM3U\r\n");

    dir.write("m/a.mp3", "a");
    dir.makeFolder("dest");
    dir.write("l.m3u", crlf({"#EXTM3U", dir.path("m/a.mp3"), dir.path("m/gone.mp3")}));
    const Result planned = run("move l.m3u dest --dry-run --save");
    EXPECT_EQ(planned.status, 1);
    EXPECT_EQ(planned.out, "move " + dir.path("m/a.mp3") + " -> " + dir.path("dest/a.mp3") + "\n" +
                               "not done: " + dir.path("m/gone.mp3") + ": no such file\n");
    EXPECT_EQ(readFile(dir.path("m/a.mp3")), "a");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path("dest")));
    EXPECT_EQ(readFile(dir.path("l.m3u")), crlf({"#EXTM3U", dir.path("m/a.mp3"), dir.path("m/gone.mp3")}));
    EXPECT_FALSE(std::filesystem::exists(dir.path("Log")));
}

// Catches an address moved as a path, or failed without saying why; the
// saved playlist must keep it as written.
TEST_F(Cli, AnAddressIsNotDoneAsNotALocalFile) {
    dir.makeFolder("dest");
    const std::string list = crlf({"#EXTM3U", "#EXTINF:-1,Radio", "http://h:8000/live.mp3"});
    dir.write("l.m3u", list);
    const Result moved = run("move l.m3u dest --save");
    EXPECT_EQ(moved.status, 1);
    EXPECT_EQ(moved.err, "listora-cli move: not done: http://h:8000/live.mp3: not a local file\n");
    EXPECT_EQ(readFile(dir.path("l.m3u")), list);
}

// Catches --all-types refused or not heard by the gathering.
TEST_F(Cli, GatherAllTypesAddsTheOtherMusicTypes) {
    dir.write("m/a.FLAC", "x");
    dir.write("m/b.mp3", "x");
    EXPECT_EQ(run("gather m -o plain.m3u").status, 0);
    EXPECT_EQ(readFile(dir.path("plain.m3u")), crlf({"#EXTM3U", dir.path("m/b.mp3")}));
    EXPECT_EQ(run("gather m -o all.m3u --all-types").status, 0);
    EXPECT_EQ(readFile(dir.path("all.m3u")), crlf({"#EXTM3U", dir.path("m/a.FLAC"), dir.path("m/b.mp3")}));
}

TEST_F(Cli, AfterTwoDashesEveryArgumentIsAFileName) {
    const std::string list = crlf({"#EXTM3U", dir.path("a.mp3")});
    dir.write("-x.m3u", list);
    EXPECT_EQ(run("convert -- -x.m3u --relative").status, 0);
    EXPECT_EQ(readFile(dir.path("--relative")), list);
    EXPECT_EQ(run("convert --relative -- -x.m3u -h").status, 0);
    EXPECT_EQ(readFile(dir.path("-h")), crlf({"#EXTM3U", "a.mp3"}));
    EXPECT_EQ(run("convert -x.m3u out.m3u").status, 2);
}

// Catches a wrong or missing report line, a repair not written, a row
// repaired that was not sure, and an exit status that hides broken rows.
TEST_F(Cli, RelinkRepairsWhatItFindsAndReportsEachMissingEntry) {
    for (const char* file : {"new/Rock/01.mp3", "new/Pop/01.mp3", "new/a/Band/x.mp3", "new/b/Band/x.mp3",
                             "new/Let It Be.mp3", "there.mp3"})
        dir.write(file, "x");
    dir.write("list.m3u",
              crlf({"#EXTM3U", "C:\\Music\\Rock\\01.mp3", "/old/c/Band/x.mp3", "/old/Beatles - Let It Be.mp3",
                    "/old/gone.mp3", "http://radio.example/x.mp3", dir.path("there.mp3")}));
    const Result all = run("relink list.m3u out.m3u --in new --closest");
    EXPECT_EQ(all.status, 1);
    EXPECT_EQ(all.out, "found\t" + dir.path("C:/Music/Rock/01.mp3") + "\t" + dir.path("new/Rock/01.mp3") +
                           "\nambiguous\t/old/c/Band/x.mp3\t" + dir.path("new/a/Band/x.mp3") + "\t" +
                           dir.path("new/b/Band/x.mp3") + "\nclosest\t/old/Beatles - Let It Be.mp3\t" +
                           dir.path("new/Let It Be.mp3") + "\t0.72\nmissing\t/old/gone.mp3\n");
    EXPECT_EQ(readFile(dir.path("out.m3u")),
              crlf({"#EXTM3U", dir.path("new/Rock/01.mp3"), "/old/c/Band/x.mp3", dir.path("new/Let It Be.mp3"),
                    "/old/gone.mp3", "http://radio.example/x.mp3", dir.path("there.mp3")}));

    dir.write("fixable.m3u", crlf({"#EXTM3U", "C:\\Music\\Rock\\01.mp3", "C:\\Music\\Pop\\01.mp3"}));
    const Result replaced = run("relink fixable.m3u out.m3u --replace 'C:\\Music\\' new --in new");
    EXPECT_EQ(replaced.status, 0);
    EXPECT_EQ(replaced.out, "");
    EXPECT_EQ(readFile(dir.path("out.m3u")),
              crlf({"#EXTM3U", dir.path("new/Rock/01.mp3"), dir.path("new/Pop/01.mp3")}));

    EXPECT_EQ(run("relink list.m3u out.m3u --in nowhere").status, 2);
    EXPECT_EQ(run("relink list.m3u out.m3u --replace only-one").status, 2);
}

// Catches a first occurrence dropped instead of a repeat.
TEST_F(Cli, DedupeKeepsFirstOccurrences) {
    dir.write("list.m3u", crlf({"#EXTM3U", "/m/a.mp3", "/m/b.mp3", "/m/a.mp3", "/m/A.mp3"}));
    EXPECT_EQ(run("dedupe list.m3u out.m3u").status, 0);
    EXPECT_EQ(readFile(dir.path("out.m3u")), crlf({"#EXTM3U", "/m/a.mp3", "/m/b.mp3", "/m/A.mp3"}));
}

}  // namespace
}  // namespace listora::test
