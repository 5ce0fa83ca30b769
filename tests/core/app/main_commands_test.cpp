#include "core/app/main_commands.h"

#include "core/errors/errors.h"
#include "core/native/native_file_system.h"
#include "support/core_fixture.h"
#include "support/fixed_ports.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

using Texts = std::vector<std::string>;
const std::string kSaveQuestion = "confirm[YNC]: プレイリストを保存しますか？";
const std::string kAddQuestion = "confirm[YNC]: プレイリストに追加しますか？";

class Commands : public CoreFixture {
protected:
    // Runs a command as the window does: an error ends it and is shown.
    template <typename F>
    void run(F&& command) {
        runReportingErrors(prompts, std::forward<F>(command));
    }
    FileChoice chosen(const std::string& name, int filter = 1) { return {dir.path(name), filter}; }
    void addRow(const std::string& relative) {
        state.list.append({"---", "---", std::filesystem::path(relative).filename().string(), dir.path(relative)});
    }
    Texts fileNames() const {
        Texts out;
        for (const auto& row : state.list.rows()) out.emplace_back(row.fileName());
        return out;
    }

    MainState state;
    MainCommands commands{
        state, {fs, prompts, clock, status, shell}, PathRules(PathStyle::Posix, CodePage::Utf8), dir.path("Log/")};
};

TEST_F(Commands, NewAsksToSaveUnlessTheListIsEmpty) {
    state.currentPlaylistFile = "/kept.m3u";
    run([&] { commands.newPlaylist(); });
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(state.currentPlaylistFile, "/kept.m3u");

    addRow("a.mp3");
    prompts.answer(Answer::Cancel).answer(Answer::Yes).choose(std::nullopt);
    run([&] { commands.newPlaylist(); });
    run([&] { commands.newPlaylist(); });
    EXPECT_EQ(state.list.count(), 1u);
    EXPECT_EQ(prompts.shown, (Texts{kSaveQuestion, kSaveQuestion, "save"}));
    EXPECT_EQ(prompts.questions, std::vector<Question>(2, Question::SaveFirst));

    // Yes and a file: the list is written there, then emptied; the file
    // does not become the current playlist.
    prompts.answer(Answer::Yes).choose(chosen("new.m3u", 2));
    run([&] { commands.newPlaylist(); });
    EXPECT_EQ(readFile(dir.path("new.m3u")), crlf({"#EXTM3U", "a.mp3"}));
    EXPECT_EQ(state.list.count(), 0u);
    EXPECT_EQ(state.currentPlaylistFile, "");

    addRow("b.mp3");
    state.currentPlaylistFile = "/kept.m3u";
    prompts.answer(Answer::No);
    run([&] { commands.newPlaylist(); });
    EXPECT_EQ(state.list.count(), 0u);
    EXPECT_EQ(state.currentPlaylistFile, "");
}

TEST_F(Commands, NewKeepsTheListWhenItCannotBeWritten) {
    addRow("a.mp3");
    state.currentPlaylistFile = "/kept.m3u";
    prompts.answer(Answer::Yes).choose(chosen("missing/new.m3u"));
    run([&] { commands.newPlaylist(); });
    EXPECT_EQ(prompts.shown.back(), "error: ファイル " + dir.path("missing/new.m3u") + " を作成できません.");
    EXPECT_EQ(state.list.count(), 1u);
    EXPECT_EQ(state.currentPlaylistFile, "/kept.m3u");
}

TEST_F(Commands, OpenAsksWhetherToAddEvenToAnEmptyList) {
    const std::string first = dir.write("one.m3u", crlf({"#EXTM3U", "a.mp3"}));
    const std::string second = dir.write("two.m3u", crlf({"#EXTM3U", "b.mp3"}));
    prompts.answer(Answer::Cancel).answer(Answer::Yes).choose(std::nullopt);
    run([&] { commands.open(); });
    run([&] { commands.open(); });
    EXPECT_EQ(prompts.shown, (Texts{kAddQuestion, kAddQuestion, "open"}));
    EXPECT_EQ(prompts.questions, std::vector<Question>(2, Question::AddToList));

    prompts.answer(Answer::Yes).choose(FileChoice{first}).answer(Answer::Yes).choose(FileChoice{second});
    run([&] { commands.open(); });
    run([&] { commands.open(); });
    EXPECT_EQ(fileNames(), (Texts{"a.mp3", "b.mp3"}));
    EXPECT_EQ(state.currentPlaylistFile, second);

    prompts.answer(Answer::No).choose(FileChoice{first});
    run([&] { commands.open(); });
    EXPECT_EQ(fileNames(), (Texts{"a.mp3"}));
    EXPECT_EQ(state.currentPlaylistFile, first);

    const FileDialogRequest& dialog = prompts.dialogs.back();
    ASSERT_EQ(dialog.filters.size(), 4u);  // the other formats after the program's own filter
    EXPECT_EQ(dialog.filters[0].caption, "プレイリスト(*.m3u)");
    EXPECT_EQ(dialog.filters[0].pattern, "*.m3u");
    EXPECT_EQ(dialog.filters[1].pattern, "*.m3u8");
    EXPECT_EQ(dialog.filters[2].pattern, "*.pls");
    EXPECT_EQ(dialog.filters[3].pattern, "*.xspf");
    EXPECT_EQ(dialog.defaultExtension, "m3u");
    EXPECT_EQ(dialog.fileName, second);  // the open dialog remembers its last file
}

