#include "core/fileops/transfer_engine.h"

#include "core/errors/errors.h"
#include "core/native/native_file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/main_list.h"
#include "support/core_fixture.h"
#include "support/faulty_file_system.h"
#include "support/fixed_ports.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

using Texts = std::vector<std::string>;

// "NoSuchFile SOURCE", "AlreadyExists TARGET", "SystemError TARGET text".
std::string describe(const RowNotDone& row) {
    switch (row.reason) {
        case RowFailure::NoSuchFile:
            return "NoSuchFile " + row.source;
        case RowFailure::AlreadyExists:
            return "AlreadyExists " + row.target;
        case RowFailure::SystemError:
            return "SystemError " + row.target + " " + row.systemText;
        case RowFailure::NotLocalFile:
            return "NotLocalFile " + row.source;
    }
    return "";
}
const std::string kCopyQuestion = "confirm[YNC]: プレイリストのフルパスを書き換えますか？";

class Engine : public CoreFixture {
protected:
    // A checked row for a file that exists (or not, with no content).
    void addRow(const std::string& relative, std::optional<std::string> content = "music") {
        const std::string path = content ? dir.write(relative, *content) : dir.path(relative);
        list.append({"---", "---", std::filesystem::path(path).filename().string(), path});
        list.setChecked(list.count() - 1, true);
    }
    void run(TransferMode mode, const std::string& destination) {
        runReportingErrors(prompts, [&] {
            SaveToFile(list, destination, mode, {fs, prompts, clock, status, rules, dir.path("Log/")});
        });
    }
    std::string dayFile() const { return dir.path("Log/2026-12-07.txt"); }
    std::vector<bool> checks() const {
        std::vector<bool> out;
        for (const auto& row : list.rows()) out.push_back(row.checked);
        return out;
    }

    MainList list;
};

TEST_F(Engine, AnEmptyDestinationOnlyAsksForOne) {
    addRow("a.mp3");
    run(TransferMode::Copy, "");
    EXPECT_EQ(prompts.shown, Texts{"info: 移動先を選択してくたさい"});
    EXPECT_FALSE(std::filesystem::exists(dir.path("Log")));
    EXPECT_TRUE(list.at(0).checked);
}

TEST_F(Engine, MovesCheckedRowsAndKeepsFailuresCheckedForARetry) {
    const std::string dest = dir.makeFolder("dest");
    addRow("m/1.mp3");
    addRow("m/2.mp3", std::nullopt);  // missing
    addRow("m/3.mp3");
    addRow("m/4.mp3");
    addRow("m/5.mp3");
    list.append({"---", "---", "6.mp3", dir.write("m/6.mp3", "unchecked")});
    dir.write("dest/4.mp3", "already there");

    run(TransferMode::Move, dest);
    EXPECT_EQ(checks(), (std::vector<bool>{false, true, false, true, false, false}));
    EXPECT_EQ(list.at(0).fullPath(), dest + "/1.mp3");
    EXPECT_EQ(list.at(3).fullPath(), dir.path("m/4.mp3"));
    EXPECT_EQ(readFile(dest + "/4.mp3"), "already there");
    EXPECT_TRUE(std::filesystem::exists(dir.path("m/6.mp3")));
    EXPECT_EQ(status.current(), "2個のエラーがあります");
    EXPECT_EQ(prompts.shown, Texts{"info: 移動が終了しました（エラー：2個）"});
    EXPECT_EQ(readFile(dayFile()),
              crlf({"1.mp3", "移動", dir.path("m/1.mp3"), dest + "/1.mp3", "3.mp3", "移動", dir.path("m/3.mp3"),
                    dest + "/3.mp3", "5.mp3", "移動", dir.path("m/5.mp3"), dest + "/5.mp3"}));

    // The second run tries exactly the two failures; the missing file now exists.
    dir.write("m/2.mp3", "late");
    run(TransferMode::Move, dest + "/");
    EXPECT_EQ(checks(), (std::vector<bool>{false, false, false, true, false, false}));
    EXPECT_EQ(list.at(1).fullPath(), dest + "/2.mp3");
    EXPECT_EQ(prompts.shown.back(), "info: 移動が終了しました（エラー：1個）");
}

