#include "core/repair/folder_replacement.h"

#include "core/playlist/main_list.h"
#include "core/repair/duplicates.h"

#include <gtest/gtest.h>

namespace listora::test {
namespace {

using Texts = std::vector<std::string>;
const PathRules kRules(PathStyle::Posix, CodePage::Utf8);

// Catches a prefix matched inside a name (/music in /musical), a trailing
// separator that changes the target, and an address rewritten.
TEST(FolderReplacement, ReplacesOnlyWholeLeadingFolders) {
    const struct {
        std::string from, to, path;
        std::optional<std::string> replaced;
    } cases[] = {
        {"/music", "/new", "/music/a/b.mp3", "/new/a/b.mp3"},
        {"/music/", "/new/", "/music/b.mp3", "/new/b.mp3"},
        {"/music", "/new", "/musical/b.mp3", std::nullopt},
        {"/music", "/new", "/music", std::nullopt},
        {"/", "/mnt/old", "/a/b.mp3", "/mnt/old/a/b.mp3"},
        {"/mnt/old", "/", "/mnt/old/b.mp3", "/b.mp3"},
        {"http://host", "/new", "http://host/live.mp3", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from + " " + c.path);
        EXPECT_EQ(replacedPath(c.path, {c.from, c.to}, kRules), c.replaced);
    }
}

// Catches a Windows folder typed with "\" that misses what the reader made
// of the same line, and a row whose title or marks the replacement loses.
TEST(FolderReplacement, MatchesAWindowsFolderAsTheReaderReadIt) {
    const std::string from = folderAsPlaylistLine("C:\\Music\\", "/pl/", kRules);
    MainList list;
    list.append({"Title", "3:00", "01.mp3", "/pl/C:/Music/A/01.mp3"});
    list.append({"Other", "---", "02.mp3", "/elsewhere/02.mp3"});
    list.setChecked(0, true);
    EXPECT_EQ(replaceFolder(list, {from, "/srv/music"}, kRules), 1u);
    EXPECT_EQ(list.at(0).fullPath(), "/srv/music/A/01.mp3");
    EXPECT_EQ(list.at(0).fileName(), "01.mp3");
    EXPECT_EQ(list.at(0).title(), "Title");
    EXPECT_TRUE(list.at(0).checked);
    EXPECT_EQ(list.at(1).fullPath(), "/elsewhere/02.mp3");
}

// Catches a repeat removed outside the selection, the first occurrence
// removed instead of a later one, and paths compared without case.
TEST(Duplicates, RemovesLaterRepeatsAmongTheSelectedRows) {
    const struct {
        std::vector<bool> selected;
        Texts kept;
    } cases[] = {
        {{false, false, false, false, false, false}, {"/a", "/b", "/A", "/c"}},
        {{true, false, true, true, false, false}, {"/a", "/b", "/A", "/b", "/c"}},
    };
    for (const auto& c : cases) {
        MainList list;
        for (const char* path : {"/a", "/b", "/a", "/A", "/b", "/c"}) list.append({"t", "---", "n", path});
        for (std::size_t i = 0; i < c.selected.size(); ++i) list.setSelected(i, c.selected[i]);
        removeDuplicates(list);
        Texts kept;
        for (const PlaylistEntry& row : list.rows()) kept.emplace_back(row.fullPath());
        EXPECT_EQ(kept, c.kept);
    }
}

}  // namespace
}  // namespace listora::test
