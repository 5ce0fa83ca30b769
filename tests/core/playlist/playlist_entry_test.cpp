#include "core/playlist/playlist_entry.h"

#include "core/playlist/text_slabs.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace listora {
namespace {

void expectTexts(const PlaylistEntry& row, std::string_view title, std::string_view length, std::string_view name,
                 std::string_view path) {
    EXPECT_EQ(row.title(), title);
    EXPECT_EQ(row.lengthText(), length);
    EXPECT_EQ(row.fileName(), name);
    EXPECT_EQ(row.fullPath(), path);
}

// The file name is kept once when it ends the path; a name that does not,
// or ends it only as bytes inside a longer name, must come back as given.
TEST(PlaylistEntry, EveryTextComesBackWhetherOrNotTheNameEndsThePath) {
    expectTexts(PlaylistEntry("t", "1:00", "a.mp3", "/m/a.mp3"), "t", "1:00", "a.mp3", "/m/a.mp3");
    expectTexts(PlaylistEntry("t", "---", "b.mp3", "/m/a.mp3"), "t", "---", "b.mp3", "/m/a.mp3");
    expectTexts(PlaylistEntry("", "", "", "/m/"), "", "", "", "/m/");
    expectTexts(PlaylistEntry("長い題名", "---", "/m/a.mp3", "/m/a.mp3"), "長い題名", "---", "/m/a.mp3", "/m/a.mp3");
    expectTexts(PlaylistEntry(), "", "", "", "");
    expectTexts(PlaylistEntry(std::string("a\0b", 3), "---", "x", "x"), std::string("a\0b", 3), "---", "x", "x");
}

TEST(PlaylistEntry, EachSetterChangesOnlyItsOwnTextsAndMayTakeTheRowsOwnText) {
    PlaylistEntry row("title", "3:15", "a.mp3", "/m/a.mp3");
    row.checked = true;
    row.setTitle(row.fullPath());
    expectTexts(row, "/m/a.mp3", "3:15", "a.mp3", "/m/a.mp3");
    row.setLengthText(row.title().substr(1, 1));
    expectTexts(row, "/m/a.mp3", "m", "a.mp3", "/m/a.mp3");
    row.setPath("c.ogg", "/n/" + std::string(row.fileName()) + "/c.ogg");
    expectTexts(row, "/m/a.mp3", "m", "c.ogg", "/n/a.mp3/c.ogg");
    row.setPath(row.fullPath(), row.fileName());
    expectTexts(row, "/m/a.mp3", "m", "/n/a.mp3/c.ogg", "c.ogg");
    EXPECT_TRUE(row.checked);

    PlaylistEntry empty;
    empty.setTitle("only");
    expectTexts(empty, "only", "", "", "");
}

TEST(PlaylistEntry, CopiesAreIndependentAndMovesLeaveTheMarks) {
    PlaylistEntry row("t", "---", "a.mp3", "/m/a.mp3");
    row.selected = true;
    PlaylistEntry copy = row;
    row.setTitle("changed");
    expectTexts(copy, "t", "---", "a.mp3", "/m/a.mp3");
    EXPECT_TRUE(copy.selected);
    copy = row;
    EXPECT_EQ(copy.title(), "changed");
    const PlaylistEntry& same = copy;
    copy = same;
    EXPECT_EQ(copy.title(), "changed");

    PlaylistEntry moved = std::move(row);
    expectTexts(moved, "changed", "---", "a.mp3", "/m/a.mp3");
    EXPECT_TRUE(row.selected);  // a cut row is still removed by its mark
}

TEST(PlaylistEntry, ColumnsAndSubTextsNameTheTextsInListOrder) {
    const PlaylistEntry row("t", "1:00", "a.mp3", "/m/a.mp3");
    EXPECT_EQ(row.columnText(0), "t");
    EXPECT_EQ(row.columnText(1), "1:00");
    EXPECT_EQ(row.columnText(2), "a.mp3");
    EXPECT_EQ(row.columnText(3), "/m/a.mp3");
    EXPECT_EQ(row.subText(0), "1:00");
    EXPECT_EQ(row.subText(2), "/m/a.mp3");
}

// Rows of a read share slabs that must live exactly as long as their last
// row: past the read that made them, through moves, copies, setters and
// removals in any order (the sanitized build reports a slab freed early or
// never).
TEST(PlaylistEntry, RowsInSharedSlabsOutliveTheirReadAndLeaveInAnyOrder) {
    std::vector<PlaylistEntry> rows;
    {
        TextSlabs slabs;
        for (int i = 0; i < 30000; ++i) {
            const std::string name = std::to_string(i) + ".mp3";
            rows.emplace_back(slabs, "title " + std::to_string(i), "1:00", name, "/music/" + name);
        }
        // A block larger than a slab, between the others.
        rows.emplace_back(slabs, std::string(3 << 20, 'x'), "---", "big.mp3", "/music/big.mp3");
        rows.emplace_back(slabs, "after", "---", "a.mp3", "/music/a.mp3");
    }
    EXPECT_EQ(rows[29999].title(), "title 29999");
    EXPECT_EQ(rows[30000].title().size(), std::size_t{3} << 20);
    expectTexts(rows[30001], "after", "---", "a.mp3", "/music/a.mp3");

    PlaylistEntry copy = rows[5];
    rows[6].setTitle(rows[6].fullPath());
    rows[7] = std::move(rows[8]);
    std::mt19937 dice(3);
    std::shuffle(rows.begin(), rows.end(), dice);
    while (rows.size() > 100) rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(dice() % rows.size()));
    for (const PlaylistEntry& row : rows) {
        const std::string_view title = row.title();
        EXPECT_TRUE(title.starts_with("title ") || title.starts_with("/music/") || title == "after" ||
                    title.size() == std::size_t{3} << 20 || title.empty())
            << title;
    }
    rows.clear();
    expectTexts(copy, "title 5", "1:00", "5.mp3", "/music/5.mp3");
}

}  // namespace
}  // namespace listora