TEST_F(Engine, MoveWithNothingCheckedStillWritesTheDayFile) {
    run(TransferMode::Move, dir.makeFolder("dest"));
    EXPECT_EQ(prompts.shown, Texts{"info: 移動が終了しました"});
    EXPECT_EQ(status.texts, Texts{""});
    EXPECT_EQ(readFile(dayFile()), "");
}

TEST_F(Engine, CopyAsksWhetherTheRowsShouldNameTheCopies) {
    const std::string dest = dir.makeFolder("dest");
    const struct {
        Answer answer;
        bool renamed;
    } cases[] = {{Answer::Yes, true}, {Answer::No, false}};
    for (const auto& c : cases) {
        list.clear();
        std::filesystem::remove_all(dest);
        std::filesystem::remove_all(dir.path("Log"));
        std::filesystem::create_directory(dest);
        status.texts.clear();
        for (const char* name : {"s/a.mp3", "s/b.mp3", "s/c.mp3", "s/d.mp3"}) addRow(name);
        prompts.answer(c.answer);
        run(TransferMode::Copy, dest);
        EXPECT_EQ(status.texts,
                  (Texts{"1ファイルをコピー", "2ファイルをコピー", "3ファイルをコピー", "4ファイルをコピー", ""}));
        EXPECT_EQ(prompts.shown.back(), "info: コピーが終了しました");
        EXPECT_EQ(checks(), std::vector<bool>(4, false));
        EXPECT_EQ(list.at(0).fullPath(), c.renamed ? dest + "/a.mp3" : dir.path("s/a.mp3"));
        EXPECT_EQ(readFile(dest + "/d.mp3"), "music");
        EXPECT_TRUE(std::filesystem::exists(dir.path("s/d.mp3")));
        // The record's after-path is the copy, whatever the row now names.
        EXPECT_TRUE(readFile(dayFile()).starts_with(crlf({"a.mp3", "コピー", dir.path("s/a.mp3"), dest + "/a.mp3"})));
    }
}

// A copy the file system refuses part way (a full disk, a refused name): that
// row alone stays checked, names its source and is not logged.
TEST_F(Engine, ACopyThatFailsKeepsItsRowCheckedAndUnlogged) {
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3"}) addRow(std::string("m/") + name);
    const std::string dest = dir.makeFolder("dest");
    FaultyFileSystem faulty;
    faulty.failCall(FsOperation::CopyFile, 2);
    prompts.answer(Answer::Yes);
    runReportingErrors(prompts, [&] {
        SaveToFile(list, dest, TransferMode::Copy, {faulty, prompts, clock, status, rules, dir.path("Log/")});
    });
    EXPECT_EQ(checks(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(list.at(1).fullPath(), dir.path("m/2.mp3"));
    EXPECT_EQ(list.at(2).fullPath(), dest + "/3.mp3");
    EXPECT_FALSE(std::filesystem::exists(dest + "/2.mp3"));
    EXPECT_EQ(prompts.shown.back(), "info: コピーが終了しました（エラー：1個）");
    EXPECT_EQ(readFile(dayFile()), crlf({"1.mp3", "コピー", dir.path("m/1.mp3"), dest + "/1.mp3", "3.mp3", "コピー",
                                         dir.path("m/3.mp3"), dest + "/3.mp3"}));
}

// Catches a failed sync of the copies counted as a failed row, though
// every row was copied.
TEST_F(Engine, ACopyWhoseSyncFailsSaysSoWithoutCountingARow) {
    addRow("m/1.mp3");
    const std::string dest = dir.makeFolder("dest");
    FaultyFileSystem faulty;
    faulty.failCall(FsOperation::SyncToDisk, 1);
    prompts.answer(Answer::No);
    long long failed = -1;
    runReportingErrors(prompts, [&] {
        failed = SaveToFile(list, dest, TransferMode::Copy, {faulty, prompts, clock, status, rules, dir.path("Log/")});
    });
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(prompts.shown.back(),
              "info: コピーが終了しました。ただし " + dest + " のディスクへの書き込みを確かめられません");
}

TEST_F(Engine, CopyAnsweredCancelCountsEveryCheckedRow) {
    for (const char* name : {"s/a.mp3", "s/b.mp3", "s/c.mp3"}) addRow(name);
    prompts.answer(Answer::Cancel);
    run(TransferMode::Copy, dir.makeFolder("dest"));
    EXPECT_EQ(prompts.shown, (Texts{kCopyQuestion, "info: コピーが終了しました（エラー：3個）"}));
    EXPECT_EQ(prompts.questions, std::vector<Question>{Question::RewriteCopiedPaths});
    EXPECT_EQ(status.texts, Texts{"3個のエラーがあります"});
    EXPECT_EQ(checks(), std::vector<bool>(3, true));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path("dest")));
    EXPECT_EQ(readFile(dayFile()), "");

    list.clear();  // the question comes even with nothing checked
    prompts.answer(Answer::No);
    run(TransferMode::Copy, dir.path("dest"));
    EXPECT_EQ(prompts.shown.back(), "info: コピーが終了しました");
}

