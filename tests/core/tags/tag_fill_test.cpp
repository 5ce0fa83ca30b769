#include "core/tags/tag_fill.h"

#include "core/app/main_commands.h"
#include "core/tags/tag_rows.h"
#include "support/core_fixture.h"
#include "support/fake_tag_reader.h"

#include <memory>

namespace listora::test {
namespace {

using Texts = std::vector<std::string>;

// Catches a wrong title or length text, and tag text that would break a
// playlist line.
TEST(TagRows, TheTagDecidesTitleAndLength) {
    const PathRules rules(PathStyle::Posix, CodePage::Utf8);
    const struct {
        std::string rowTitle, fileName, tagTitle, tagArtist;
        long long seconds;
        std::string title, length;
    } cases[] = {
        {"---", "a.mp3", "Song", "Band", 65, "Band - Song", "1:05"},
        {"Old", "a.mp3", "Song", "", 600, "Song", "10:00"},
        {"Old", "a.mp3", "", "Band", 0, "Old", "0:00"},
        {"---", "名前.v1.flac", "", "Band", 3, "名前.v1", "0:03"},
        {"---", ".mp3", "", "", 3, ".mp3", "0:03"},
        {"---", "a.mp3", "Two\r\nlines", "Tab\tbed", 7, "Tab bed - Two  lines", "0:07"},
    };
    for (const auto& c : cases) {
        PlaylistEntry row(c.rowTitle, "---", c.fileName, "/m/" + c.fileName);
        fillRowFromTag(row, {c.tagTitle, c.tagArtist, c.seconds}, rules);
        EXPECT_EQ(row.title(), c.title) << c.fileName;
        EXPECT_EQ(row.lengthText(), c.length) << c.fileName;
    }
}

// Catches streams sent to the reader and drive letters taken for streams.
TEST(TagRows, AddressesAreNoFiles) {
    for (const char* path : {"http://radio/x.mp3", "https://a.b/c", "rtsp+tcp://h/s"}) EXPECT_TRUE(isAddress(path));
    for (const char* path : {"/music/a.mp3", "C://a.mp3", "a://b", "/x/http://y", ""}) EXPECT_FALSE(isAddress(path));
}

class TagFill : public CoreFixture {
protected:
    void addRow(const std::string& name, const std::string& title = "---") {
        state.list.append({title, "---", name, dir.path(name)});
    }
    void tag(const std::string& name, TagInfo info) { reader->tags[dir.path(name)] = std::move(info); }
    Texts titles() const {
        Texts out;
        for (const auto& row : state.list.rows()) out.emplace_back(row.title());
        return out;
    }
    Texts lengths() const {
        Texts out;
        for (const auto& row : state.list.rows()) out.emplace_back(row.lengthText());
        return out;
    }

    std::shared_ptr<FakeTagReader> reader = std::make_shared<FakeTagReader>();
    MainState state;
    MainCommands commands{
        state, {fs, prompts, clock, status, shell}, PathRules(PathStyle::Posix, CodePage::Utf8), dir.path("Log/")};
};

// Catches reading rows outside the selection, touching unreadable rows or
// addresses, and a command that disturbs checks, selection or order.
TEST_F(TagFill, TheCommandFillsTheSelectedRowsOrAll) {
    commands.setTagReader(reader);
    addRow("a.mp3", "Kept");
    addRow("b.mp3");
    addRow("missing.mp3");
    state.list.append({"Radio", "---", "s", "http://radio/s"});
    tag("a.mp3", {"", "", 61});
    tag("b.mp3", {"B", "X", 5});
    reader->tags["http://radio/s"] = {"Stream", "", 1};
    state.list.setChecked(1, true);

    state.list.setSelected(1, true);
    state.list.setSelected(2, true);
    commands.readTagsOfSelection(nullptr);
    EXPECT_EQ(titles(), (Texts{"Kept", "X - B", "---", "Radio"}));
    EXPECT_EQ(lengths(), (Texts{"---", "0:05", "---", "---"}));
    EXPECT_EQ(status.current(), "1個の曲名と長さを読み込みました（読めないファイル：1個）");
    EXPECT_TRUE(state.list.at(1).checked);
    EXPECT_TRUE(state.list.at(1).selected && state.list.at(2).selected && !state.list.at(0).selected);

    state.list.updateSelection([](const PlaylistEntry&) { return false; });
    commands.readTagsOfSelection(nullptr);
    EXPECT_EQ(titles(), (Texts{"Kept", "X - B", "---", "Radio"}));
    EXPECT_EQ(lengths(), (Texts{"1:01", "0:05", "---", "---"}));
    EXPECT_EQ(status.current(), "2個の曲名と長さを読み込みました（読めないファイル：1個）");
    EXPECT_FALSE(fs.exists(dir.path("Log/")));  // nothing written
}

// Catches a cancel that loses the rows read so far or fills later ones.
TEST_F(TagFill, CancelKeepsWhatWasFilled) {
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3", "4.mp3"}) {
        addRow(name);
        tag(name, {name, "", 1});
    }
    reader->held = {dir.path("3.mp3")};
    struct CancelAfterTwo : TagReadProgress {
        bool carryOn(std::size_t filesRead, std::size_t) override { return filesRead < 2; }
    } progress;
    TagReadLimits oneThread;
    oneThread.threads = 1;
    oneThread.tick = std::chrono::milliseconds(5);
    const TagFillOutcome outcome = fillRowsFromTags(state.list, {0, 1, 2, 3}, reader, rules, &progress, oneThread);
    reader->release();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.filled, 2u);
    EXPECT_EQ(titles(), (Texts{"1.mp3", "2.mp3", "---", "---"}));
}

// Catches a read that hangs on one file for good, or drops the others.
TEST_F(TagFill, AFileReadPastItsBoundIsSkipped) {
    for (const char* name : {"a.mp3", "stuck.mp3", "b.mp3", "c.mp3"}) {
        addRow(name);
        tag(name, {"T", "", 2});
    }
    reader->held = {dir.path("stuck.mp3")};
    TagReadLimits limits;
    limits.threads = 2;
    limits.perFile = std::chrono::milliseconds(100);
    limits.tick = std::chrono::milliseconds(10);
    const TagFillOutcome outcome = fillRowsFromTags(state.list, {0, 1, 2, 3}, reader, rules, nullptr, limits);
    reader->release();
    EXPECT_EQ(outcome.unreadable, (std::vector<std::size_t>{1}));
    EXPECT_EQ(lengths(), (Texts{"0:02", "---", "0:02", "0:02"}));
}

// Catches the setting ignored either way, and rows of a playlist with
// lengths read again.
TEST_F(TagFill, GatheringFillsNewRowsOnlyWhenAsked) {
    commands.setTagReader(reader);
    dir.write("in/a.mp3", "x");
    dir.write("in/list.m3u", "#EXTM3U\r\n#EXTINF:9,Listed\r\na.mp3\r\n");
    tag("in/a.mp3", {"Tagged", "", 42});
    for (const bool on : {false, true}) {
        state.list.clear();
        state.readTagsOnAdd = on;
        state.gatherQueue = {dir.path("in")};
        commands.gather();
        state.gatherQueue = {dir.path("in/list.m3u")};
        commands.gather();
        EXPECT_EQ(titles(), (Texts{on ? "Tagged" : "---", "Listed"})) << on;
        EXPECT_EQ(lengths(), (Texts{on ? "0:42" : "---", "0:09"})) << on;
    }
}

}  // namespace
}  // namespace listora::test
