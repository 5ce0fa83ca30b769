#include "core/fileops/operation_log.h"

#include "core/errors/errors.h"
#include "core/fileops/log_reader.h"
#include "support/core_fixture.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace listora::test {
namespace {

// Writes past `bytes` fail (EFBIG) while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, SIG_DFL);
    }

private:
    rlimit old_{};
};

class Log : public CoreFixture {
protected:
    OperationLog open() { return OperationLog::open(fs, clock, dir.path("Log/")); }
    std::string dayFile() const { return dir.path("Log/2026-12-07.txt"); }
};

TEST_F(Log, NamesTheDayFileFromTheDate) {
    EXPECT_EQ(dayFileName(2026, 12, 7), "2026-12-07.txt");
    EXPECT_EQ(dayFileName(2027, 1, 31), "2027-01-31.txt");
    EXPECT_EQ(open().dayFile(), dayFile());
}

TEST_F(Log, WritesFourLinesPerRecordAndMakesTheFolder) {
    OperationLog log = open();
    log.add({"a.mp3", "移動", "/m/a.mp3", "/d/a.mp3"});
    log.add({"b.mp3", "削除", "/m/b.mp3", "---"});
    log.write();
    EXPECT_EQ(readFile(dayFile()), crlf({"a.mp3", "移動", "/m/a.mp3", "/d/a.mp3", "b.mp3", "削除", "/m/b.mp3", "---"}));

    // The next run appends, and a run with nothing to record keeps the file.
    OperationLog next = open();
    next.add({"c.mp3", "コピー", "/m/c.mp3", "/d/c.mp3"});
    next.write();
    open().write();
    EXPECT_EQ(readFile(dayFile()), crlf({"a.mp3", "移動", "/m/a.mp3", "/d/a.mp3", "b.mp3", "削除", "/m/b.mp3", "---",
                                         "c.mp3", "コピー", "/m/c.mp3", "/d/c.mp3"}));
}

TEST_F(Log, TwoRunsAtOnceBothKeepEveryRecord) {
    OperationLog longRun = open();
    OperationLog shortRun = open();
    longRun.add({"a.mp3", "コピー", "/m/a.mp3", "/d/a.mp3"});
    shortRun.add({"b.mp3", "コピー", "/m/b.mp3", "/d/b.mp3"});
    shortRun.write();
    longRun.write();
    EXPECT_EQ(readFile(dayFile()),
              crlf({"b.mp3", "コピー", "/m/b.mp3", "/d/b.mp3", "a.mp3", "コピー", "/m/a.mp3", "/d/a.mp3"}));
}

// Catches a run whose records reach the day file only at its end or in
// large pieces, so that a kill loses the records of files that did arrive.
TEST_F(Log, RecordsReachTheDayFileWhileTheRunGoesOn) {
    OperationLog log = open();
    log.add({"a.mp3", "移動", "/m/a", "/d/a"});
    log.add({"b.mp3", "移動", "/m/b", "/d/b"});
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < giveUp && readLogRecords(readFile(dayFile())).size() < 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(readFile(dayFile()), crlf({"a.mp3", "移動", "/m/a", "/d/a", "b.mp3", "移動", "/m/b", "/d/b"}));
    log.add({"c.mp3", "移動", "/m/c", "/d/c"});
}  // the run ends by an exception: what it held is still written

TEST_F(Log, ARunEndedWithoutItsLastWriteStillLogsWhatItHeld) {
    open().add({"c.mp3", "移動", "/m/c", "/d/c"});
    EXPECT_EQ(readFile(dayFile()), crlf({"c.mp3", "移動", "/m/c", "/d/c"}));
}

// Catches a full disk that leaves part of a record at the end of the day
// file, after which every later record of the day is read out of step.
TEST_F(Log, AWriteThatFailsLeavesTheDayFileAsItWas) {
    std::string old;
    while (old.size() < 100000) old += crlf({"a.mp3", "移動", "/m/a.mp3", "/d/a.mp3"});
    dir.write("Log/2026-12-07.txt", old);
    const std::string record = crlf({"b.mp3", "コピー", std::string(300, 'm'), std::string(300, 'd')});
    OperationLog log = open();
    log.add({"b.mp3", "コピー", std::string(300, 'm'), std::string(300, 'd')});
    {
        // Files may grow to just past the day file's size: the note of the
        // addition fits, the addition itself does not.
        const FileSizeLimit limit(old.size() + 100);
        EXPECT_THROW(log.write(), ListoraError);
        EXPECT_EQ(readFile(dayFile()), old);
    }
    log.write();  // what failed was held, and is written once
    EXPECT_EQ(readFile(dayFile()), old + record);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path("Log")), {}), 1);
}

// Catches a crash in the middle of adding a piece: the torn record stays
// and the next run's records follow it out of step.
TEST_F(Log, APieceCutByACrashIsCompletedByTheNextWrite) {
    std::string old;
    while (old.size() < 8000) old += crlf({"a.mp3", "移動", "/m/a.mp3", "/d/a.mp3"});
    dir.write("Log/2026-12-07.txt", old);
    const LogRecord torn{"b.mp3", "コピー", std::string(3000, 'm'), std::string(3000, 'd')};
    const pid_t child = ::fork();
    if (child == 0) {
        // The write past the limit kills the process in its middle; the
        // note of the addition is smaller than the limit.
        const FileSizeLimit limit(10000);
        ::signal(SIGXFSZ, SIG_DFL);
        OperationLog log = open();
        log.add(torn);
        log.write();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(readFile(dayFile()).size(), 10000u);  // torn

    OperationLog next = open();
    next.add({"c.mp3", "移動", "/m/c", "/d/c"});
    next.write();
    const std::vector<LogRecord> records = readLogRecords(readFile(dayFile()));
    ASSERT_EQ(records.size(), readLogRecords(old).size() + 2);
    EXPECT_EQ(records[records.size() - 2].before, torn.before);
    EXPECT_EQ(records.back().fileName, "c.mp3");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path("Log")), {}), 1);  // no note left
}