TEST_F(Engine, TheSameNameTwiceOrAtTheTargetIsAnError) {
    const std::string dest = dir.makeFolder("dest");
    addRow("one/a.mp3", "first");
    addRow("two/a.mp3", "second");
    addRow("dest/b.mp3");  // copying a file into its own folder
    prompts.answer(Answer::Yes);
    run(TransferMode::Copy, dest);
    EXPECT_EQ(checks(), (std::vector<bool>{false, true, true}));
    EXPECT_EQ(readFile(dest + "/a.mp3"), "first");
    EXPECT_EQ(prompts.shown.back(), "info: コピーが終了しました（エラー：2個）");
}

// Catches a row not done without its reason, a reason that is wrong, and a
// dry run that foresees otherwise than the run does or changes anything.
TEST_F(Engine, EachRowNotDoneHasItsReasonAndTheDryRunForeseesIt) {
    struct Recorder : TransferProgress {
        void rowStarting(std::size_t, std::size_t) override {}
        void rowNotDone(const RowNotDone& row) override { seen.push_back(describe(row)); }
        std::vector<std::string> seen;
    };
    for (const TransferMode mode : {TransferMode::Move, TransferMode::Copy}) {
        SCOPED_TRACE(mode == TransferMode::Move ? "move" : "copy");
        list.clear();
        std::filesystem::remove_all(dir.path("dest"));
        std::filesystem::remove_all(dir.path("m"));
        const std::string dest = dir.makeFolder("dest");
        addRow("m/a.mp3");
        addRow("m/gone.mp3", std::nullopt);
        addRow("m/b.mp3");
        dir.write("dest/b.mp3", "there before");
        addRow("m/other/a.mp3");                                              // the first row's name
        list.append({"---", "---", "sub/c.mp3", dir.write("m/c.mp3", "c")});  // no folder "sub" in dest
        list.setChecked(list.count() - 1, true);

        const Texts foreseen = {"NoSuchFile " + dir.path("m/gone.mp3"), "AlreadyExists " + dest + "/b.mp3",
                                "AlreadyExists " + dest + "/a.mp3"};
        Texts planned;
        const long long planFailures =
            planTransfer(list, dest, mode, fs, rules,
                         [&](const std::string&, const std::string&, const std::optional<RowNotDone>& why) {
                             if (why) planned.push_back(describe(*why));
                         });
        EXPECT_EQ(planned, foreseen);
        EXPECT_EQ(planFailures, 3);
        EXPECT_EQ(std::filesystem::directory_iterator(dest)->path().filename(), "b.mp3");  // the only entry

        Recorder recorder;
        prompts.answer(Answer::No);
        runReportingErrors(prompts, [&] {
            SaveToFile(list, dest, mode, {fs, prompts, clock, status, rules, dir.path("Log/"), &recorder});
        });
        Texts done = foreseen;
        done.push_back("SystemError " + dest + "/sub/c.mp3 " + std::strerror(ENOENT));
        EXPECT_EQ(recorder.seen, done);
    }
}

