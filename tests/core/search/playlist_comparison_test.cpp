#include "core/search/playlist_comparison.h"

#include "core/errors/errors.h"
#include "core/playlist/main_list.h"
#include "support/core_fixture.h"

#include <random>

namespace listora::test {
namespace {

using Paths = std::vector<std::string>;
using Texts = std::vector<std::string>;
using Entries = std::vector<PlaylistEntry>;

Entries entriesOf(const Paths& paths, const std::string& title = "") {
    Entries rows;
    for (const std::string& path : paths) rows.push_back({title, "---", path, path});
    return rows;
}

// Built by appending: GCC 12 reports a false overlap in "(" + std::string
// at -O3.
std::string inParentheses(std::string_view path) {
    std::string out = "(";
    out += path;
    out += ')';
    return out;
}

// The main list's rows as "path" for a checked row and "(path)" otherwise.
Paths shown(const Entries& rows) {
    Paths out;
    for (const PlaylistEntry& row : rows)
        out.push_back(row.checked ? std::string(row.fullPath()) : inParentheses(row.fullPath()));
    return out;
}

// The walk of the comparison, step for step, with its scans:
// the model the hashed comparison must agree with.
Paths walked(Entries a, Entries b, ComparisonMethod method, bool& stopped) {
    const auto dedupe = [](Entries& rows) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            for (std::size_t j = rows.size(); j-- > i + 1;)
                if (rows[j].fullPath() == rows[i].fullPath()) rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(j));
    };
    dedupe(a);
    dedupe(b);
    const auto findInB = [&](std::string_view path) {
        for (std::size_t j = 0; j < b.size(); ++j)
            if (b[j].fullPath() == path) return static_cast<std::ptrdiff_t>(j);
        return std::ptrdiff_t{-1};
    };
    stopped = false;
    if (method == ComparisonMethod::Common) {
        if (b.empty()) {
            stopped = true;
            return {};
        }
        for (std::size_t i = a.size(); i-- > 0;)
            if (findInB(a[i].fullPath()) < 0) a.erase(a.begin() + static_cast<std::ptrdiff_t>(i));
        b.clear();
    } else {
        for (std::size_t i = a.size(); i-- > 0 && !b.empty();) {
            const std::ptrdiff_t j = findInB(a[i].fullPath());
            if (j < 0) continue;
            a.erase(a.begin() + static_cast<std::ptrdiff_t>(i));
            b.erase(b.begin() + j);
        }
        if (method == ComparisonMethod::OnlyInA) b.clear();
    }
    Paths out;
    for (const PlaylistEntry& row : a) out.emplace_back(row.fullPath());
    for (std::size_t j = b.size(); j-- > 0;) out.push_back(inParentheses(b[j].fullPath()));
    return out;
}

Paths compared(Entries a, Entries b, ComparisonMethod method, bool& stopped) {
    stopped = !compareEntries(a, b, method);
    return stopped ? Paths{} : shown(comparisonRows(a, std::move(b)));
}

constexpr ComparisonMethod kDifference = ComparisonMethod::Difference;
constexpr ComparisonMethod kCommon = ComparisonMethod::Common;
constexpr ComparisonMethod kOnlyInA = ComparisonMethod::OnlyInA;

TEST(Comparison, EachMethodGivesItsRowsInItsOrder) {
    const struct {
        const char* what;
        Paths a, b;
        ComparisonMethod method;
        Paths rows;
        bool stopped;
    } cases[] = {
        {"difference", {"x", "y", "z"}, {"z", "w", "y"}, kDifference, {"x", "(w)"}, false},
        {"common, in A's order", {"x", "y", "z"}, {"z", "w", "y"}, kCommon, {"y", "z"}, false},
        {"only in A", {"x", "y", "z"}, {"z", "w", "y"}, kOnlyInA, {"x"}, false},
        {"B's own entries last first", {"a"}, {"p", "q", "r"}, kDifference, {"a", "(r)", "(q)", "(p)"}, false},
        {"the same file twice, difference", {"a", "b", "a"}, {"a", "b", "a"}, kDifference, {}, false},
        {"the same file twice, only in A", {"a", "b"}, {"a", "b"}, kOnlyInA, {}, false},
        {"the same file twice, common", {"a", "b", "a"}, {"a", "b", "a"}, kCommon, {"a", "b"}, false},
        {"A empty", {}, {"p", "q", "p"}, kDifference, {"(q)", "(p)"}, false},
        {"three repeats in A, once in B", {"s", "s", "s", "t"}, {"s"}, kDifference, {"t"}, false},
        {"letter case counts", {"/m/A.mp3"}, {"/m/a.mp3"}, kCommon, {}, false},
        {"letter case counts, difference", {"/m/A.mp3"}, {"/m/a.mp3"}, kDifference, {"/m/A.mp3", "(/m/a.mp3)"}, false},
        {"empty B, common stops", {"a", "b"}, {}, kCommon, {}, true},
        {"empty B, difference", {"a", "b", "a"}, {}, kDifference, {"a", "b"}, false},
        {"empty B, only in A", {"a", "b", "a"}, {}, kOnlyInA, {"a", "b"}, false},
    };
    for (const auto& c : cases) {
        bool stopped = false;
        EXPECT_EQ(compared(entriesOf(c.a), entriesOf(c.b), c.method, stopped), c.rows) << c.what;
        EXPECT_EQ(stopped, c.stopped) << c.what;
    }
}