TEST_F(Commands, LoadReplacingEmptiesTheListEvenWhenTheHeaderQuestionIsDeclined) {
    addRow("old.mp3");
    state.currentPlaylistFile = "/earlier.m3u";
    prompts.choose(FileChoice{dir.write("plain.m3u", crlf({"a.mp3"}))}).answer(Answer::No);
    run([&] { commands.loadReplacing(); });
    EXPECT_EQ(state.list.count(), 0u);
    EXPECT_EQ(state.currentPlaylistFile, "/earlier.m3u");
}

TEST_F(Commands, AReadErrorKeepsTheRowsReadBeforeIt) {
    addRow("old.mp3");
    prompts.choose(FileChoice{dir.write("bad.m3u", crlf({"#EXTM3U", "a.mp3", "#EXTINF:x,t", "b.mp3"}))});
    run([&] { commands.loadAppending(); });
    EXPECT_EQ(fileNames(), (Texts{"old.mp3", "a.mp3"}));
    EXPECT_EQ(prompts.shown.back(), "error: 'x' is not a valid integer value.");
    EXPECT_EQ(state.currentPlaylistFile, "");
}

TEST_F(Commands, SaveWritesAtOnceOnlyWhenSavingAutomaticallyToAKnownFile) {
    addRow("music/a.mp3");
    // Off: the dialog, with the relative filter, writes relative paths and
    // the next dialog starts from that file and filter.
    prompts.choose(chosen("rel.m3u", 2)).choose(std::nullopt);
    run([&] { commands.save(); });
    EXPECT_EQ(readFile(dir.path("rel.m3u")), crlf({"#EXTM3U", "music/a.mp3"}));
    EXPECT_EQ(state.currentPlaylistFile, dir.path("rel.m3u"));
    run([&] { commands.save(); });
    EXPECT_EQ(prompts.dialogs[0].filterIndex, 1);
    EXPECT_EQ(prompts.dialogs[0].fileName, "新規プレイリスト");
    EXPECT_EQ(prompts.dialogs[1].filterIndex, 2);
    EXPECT_EQ(prompts.dialogs[1].fileName, dir.path("rel.m3u"));
    ASSERT_EQ(prompts.dialogs[0].filters.size(), 6u);  // then PLS and XSPF, absolute and relative each
    EXPECT_EQ(prompts.dialogs[0].filters[0].caption, "プレイリスト（絶対パス）(*.m3u)");
    EXPECT_EQ(prompts.dialogs[0].filters[1].caption, "プレイリスト（相対パス）（*.m3u）");
    EXPECT_EQ(prompts.dialogs[0].filters[3].pattern, "*.pls");
    EXPECT_EQ(pathModeOfFilter(4), PathMode::Relative);
    EXPECT_EQ(pathModeOfFilter(5), PathMode::Absolute);

    // On: written at once, in absolute form, no dialog and no message.
    commands.toggleAutoSave();
    const std::size_t shownBefore = prompts.shown.size();
    run([&] { commands.save(); });
    EXPECT_EQ(prompts.shown.size(), shownBefore);
    EXPECT_EQ(readFile(dir.path("rel.m3u")), crlf({"#EXTM3U", dir.path("music/a.mp3")}));
}

TEST_F(Commands, LoadAppendingThenSaveWritesTheMergedListToTheSecondFile) {
    const std::string first = dir.write("one.m3u", crlf({"#EXTM3U", "a.mp3"}));
    const std::string second = dir.write("two.m3u", crlf({"#EXTM3U", "b.mp3"}));
    state.autoSave = true;
    prompts.choose(FileChoice{first}).choose(FileChoice{second});
    run([&] { commands.loadAppending(); });
    run([&] { commands.loadAppending(); });
    run([&] { commands.save(); });
    EXPECT_EQ(readFile(second), crlf({"#EXTM3U", dir.path("a.mp3"), dir.path("b.mp3")}));
    EXPECT_EQ(readFile(first), crlf({"#EXTM3U", "a.mp3"}));
}

