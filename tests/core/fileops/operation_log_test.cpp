#include "core/fileops/operation_log.h"

#include "core/errors/errors.h"
#include "core/fileops/log_reader.h"
#include "support/core_fixture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace listora::test {
namespace {

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
    log.write(fs);
    EXPECT_EQ(readFile(dayFile()), crlf({"a.mp3", "移動", "/m/a.mp3", "/d/a.mp3", "b.mp3", "削除", "/m/b.mp3", "---"}));

    // The next run appends, and a run with nothing to record keeps the file.
    OperationLog next = open();
    next.add({"c.mp3", "コピー", "/m/c.mp3", "/d/c.mp3"});
    next.write(fs);
    open().write(fs);
    EXPECT_EQ(readFile(dayFile()), crlf({"a.mp3", "移動", "/m/a.mp3", "/d/a.mp3", "b.mp3", "削除", "/m/b.mp3", "---",
                                         "c.mp3", "コピー", "/m/c.mp3", "/d/c.mp3"}));
}

TEST_F(Log, TwoRunsAtOnceBothKeepEveryRecord) {
    OperationLog longRun = open();
    OperationLog shortRun = open();
    longRun.add({"a.mp3", "コピー", "/m/a.mp3", "/d/a.mp3"});
    shortRun.add({"b.mp3", "コピー", "/m/b.mp3", "/d/b.mp3"});
    shortRun.write(fs);
    longRun.write(fs);
    EXPECT_EQ(readFile(dayFile()),
              crlf({"b.mp3", "コピー", "/m/b.mp3", "/d/b.mp3", "a.mp3", "コピー", "/m/a.mp3", "/d/a.mp3"}));
}

TEST_F(Log, ALongRunWritesInPiecesSoACrashLosesAtMostTheLast) {
    {
        OperationLog log = open();
        for (std::size_t i = 0; i < OperationLog::kPieceRecords + 10; ++i) {
            log.add({std::to_string(i) + ".mp3", "移動", "/m", "/d"});
            log.writeIfDue(fs);
        }
    }  // gone without its final write, as in a crash
    const std::vector<LogRecord> records = readLogRecords(readFile(dayFile()));
    ASSERT_EQ(records.size(), OperationLog::kPieceRecords);
    EXPECT_EQ(records.back().fileName, std::to_string(OperationLog::kPieceRecords - 1) + ".mp3");
}

TEST_F(Log, RecordsAfterANulByteStayReadable) {
    dir.write("Log/2026-12-07.txt", std::string("a.mp3\r\n移動\r\n/m/a\0\r\n/d/a\r\n", 28));
    OperationLog log = open();
    log.add({"b.mp3", "コピー", "/m/b", "/d/b"});
    log.write(fs);
    const std::vector<LogRecord> records = readDayRecords(fs, dir.path("Log/"), "2026-12-07.txt");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].before, std::string("/m/a\0", 5));
    EXPECT_EQ(records[1].fileName, "b.mp3");
    EXPECT_EQ(readLogRecords(readFile(dayFile())).size(), 2u);
}

TEST_F(Log, AHugeDayFileIsAddedToWithoutBeingRewritten) {
    std::string huge;
    while (huge.size() <= (64u << 20)) huge += crlf({"a.mp3", "移動", "/m/a.mp3", "/d/a.mp3"});
    dir.write("Log/2026-12-07.txt", huge);
    const auto inode = [&] {
        struct stat info {};
        ::stat(dayFile().c_str(), &info);
        return info.st_ino;
    };
    const auto before = inode();
    OperationLog log = open();
    log.add({"b.mp3", "コピー", "/m/b", "/d/b"});
    log.write(fs);
    EXPECT_EQ(inode(), before);  // added to in place, not made anew
    const std::string text = readFile(dayFile());
    EXPECT_EQ(text.size(), huge.size() + crlf({"b.mp3", "コピー", "/m/b", "/d/b"}).size());
    EXPECT_TRUE(text.ends_with(crlf({"b.mp3", "コピー", "/m/b", "/d/b"})));
}

TEST_F(Log, AnEmptyRunCreatesAnEmptyDayFile) {
    open().write(fs);
    EXPECT_TRUE(std::filesystem::exists(dayFile()));
    EXPECT_EQ(readFile(dayFile()), "");
}

TEST_F(Log, HandEditedBreaksAreMendedAndNeverMergeALine) {
    dir.write("Log/2026-12-07.txt", "x.mp3\n移動\r/a\r\n/b");  // LF, CR, CR LF, and no break at the end
    OperationLog log = open();
    log.add({"y.mp3", "移動", "/c", "/d"});
    log.write(fs);
    EXPECT_EQ(readFile(dayFile()), "x.mp3\r\n移動\r\n/a\r\n/b\r\ny.mp3\r\n移動\r\n/c\r\n/d");

    // Clean but for its last break: the next records follow as they are.
    log.add({"z.mp3", "移動", "/e", "/f"});
    log.write(fs);
    EXPECT_EQ(readFile(dayFile()),
              "x.mp3\r\n移動\r\n/a\r\n/b\r\ny.mp3\r\n移動\r\n/c\r\n/d\r\nz.mp3\r\n移動\r\n/e\r\n/f");
    // A lone break written by someone else since is mended too.
    std::ofstream(dayFile(), std::ios::app) << "\nw.mp3\r";
    log.write(fs);
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
        log.write(fs);
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
