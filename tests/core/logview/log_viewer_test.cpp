#include "core/logview/log_viewer.h"

#include "core/errors/errors.h"
#include "core/fileops/log_reader.h"
#include "support/faulty_file_system.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace listora::test {
namespace {

std::vector<std::string> kinds(const std::vector<LogRecord>& records) {
    std::vector<std::string> out;
    for (const LogRecord& record : records) out.push_back(record.kind + ":" + record.before);
    return out;
}

TEST(LogReader, AKindWordMustBeTheWholeLineAndLinesAreNeverResynchronised) {
    // "移動 " is no kind word: a three-line record whose path before is that line.
    EXPECT_EQ(kinds(readLogRecords("a.mp3\r\n移動 \r\n/d/a\r\n")), std::vector<std::string>{"移動:移動 "});
    EXPECT_TRUE(readLogRecords("").empty());
    const auto lone = readLogRecords("only.mp3\r\n");
    ASSERT_EQ(lone.size(), 1u);
    EXPECT_EQ(lone[0].fileName, "only.mp3");
    EXPECT_EQ(kinds(lone), std::vector<std::string>{"移動:"});
    // A blank line inside the first record shifts every record after it.
    const auto shifted = readLogRecords("a.mp3\r\n\r\nコピー\r\n/m/a\r\n/d/a\r\nb.mp3\r\n削除\r\n/m/b\r\n---\r\n");
    EXPECT_EQ(kinds(shifted), (std::vector<std::string>{"移動:", "移動:/d/a", "移動:/m/b"}));
}

class Viewer : public testing::Test {
protected:
    TempDir dir;
    FaultyFileSystem fs;
    ScriptedPrompts prompts;
    LogViewer viewer{fs, prompts, dir.path("Log/")};

    std::vector<std::size_t> selectedRows() const {
        std::vector<std::size_t> rows;
        for (std::size_t i = 0; i < viewer.records().size(); ++i)
            if (viewer.isSelected(i)) rows.push_back(i);
        return rows;
    }
};

TEST_F(Viewer, OffersTheDayFilesInNameOrderAndSaysWhenTheListingBreaksOff) {
    EXPECT_TRUE(viewer.open().empty());  // no Log folder: nothing, and nothing said
    dir.write("Log/2026-12-07.txt", "");
    dir.write("Log/2026-11-30.txt", "");
    dir.write("Log/notes.TXT", "");
    dir.makeFolder("Log/folder.txt");  // listed; choosing it fails to open
    EXPECT_EQ(viewer.open(), (std::vector<std::string>{"2026-11-30.txt", "2026-12-07.txt", "folder.txt"}));
    EXPECT_TRUE(prompts.shown.empty());

    fs.breakListing(dir.path("Log/"), 1);
    EXPECT_EQ(viewer.open(), std::vector<std::string>{"2026-11-30.txt"});
    EXPECT_EQ(prompts.shown, std::vector<std::string>{"info: ファイルの取得に失敗しました。"});
}

TEST_F(Viewer, ADayThatCannotBeOpenedLeavesTheListEmpty) {
    dir.write("Log/2026-12-07.txt", "a.mp3\r\nコピー\r\n/m/a\r\n/d/a\r\n");
    dir.makeFolder("Log/folder.txt");
    viewer.loadDay("2026-12-07.txt");
    EXPECT_EQ(viewer.records().size(), 1u);
    for (const char* name : {"2026-12", "", "folder.txt"}) {
        EXPECT_THROW(viewer.loadDay(name), ListoraError) << name;
        EXPECT_TRUE(viewer.records().empty()) << name;
    }
}

TEST_F(Viewer, SearchSelectsByBytesInTheChosenColumnAndRefines) {
    dir.write("Log/d.txt",
              "a.mp3\r\n移動\r\n/m/a.mp3\r\n/x/a.mp3\r\n"
              "b.mp3\r\nコピー\r\n/m/b.mp3\r\n/x/b.mp3\r\n"
              "A.wav\r\n削除\r\n/m/A.wav\r\n---\r\n"
              "ca.MP3\r\n移動\r\n/m/ca.MP3\r\n/y/ca.MP3\r\n");
    viewer.loadDay("d.txt");
    viewer.search({"mp3", LogColumn::FileName, false});
    EXPECT_EQ(selectedRows(), (std::vector<std::size_t>{0, 1}));  // case counts
    viewer.search({"a", LogColumn::FileName, true});
    EXPECT_EQ(selectedRows(), std::vector<std::size_t>{0});
    viewer.search({"/x/", LogColumn::After, false});
    EXPECT_EQ(selectedRows(), (std::vector<std::size_t>{0, 1}));
    viewer.search({"---", LogColumn::Before, true});
    EXPECT_TRUE(selectedRows().empty());
    viewer.search({"/m/", LogColumn::Before, true});  // refine with nothing selected stays empty
    EXPECT_TRUE(selectedRows().empty());
    viewer.search({"/m/", LogColumn::Before, false});
    EXPECT_EQ(selectedRows().size(), 4u);
    viewer.search({"", LogColumn::Before, false});  // an empty word deselects every row
    EXPECT_TRUE(selectedRows().empty());
}

}  // namespace
}  // namespace listora::test