TEST_F(Commands, AFailedSaveKeepsTheCurrentPlaylist) {
    addRow("a.mp3");
    state.currentPlaylistFile = "/kept.m3u";
    prompts.choose(chosen("missing/x.m3u"));
    run([&] { commands.save(); });
    EXPECT_EQ(state.currentPlaylistFile, "/kept.m3u");
    EXPECT_EQ(prompts.shown.back(), "error: ファイル " + dir.path("missing/x.m3u") + " を作成できません.");
}

TEST_F(Commands, SavingTransfersWriteThePlaylistAfterTheRun) {
    const std::string dest = dir.makeFolder("dest");
    const std::string playlist = dir.path("list.m3u");
    dir.write("music/a.mp3", "x");
    addRow("music/a.mp3");
    state.list.setChecked(0, true);

    // Saving automatically to a known file: an empty destination ends the
    // command without a word.
    state.autoSave = true;
    state.currentPlaylistFile = playlist;
    run([&] { commands.transferAndSave(TransferMode::Move); });
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path("Log")));

    state.destinationFolder = dest;
    run([&] { commands.transferAndSave(TransferMode::Move); });
    EXPECT_EQ(prompts.shown, Texts{"info: 移動が終了しました"});
    EXPECT_EQ(readFile(playlist), crlf({"#EXTM3U", dest + "/a.mp3"}));
}

TEST_F(Commands, SavingTransfersAskForAFileFirstUnlessSavingAutomatically) {
    dir.write("music/a.mp3", "x");
    addRow("music/a.mp3");
    state.list.setChecked(0, true);
    run([&] { commands.transferAndSave(TransferMode::Copy); });
    EXPECT_EQ(prompts.shown, Texts{"info: 移動先を選択してくたさい"});

    // Cancelling the dialog means nothing happens at all.
    state.destinationFolder = dir.makeFolder("dest");
    prompts.choose(std::nullopt);
    run([&] { commands.transferAndSave(TransferMode::Copy); });
    EXPECT_FALSE(std::filesystem::exists(dir.path("Log")));
    EXPECT_TRUE(state.list.at(0).checked);

    prompts.choose(chosen("out.m3u", 2)).answer(Answer::Yes);
    run([&] { commands.transferAndSave(TransferMode::Copy); });
    EXPECT_EQ(readFile(dir.path("out.m3u")), crlf({"#EXTM3U", "dest/a.mp3"}));
    EXPECT_EQ(state.currentPlaylistFile, dir.path("out.m3u"));
    EXPECT_EQ(prompts.shown.back(), "info: コピーが終了しました");
}

TEST_F(Commands, ALogErrorKeepsThePlaylistUnwritten) {
    dir.write("Log", "not a folder");
    dir.write("music/a.mp3", "x");
    addRow("music/a.mp3");
    state.list.setChecked(0, true);
    state.destinationFolder = dir.makeFolder("dest");
    prompts.choose(chosen("out.m3u"));
    run([&] { commands.transferAndSave(TransferMode::Move); });
    EXPECT_FALSE(std::filesystem::exists(dir.path("out.m3u")));
    EXPECT_EQ(state.currentPlaylistFile, "");
    EXPECT_EQ(state.list.at(0).fullPath(), dir.path("dest/a.mp3"));
}

TEST_F(Commands, RemovingAndDeletingEndWithASaveEvenWhenNothingHappened) {
    addRow("a.mp3");
    prompts.choose(std::nullopt);
    run([&] { commands.removeFromList(); });
    prompts.answer(Answer::Cancel).choose(std::nullopt);
    run([&] { commands.deleteWithFile(); });
    EXPECT_EQ(prompts.shown, (Texts{"save", "warn[YC]: 選択ファイルは完全に削除されますが、よろしいですか？", "save"}));
    EXPECT_EQ(state.list.count(), 1u);

    state.autoSave = true;
    state.currentPlaylistFile = dir.path("auto.m3u");
    state.list.setSelected(0, true);
    run([&] { commands.removeFromList(); });
    EXPECT_EQ(readFile(dir.path("auto.m3u")), "#EXTM3U\r\n");
}

}  // namespace
}  // namespace listora::test
