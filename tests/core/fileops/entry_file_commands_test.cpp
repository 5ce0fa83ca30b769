#include "core/fileops/entry_file_commands.h"

#include "core/errors/errors.h"
#include "core/native/native_file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/main_list.h"
#include "core/ports/choosers.h"
#include "support/core_fixture.h"
#include "support/fixed_ports.h"
#include "support/scripted_choosers.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

using Texts = std::vector<std::string>;
const std::string kDeleteQuestion = "warn[YC]: 選択ファイルは完全に削除されますが、よろしいですか？";
const std::string kRenameFailed = "info: ファイル名の変更に失敗しました";

class EntryFiles : public CoreFixture {
protected:
    void addRow(const std::string& relative, bool exists = true, bool selected = false) {
        const std::string path = exists ? dir.write(relative, "x") : dir.path(relative);
        list.append({"t", "1:00", std::filesystem::path(path).filename().string(), path});
        list.setSelected(list.count() - 1, selected);
    }
    EntryFilePorts ports() { return {fs, prompts, clock, rules, dir.path("Log/")}; }
    Texts names() const {
        Texts out;
        for (const auto& row : list.rows()) out.emplace_back(row.fileName());
        return out;
    }

    ScriptedNameAsker asker;
    MainList list;
};

TEST_F(EntryFiles, RenameOffersTheFirstSelectedRowAndKeepsItsExtension) {
    addRow("m/first.mp3");
    addRow("m/a.b.mp3", true, true);
    addRow("m/later.mp3", true, true);
    asker.next = "c";
    EXPECT_TRUE(renameFile(list, ports(), asker));
    EXPECT_EQ(asker.asked, Texts{"3 a.b .mp3"});
    EXPECT_EQ(list.at(1).fileName(), "c.mp3");
    EXPECT_EQ(list.at(1).fullPath(), dir.path("m/c.mp3"));
    EXPECT_TRUE(std::filesystem::exists(dir.path("m/c.mp3")));
    EXPECT_FALSE(std::filesystem::exists(dir.path("m/a.b.mp3")));
    EXPECT_EQ(list.at(1).title(), "t");
}

TEST_F(EntryFiles, RenameRefusesTakenNamesAndNamesThatLeaveTheFolder) {
    addRow("m/a.mp3", true, true);
    addRow("m/b.mp3");
    for (const char* name : {"b", "../a", "sub/a", "two\nlines"}) {
        asker.next = name;
        EXPECT_FALSE(renameFile(list, ports(), asker)) << name;
    }
    EXPECT_EQ(prompts.shown, Texts(4, kRenameFailed));
    EXPECT_EQ(names(), (Texts{"a.mp3", "b.mp3"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path("m")), {}), 2);

    asker.next = std::nullopt;  // cancelled: nothing, not even a message
    EXPECT_FALSE(renameFile(list, ports(), asker));
    list.setSelected(0, false);
    EXPECT_FALSE(renameFile(list, ports(), asker));  // nothing selected: not even a question
    EXPECT_EQ(asker.asked.size(), 5u);
    EXPECT_EQ(prompts.shown.size(), 4u);
}

TEST_F(EntryFiles, DeleteRemovesFilesAndRowsAndLogsThemInListOrder) {
    addRow("m/keep.mp3");
    addRow("m/a.mp3", true, true);
    addRow("m/gone.mp3", false, true);  // already missing: stays, still selected
    addRow("m/b.mp3", true, true);
    addRow("m/folder.mp3", false, true);
    std::filesystem::create_directory(dir.path("m/folder.mp3"));  // a folder is never deleted
    prompts.answer(Answer::Yes);
    deleteWithFile(list, ports());
    EXPECT_EQ(prompts.shown, Texts{kDeleteQuestion});
    EXPECT_EQ(prompts.questions, std::vector<Question>{Question::DeleteFiles});
    EXPECT_EQ(names(), (Texts{"keep.mp3", "gone.mp3", "folder.mp3"}));
    EXPECT_TRUE(list.at(1).selected && list.at(2).selected);
    EXPECT_FALSE(std::filesystem::exists(dir.path("m/a.mp3")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path("m/folder.mp3")));
    EXPECT_EQ(readFile(dir.path("Log/2026-12-07.txt")),
              crlf({"a.mp3", "削除", dir.path("m/a.mp3"), "---", "b.mp3", "削除", dir.path("m/b.mp3"), "---"}));
}

TEST_F(EntryFiles, DeleteAnsweredCancelStillWritesTheDayFile) {
    addRow("m/a.mp3", true, true);
    prompts.answer(Answer::Cancel);
    deleteWithFile(list, ports());
    EXPECT_EQ(list.count(), 1u);
    EXPECT_TRUE(std::filesystem::exists(dir.path("m/a.mp3")));
    EXPECT_EQ(readFile(dir.path("Log/2026-12-07.txt")), "");
}

TEST_F(EntryFiles, RemoveMissingCountsWhatWent) {
    addRow("m/a.mp3");
    addRow("m/gone1.mp3", false);
    addRow("m/gone2.mp3", false);
    addRow("m/b.mp3");
    list.append({"---", "---", "", ""});
    list.append({"---", "---", "m", dir.path("m")});  // a folder counts as missing
    removeMissing(list, fs, prompts);
    EXPECT_EQ(names(), (Texts{"a.mp3", "b.mp3"}));
    removeMissing(list, fs, prompts);
    EXPECT_EQ(prompts.shown, (Texts{"info: 4個のリストが削除されました", "info: 0個のリストが削除されました"}));
}

// Catches an address dropped by remove-missing, or renamed or deleted as a
// path under the current folder.
TEST_F(EntryFiles, AnAddressIsKeptAndNeverRenamedOrDeleted) {
    const std::string address = "http://h/live.mp3";
    dir.write("http:/h/live.mp3", "a file where a path under the current folder would be");
    ASSERT_TRUE(fs.setCurrentDirectory(dir.path("")));
    list.append({"Radio", "-1", "live.mp3", address});
    list.setSelected(0, true);
    removeMissing(list, fs, prompts);
    asker.next = "other";
    EXPECT_FALSE(renameFile(list, ports(), asker));
    prompts.answer(Answer::Yes);
    deleteWithFile(list, ports());
    EXPECT_EQ(prompts.shown, (Texts{"info: 0個のリストが削除されました", kRenameFailed, kDeleteQuestion}));
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(list.at(0).fullPath(), address);
    EXPECT_TRUE(std::filesystem::exists(dir.path("http:/h/live.mp3")));
}

TEST_F(EntryFiles, OpenFolderShowsTheFocusRowOnly) {
    RecordingShell shell;
    addRow("m/a.mp3", true, true);
    openFolder(list, shell);
    EXPECT_TRUE(shell.shown.empty());
    addRow("m/it's $(x); b.mp3");
    list.setFocusRow(1);
    openFolder(list, shell);
    EXPECT_EQ(shell.shown, Texts{dir.path("m/it's $(x); b.mp3")});
}

}  // namespace
}  // namespace listora::test
