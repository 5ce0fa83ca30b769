#include "core/repair/repair_search.h"

#include "core/playlist/playlist_fixture.h"
#include "core/repair/name_similarity.h"

#include <filesystem>

namespace listora::test {
namespace {

using Texts = std::vector<std::string>;

struct SearchCase {
    const char* what;
    Texts files;  // "link -> target" makes a link to a folder
    std::string line;
    std::optional<RepairKind> kind;  // none: the row is not missing
    Texts candidates;
    bool ignoreCase = false;
    Texts folders = {"new"};
};

class RepairSearchTest : public PlaylistFixture {
protected:
    std::string under(const std::string& folder, const std::string& relative) { return folder + "/" + relative; }

    void run(const SearchCase& c, const std::string& folder) {
        SCOPED_TRACE(c.what);
        for (const std::string& file : c.files) {
            const std::size_t arrow = file.find(" -> ");
            if (arrow == std::string::npos) {
                dir.write(under(folder, file), "x");
            } else {
                std::filesystem::create_directory_symlink(dir.path(under(folder, file.substr(arrow + 4))),
                                                          dir.path(under(folder, file.substr(0, arrow))));
            }
        }
        list.clear();
        load(dir.write(under(folder, "list.m3u"), "#EXTM3U\r\n" + c.line + "\r\n"));
        RepairSearch search{{}, c.ignoreCase, false};
        for (const std::string& searched : c.folders) search.folders.push_back(dir.path(under(folder, searched)));
        const auto proposals = findRepairs(list.rows(), fs, rules, search);
        ASSERT_TRUE(proposals);
        if (!c.kind) {
            EXPECT_TRUE(proposals->empty());
            return;
        }
        ASSERT_EQ(proposals->size(), 1u);
        EXPECT_EQ(proposals->front().kind, *c.kind);
        Texts found;
        for (const RepairCandidate& candidate : proposals->front().candidates)
            found.push_back(candidate.path.substr(dir.path(folder).size() + 1));
        EXPECT_EQ(found, c.candidates);
    }
};

// Catches a wrong file taken where names repeat, a walk that follows links
// or lists a folder twice, case rules, Windows lines, and rows wrongly
// counted missing.
TEST_F(RepairSearchTest, FindsEachMissingFileByItsName) {
    Texts common;  // more files of one name than are compared one by one
    for (int i = 0; i < 70; ++i) common.push_back("new/d" + std::to_string(i) + "/Band/01.mp3");
    common.push_back("new/Jazz/Band/01.mp3");
    const SearchCase cases[] = {
        {"a name many files have", common, "old/Jazz/Band/01.mp3", RepairKind::Found, {"new/Jazz/Band/01.mp3"}},
        {"one name in two folders: the trailing folders decide",
         {"new/Rock/Band/01.mp3", "new/Jazz/Band/01.mp3"},
         "old/Jazz/Band/01.mp3",
         RepairKind::Found,
         {"new/Jazz/Band/01.mp3"}},
        {"a true tie",
         {"new/a/Band/01.mp3", "new/b/Band/01.mp3"},
         "old/c/Band/01.mp3",
         RepairKind::Ambiguous,
         {"new/a/Band/01.mp3", "new/b/Band/01.mp3"}},
        {"case counts", {"new/Song.MP3"}, "old/song.mp3", RepairKind::Missing, {}},
        {"case ignored, folders too",
         {"new/ROCK/Song.MP3", "new/pop/song.mp3"},
         "old/rock/song.mp3",
         RepairKind::Found,
         {"new/ROCK/Song.MP3"},
         true},
        {"a Windows line",
         {"new/Rock/01.mp3", "new/Pop/01.mp3"},
         "C:\\Music\\Rock\\01.mp3",
         RepairKind::Found,
         {"new/Rock/01.mp3"}},
        {"a link loop is not followed",
         {"new/a/x.mp3", "new/a/loop -> new"},
         "old/x.mp3",
         RepairKind::Found,
         {"new/a/x.mp3"}},
        {"a folder inside another searched is walked once",
         {"new/sub/x.mp3"},
         "old/x.mp3",
         RepairKind::Found,
         {"new/sub/x.mp3"},
         false,
         {"new", "new/sub/", "new/"}},
        {"nothing of that name", {"new/y.mp3"}, "old/x.mp3", RepairKind::Missing, {}},
        {"an address is never missing", {"new/live.mp3"}, "http://radio.example/live.mp3", std::nullopt, {}},
        {"a file that is there", {"new/x.mp3", "x.mp3"}, "x.mp3", std::nullopt, {}},
        {"a file the walk found", {"new/a/x.mp3"}, "new/a/x.mp3", std::nullopt, {}},
        {"missing inside a searched folder", {"new/a/x.mp3"}, "new/x.mp3", RepairKind::Found, {"new/a/x.mp3"}},
    };
    int n = 0;
    for (const SearchCase& c : cases) run(c, "case" + std::to_string(n++));
}

// Catches a name the program's code page cannot hold being offered (its
// path would name another file): the folder "é" has no CP932 form.
TEST_F(RepairSearchTest, LeavesOutNamesTheCodePageCannotHold) {
    dir.write("new/\xC3\xA9/x.mp3", "x");
    dir.write("new/\xC3\xA9.mp3", "x");
    NativeFileSystem cp932(CodePage::Cp932, CodePage::Utf8);
    const PathRules cp932Rules(PathStyle::Posix, CodePage::Cp932);
    list.append({"t", "---", "x.mp3", dir.path("old/x.mp3")});
    const auto proposals = findRepairs(list.rows(), cp932, cp932Rules, {{dir.path("new")}, false, false});
    ASSERT_TRUE(proposals);
    ASSERT_EQ(proposals->size(), 1u);
    EXPECT_EQ(proposals->front().kind, RepairKind::Missing);
}

// Catches a ranking a person would disagree with: track numbers, case,
// punctuation and extension do not count, a changed word costs little, and
// an unrelated name is not offered.
TEST_F(RepairSearchTest, RanksSimilarNamesAsAPersonWould) {
    for (const char* name : {"Yesterday (Remastered 2009).mp3", "Yellow Submarine.mp3", "Let It Be.mp3",
                             "Here Comes the Sun.mp3", "Something.flac", "Let It Bleed.mp3"})
        dir.write(std::string("new/") + name, "x");
    const struct {
        const char* missing;
        Texts best;  // best first
    } cases[] = {
        {"02. something.MP3", {"Something.flac"}},
        {"01 - Yesterday.mp3", {"Yesterday (Remastered 2009).mp3"}},
        {"Beatles - Let It Be.mp3", {"Let It Be.mp3", "Let It Bleed.mp3"}},
        {"Hey Jude.mp3", {}},
    };
    for (const auto& c : cases) list.append({"t", "---", c.missing, dir.path("old/") + c.missing});
    const auto proposals = findRepairs(list.rows(), fs, rules, {{dir.path("new")}, false, true});
    ASSERT_TRUE(proposals);
    ASSERT_EQ(proposals->size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].missing);
        const RepairProposal& proposal = (*proposals)[i];
        Texts best;
        for (const RepairCandidate& candidate : proposal.candidates)
            best.push_back(candidate.path.substr(dir.path("new/").size()));
        EXPECT_EQ(best, cases[i].best);
        EXPECT_EQ(proposal.kind, cases[i].best.empty() ? RepairKind::Missing : RepairKind::Closest);
    }
    EXPECT_DOUBLE_EQ((*proposals)[0].candidates.front().score, 1.0);
    EXPECT_TRUE(acceptedCandidate((*proposals)[2]));
}

}  // namespace
}  // namespace listora::test
