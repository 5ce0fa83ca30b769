// Catches PLS entries read into the wrong rows (keys out of order, a
// NumberOfEntries that lies, relative files not against the playlist's
// folder, addresses changed) and broken files that append rows or are
// reported without their line.
#include "core/errors/errors.h"
#include "core/playlist/playlist_fixture.h"

#include <gtest/gtest.h>

namespace listora::test {
namespace {

using Row = std::array<std::string, 4>;  // title, length, file name, full path

struct PlsCase {
    const char* name;
    std::vector<std::string> lines;
    std::vector<Row> rows;  // when `error` is empty
    std::string error;      // what the message names
};

std::vector<Row> rowsOf(const MainList& list) {
    std::vector<Row> rows;
    for (const PlaylistEntry& row : list.rows())
        rows.push_back({std::string(row.title()), std::string(row.lengthText()), std::string(row.fileName()),
                        std::string(row.fullPath())});
    return rows;
}

class PlsReading : public PlaylistFixture {};

TEST_F(PlsReading, ReadsEntriesAndRefusesBrokenFilesWhole) {
    const std::string d = dir.path();
    const std::vector<PlsCase> cases = {
        {"grouped, with a lying count",
         {"[playlist]", "NumberOfEntries=7", "File1=/m/a.mp3", "Title1=A", "Length1=205", "File2=b.mp3", "Version=2"},
         {{"A", "3:25", "a.mp3", "/m/a.mp3"}, {"---", "---", "b.mp3", d + "/b.mp3"}},
         ""},
        {"keys in any order and case, comments, a stream",
         {"; made by hand", "[Playlist]", "title2=B", "FILE2=http://radio.example:8000/live", "Length2=-1",
          "File1=file:///m/A%20B/01.mp3", "NumberOfEntries=1"},
         {{"---", "---", "01.mp3", "/m/A B/01.mp3"}, {"B", "-1", "live", "http://radio.example:8000/live"}},
         ""},
        {"a later key changes a row already made",
         {"[playlist]", "File1=/m/a.mp3", "File2=/m/b.mp3", "Title1=late", "Length2=60", "Title9=no file"},
         {{"late", "---", "a.mp3", "/m/a.mp3"}, {"---", "1:00", "b.mp3", "/m/b.mp3"}},
         ""},
        {"no section first", {"File1=/m/a.mp3", "[playlist]"}, {}, "1 行目"},
        {"a line that is no key", {"[playlist]", "File1=/m/a.mp3", "just text"}, {}, "3 行目"},
        {"a length that is no number", {"[playlist]", "File1=/m/a.mp3", "Length1=3:25"}, {}, "3 行目"},
        {"binary", {"[playlist]", std::string("File1=/m/\0.mp3", 14)}, {}, "2 行目"},
        {"empty", {}, {}, "1 行目"},
    };
    for (const PlsCase& c : cases) {
        SCOPED_TRACE(c.name);
        list.clear();
        list.appendAll({{"kept", "---", "k.mp3", "/k.mp3"}});
        std::string text;
        for (const std::string& line : c.lines) text += line + "\r\n";
        const std::string path = dir.write("list.pls", text);
        if (c.error.empty()) {
            load(path);
            std::vector<Row> expected = {{"kept", "---", "k.mp3", "/k.mp3"}};
            expected.insert(expected.end(), c.rows.begin(), c.rows.end());
            EXPECT_EQ(rowsOf(list), expected);
        } else {
            try {
                load(path);
                ADD_FAILURE() << "no error";
            } catch (const ListoraError& error) {
                EXPECT_NE(std::string(error.what()).find(path + " の " + c.error), std::string::npos) << error.what();
            }
            EXPECT_EQ(list.count(), 1u);  // nothing appended
        }
    }
}

}  // namespace
}  // namespace listora::test