TEST_F(Engine, UsesTheFileNameColumnAndARelativeDestinationAsTheyStand) {
    dir.makeFolder("out");
    list.append({"---", "---", "b.mp3", dir.write("m/a.mp3", "x")});
    list.setChecked(0, true);
    run(TransferMode::Move, "out");  // relative to the current folder, which is the temporary one
    EXPECT_EQ(list.at(0).fullPath(), "out/b.mp3");
    EXPECT_EQ(readFile(dir.path("out/b.mp3")), "x");
}

TEST_F(Engine, TargetPathsDropOneTrailingSeparatorOnWholeCharacters) {
    const PathRules windows(PathStyle::Windows, CodePage::Cp932);
    const std::string omote = "\x95\x5C";  // 表
    EXPECT_EQ(targetPathFor("D:\\music\\", "a.mp3", windows), "D:\\music\\a.mp3");
    EXPECT_EQ(targetPathFor("D:\\music", "a.mp3", windows), "D:\\music\\a.mp3");
    EXPECT_EQ(targetPathFor("D:\\", "a.mp3", windows), "D:\\a.mp3");
    EXPECT_EQ(targetPathFor("D:\\" + omote, "a.mp3", windows), "D:\\" + omote + "\\a.mp3");
    EXPECT_EQ(targetPathFor("/music//", "a.mp3", rules), "/music//a.mp3");  // only one is dropped
    EXPECT_EQ(targetPathFor("/", "a.mp3", rules), "/a.mp3");
}

TEST_F(Engine, ALogThatCannotBeWrittenKeepsTheTransfersButEndsTheRun) {
    const std::string dest = dir.makeFolder("dest");
    dir.write("Log", "not a folder");
    addRow("m/a.mp3");
    run(TransferMode::Move, dest);
    EXPECT_EQ(prompts.shown, Texts{"error: ファイル " + dayFile() + " を作成できません."});
    EXPECT_EQ(list.at(0).fullPath(), dest + "/a.mp3");
    EXPECT_FALSE(list.at(0).checked);
    EXPECT_TRUE(status.texts.empty());
}

TEST_F(Engine, ALogThatCannotBeReadStopsBeforeAnyTransfer) {
    dir.makeFolder("Log/2026-12-07.txt");
    addRow("m/a.mp3");
    prompts.answer(Answer::Yes);
    run(TransferMode::Copy, dir.makeFolder("dest"));
    EXPECT_EQ(prompts.shown, Texts{"error: ファイル " + dayFile() + " は開けません."});
    EXPECT_TRUE(list.at(0).checked);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path("dest")));
}

// Catches an address moved or copied as if it were a path under the current
// folder, or counted as done.
TEST_F(Engine, AnAddressIsNeverTransferredAndSaysWhy) {
    struct Recorder : TransferProgress {
        void rowStarting(std::size_t, std::size_t) override {}
        void rowNotDone(const RowNotDone& row) override { seen.push_back(describe(row)); }
        std::vector<std::string> seen;
    };
    const std::string dest = dir.makeFolder("dest");
    const std::string address = "http://h:8000/live.mp3";
    dir.write("cwd/http:/h:8000/live.mp3", "a file where a path under the current folder would be");
    ASSERT_TRUE(fs.setCurrentDirectory(dir.path("cwd")));
    for (const TransferMode mode : {TransferMode::Move, TransferMode::Copy}) {
        list.clear();
        list.append({"Radio", "-1", "live.mp3", address});
        list.setChecked(0, true);
        Texts planned;
        planTransfer(list, dest, mode, fs, rules,
                     [&](const std::string&, const std::string&, const std::optional<RowNotDone>& why) {
                         if (why) planned.push_back(describe(*why));
                     });
        Recorder recorder;
        prompts.answer(Answer::Yes);
        runReportingErrors(prompts, [&] {
            SaveToFile(list, dest, mode, {fs, prompts, clock, status, rules, dir.path("Log/"), &recorder});
        });
        EXPECT_EQ(planned, Texts{"NotLocalFile " + address});
        EXPECT_EQ(recorder.seen, planned);
        EXPECT_EQ(list.at(0).fullPath(), address);
        EXPECT_TRUE(list.at(0).checked);
        EXPECT_TRUE(std::filesystem::is_empty(dest));
    }
}

}  // namespace
}  // namespace listora::test