// Catches a day file that is a link: records written wherever it points,
// outside the Log folder, or a file made there for a dangling link.
TEST_F(Log, ADayFileThatIsALinkIsNotFollowed) {
    dir.makeFolder("Log");
    std::filesystem::create_symlink(dir.path("elsewhere.txt"), dayFile());
    OperationLog log = open();
    log.add({"a.mp3", "移動", "/m/a", "/d/a"});
    EXPECT_THROW(log.write(), ListoraError);
    EXPECT_FALSE(std::filesystem::exists(dir.path("elsewhere.txt")));
    dir.write("elsewhere.txt", "");
    EXPECT_THROW(open().write(), ListoraError);
    EXPECT_EQ(readFile(dir.path("elsewhere.txt")), "");
}

TEST_F(Log, RecordsAfterANulByteStayReadable) {
    dir.write("Log/2026-12-07.txt", std::string("a.mp3\r\n移動\r\n/m/a\0\r\n/d/a\r\n", 28));
    OperationLog log = open();
    log.add({"b.mp3", "コピー", "/m/b", "/d/b"});
    log.write();
    const std::vector<LogRecord> records = readDayRecords(fs, dir.path("Log/"), "2026-12-07.txt");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].before, std::string("/m/a\0", 5));
    EXPECT_EQ(records[1].fileName, "b.mp3");
    EXPECT_EQ(readLogRecords(readFile(dayFile())).size(), 2u);
}

TEST_F(Log, AnEmptyRunCreatesAnEmptyDayFile) {
    open().write();
    EXPECT_TRUE(std::filesystem::exists(dayFile()));
    EXPECT_EQ(readFile(dayFile()), "");
}

TEST_F(Log, HandEditedBreaksAreMendedAndNeverMergeALine) {
    dir.write("Log/2026-12-07.txt", "x.mp3\n移動\r/a\r\n/b");  // LF, CR, CR LF, and no break at the end
    OperationLog log = open();
    log.add({"y.mp3", "移動", "/c", "/d"});
    log.write();
    EXPECT_EQ(readFile(dayFile()), "x.mp3\r\n移動\r\n/a\r\n/b\r\ny.mp3\r\n移動\r\n/c\r\n/d");

    // Clean but for its last break: the next records follow as they are.
    log.add({"z.mp3", "移動", "/e", "/f"});
    log.write();
    EXPECT_EQ(readFile(dayFile()),
              "x.mp3\r\n移動\r\n/a\r\n/b\r\ny.mp3\r\n移動\r\n/c\r\n/d\r\nz.mp3\r\n移動\r\n/e\r\n/f");
    // A lone break written by someone else since is mended too.
    std::ofstream(dayFile(), std::ios::app) << "\nw.mp3\r";
    log.write();
    EXPECT_EQ(readFile(dayFile()),
              "x.mp3\r\n移動\r\n/a\r\n/b\r\ny.mp3\r\n移動\r\n/c\r\n/d\r\nz.mp3\r\n移動\r\n/e\r\n/f\r\nw.mp3\r\n");
}

TEST_F(Log, ReadAndWriteFailuresNameTheDayFile) {
    dir.makeFolder("Log/2026-12-07.txt");
    try {
        open();
        ADD_FAILURE() << "no error";
    } catch (const ListoraError& error) {
        EXPECT_EQ(error.what(), "ファイル " + dayFile() + " は開けません");
    }

    clock.day = {2026, 12, 8};
    std::filesystem::remove_all(dir.path("Log"));
    dir.write("Log", "a file where the folder should be");
    OperationLog log = open();
    try {
        log.write();
        ADD_FAILURE() << "no error";
    } catch (const ListoraError& error) {
        EXPECT_EQ(error.what(), "ファイル " + dir.path("Log/2026-12-08.txt") + " を作成できません");
    }
    EXPECT_EQ(readFile(dir.path("Log")), "a file where the folder should be");
}

TEST_F(Log, ReadsFourAndThreeLineRecordsAndCutOffEnds) {
    const auto records = readLogRecords("a.mp3\r\nコピー\r\n/m/a\r\n/d/a\r\nold.mp3\n/m/old\n/d/old\nx.mp3\r\n削除");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].kind, "コピー");
    EXPECT_EQ(records[1].fileName, "old.mp3");
    EXPECT_EQ(records[1].kind, "移動");  // no kind line: an older move record
    EXPECT_EQ(records[1].before, "/m/old");
    EXPECT_EQ(records[1].after, "/d/old");
    EXPECT_EQ(records[2].kind, "削除");
    EXPECT_EQ(records[2].before, "");
    EXPECT_EQ(records[2].after, "");

    dir.write("Log/2026-12-06.txt", "");
    dir.write("Log/notes.TXT", "");
    dir.makeFolder("Log/folder");
    std::vector<std::string> names;
    EXPECT_EQ(listDayFiles(fs, dir.path("Log/"), names), Listing::Complete);
    EXPECT_EQ(names, std::vector<std::string>{"2026-12-06.txt"});
}

}  // namespace
}  // namespace listora::test