// Small lists over few paths, so that repeats and shared paths abound.
TEST(Comparison, AgreesWithTheWalkOnRandomLists) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> size(0, 12);
    std::uniform_int_distribution<int> path(0, 7);
    for (int round = 0; round < 3000; ++round) {
        Paths a(static_cast<std::size_t>(size(random)));
        Paths b(static_cast<std::size_t>(size(random)));
        for (std::string& p : a) p = "/m/" + std::to_string(path(random));
        for (std::string& p : b) p = "/m/" + std::to_string(path(random));
        for (const ComparisonMethod method : {kDifference, kCommon, kOnlyInA}) {
            bool stoppedWalk = false;
            bool stoppedHash = false;
            const Paths expected = walked(entriesOf(a), entriesOf(b), method, stoppedWalk);
            ASSERT_EQ(compared(entriesOf(a), entriesOf(b), method, stoppedHash), expected)
                << "round " << round << ", method " << static_cast<int>(method);
            ASSERT_EQ(stoppedHash, stoppedWalk);
        }
    }
}

class Compare : public CoreFixture {
protected:
    // True when the comparison gave a result.
    bool run(const std::string& a, const std::string& b, ComparisonMethod method) {
        ComparisonOutcome outcome = ComparisonOutcome::NotChosen;
        runReportingErrors(prompts, [&] {
            outcome = ComparePlaylists({list, currentFile, cut, buffer}, {fs, prompts, rules}, a, b, method);
        });
        return outcome == ComparisonOutcome::Result;
    }

    MainList list;
    std::string currentFile = "/kept.m3u";
    CutBuffer cut;
    Entries buffer;
};

TEST_F(Compare, ReadsBothFilesAndFillsTheListWithATitlesFromA) {
    const std::string a = dir.write("a.m3u", crlf({"#EXTM3U", "#EXTINF:61,from A", "y.mp3", "x.mp3"}));
    const std::string b = dir.write("b.m3u", crlf({"y.mp3", "#EXTINF:5,from B", "w.mp3", "folder/"}));
    list.append({"old", "---", "old.mp3", "/old.mp3"});
    cut = entriesOf({"/cut.mp3"});
    EXPECT_TRUE(run(a, b, kCommon));
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(list.at(0).title(), "from A");
    EXPECT_TRUE(list.at(0).checked);
    EXPECT_EQ(currentFile, "");
    EXPECT_TRUE(prompts.shown.empty());  // B lacks the header, and is read without asking
    ASSERT_EQ(cut.size(), 1u);           // what came from A waits to be pasted
    EXPECT_EQ(cut[0].fullPath(), dir.path("y.mp3"));

    EXPECT_TRUE(run(a, b, kDifference));
    EXPECT_EQ(shown(list.rows()), (Paths{dir.path("x.mp3"), inParentheses(dir.path("w.mp3"))}));
}

TEST_F(Compare, ChecksTheNamesAndStopsOnWhatCannotBeRead) {
    const std::string a = dir.write("a.m3u", crlf({"#EXTM3U", "a.mp3"}));
    list.append({"old", "---", "old.mp3", "/old.mp3"});
    for (const std::string& missing : {std::string(), dir.path("none.m3u"), dir.makeFolder("folder.m3u")}) {
        EXPECT_FALSE(run(a, missing, kDifference));
        EXPECT_FALSE(run(missing, a, kDifference));
    }
    EXPECT_EQ(prompts.shown, Texts(6, "info: プレイリストを選択してください"));
    EXPECT_EQ(list.count(), 1u);  // nothing changed
    EXPECT_EQ(currentFile, "/kept.m3u");

    prompts.shown.clear();
    const std::string bad = dir.write("bad.m3u", crlf({"#EXTM3U", "#EXTINF:x,t", "t.mp3"}));
    EXPECT_FALSE(run(a, bad, kDifference));
    EXPECT_EQ(prompts.shown, Texts{"error: 'x' is not a valid integer value."});
    EXPECT_EQ(list.count(), 0u);  // emptied before the read
    EXPECT_EQ(currentFile, "/kept.m3u");

    // Common with an empty B: nothing to show, the window stays.
    prompts.shown.clear();
    EXPECT_FALSE(run(a, dir.write("empty.m3u", ""), kCommon));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(cut.size(), 1u);
}

}  // namespace
}  // namespace listora::test
