#include "core/native/native_file_system.h"

#include "core/errors/errors.h"
#include "core/native/pending_file.h"
#include "core/native/stream_target.h"
#include "support/temp_dir.h"

#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

namespace listora {
namespace {

using test::readFile;

class Native : public testing::Test {
protected:
    test::TempDir dir;
    NativeFileSystem fs;
};

// Catches a name misread as a descriptor (or one missed), which would write
// to a stream the user never named or replace one.
TEST(StreamTarget, NamesTheDescriptorsTheSystemNames) {
    const struct {
        const char* path;
        std::optional<int> fd;
    } cases[] = {
        {"/dev/stdin", 0},
        {"/dev/stdout", 1},
        {"/dev/stderr", 2},
        {"/dev/fd/1", 1},
        {"/proc/self/fd/12", 12},
        {"/dev/fd/", std::nullopt},
        {"/dev/fd/1x", std::nullopt},
        {"/dev/fd/-1", std::nullopt},
        {"/dev/stdout/", std::nullopt},
        {"stdout", std::nullopt},
        {"/tmp/dev/stdout", std::nullopt},
    };
    for (const auto& each : cases) EXPECT_EQ(namedDescriptor(each.path), each.fd) << each.path;
}

// Catches a FIFO replaced by a regular file instead of written to.
TEST_F(Native, AFifoIsWrittenToAndStaysAFifo) {
    const std::string fifo = dir.path("out.m3u");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string got;
    std::thread reader([&] { got = readFile(fifo); });
    EXPECT_TRUE(fs.writeWholeFile(fifo, "#EXTM3U\r\n"));
    reader.join();
    EXPECT_EQ(got, "#EXTM3U\r\n");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST_F(Native, WritesWholeFilesInPlaceKeepingModeAndFollowingLinks) {
    const std::string file = dir.write("list.m3u", "old");
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(fs.writeWholeFile(file, "new contents"));
    EXPECT_EQ(readFile(file), "new contents");
    struct stat info {};
    ::stat(file.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    std::filesystem::create_symlink(file, dir.path("link.m3u"));
    ASSERT_TRUE(fs.writeWholeFile(dir.path("link.m3u"), "through the link"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path("link.m3u")));
    EXPECT_EQ(readFile(file), "through the link");

    // Nothing but the two names is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST_F(Native, AWriteThroughALinkWhoseFileIsGoneMakesThatFile) {
    dir.makeFolder("lists");
    std::filesystem::create_symlink("lists/real.m3u", dir.path("first.m3u"));
    std::filesystem::create_symlink("first.m3u", dir.path("second.m3u"));  // a link to a link
    ASSERT_TRUE(fs.writeWholeFile(dir.path("second.m3u"), "made"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path("second.m3u")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path("first.m3u")));
    EXPECT_EQ(readFile(dir.path("lists/real.m3u")), "made");
}

// Catches a crash's hidden temporary (killed between naming the finished
// file and renaming it) that stays for good beside the playlist.
TEST_F(Native, TheNextWriteInAFolderRemovesWhatACrashedWriteLeft) {
    dir.write(".listora-a1B2c3", "partial");                           // left by a crash, a moment ago
    const std::string held = dir.write(".listora-held00", "partial");  // a live writer holds it
    const int holder = ::open(held.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    dir.write(".listora-toolong", "");  // not a name the program makes
    dir.makeFolder(".listora-folder");
    EXPECT_TRUE(fs.writeWholeFile(dir.path("list.m3u"), "x"));
    ::close(holder);

    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) left.insert(entry.path().filename());
    EXPECT_EQ(left, (std::set<std::string>{".listora-held00", ".listora-toolong", ".listora-folder", "list.m3u"}));
}

TEST_F(Native, AFailedWriteLeavesNoTraceAndTheOldFileIntact) {
    dir.makeFolder("folder");
    EXPECT_FALSE(fs.writeWholeFile(dir.path("folder"), "x"));         // a folder stands there
    EXPECT_FALSE(fs.writeWholeFile(dir.path("missing/a.m3u"), "x"));  // no such folder
    EXPECT_FALSE(fs.writeWholeFile(dir.path("folder/"), "x"));        // no file name
    std::filesystem::create_symlink("loop", dir.path("loop"));
    EXPECT_FALSE(fs.writeWholeFile(dir.path("loop"), "x"));  // a loop of links stays a link
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path("loop")));
    std::filesystem::remove(dir.path("loop"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path("folder")));
    EXPECT_THROW(writeFileOrThrow(fs, dir.path("missing/a.m3u"), "x"), ListoraError);
}

TEST_F(Native, ReadsFilesButNotFolders) {
    dir.write("a.txt", std::string("a\0b", 3));
    EXPECT_EQ(fs.readWholeFile(dir.path("a.txt")), std::string("a\0b", 3));
    EXPECT_EQ(fs.readWholeFile(dir.path()), std::nullopt);
    EXPECT_EQ(fs.readWholeFile(dir.path("none")), std::nullopt);
    EXPECT_EQ(fs.readWholeFile("/proc/self/status").has_value(), true);  // size unknown in advance
}

TEST(NativeFileSystem, ACp932ProgramReachesNamesAUtf8FileSystemHolds) {
    // "あ" and "曲" on disk in UTF-8; the program holds them in CP932, as a
    // playlist written on Windows does. "表" ends in the byte 0x5C.
    test::TempDir dir;
    dir.write("\xE3\x81\x82/\xE6\x9B\xB2.mp3", "music");
    dir.makeFolder("\xE8\xA1\xA8");
    NativeFileSystem fs(CodePage::Cp932, CodePage::Utf8);
    const std::string folder = dir.path("\x82\xA0");
    EXPECT_EQ(fs.readWholeFile(folder + "/\x8B\xC8.mp3"), "music");
    std::vector<FolderEntry> entries;
    ASSERT_EQ(fs.listFolder(dir.path(), entries), Listing::Complete);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "\x82\xA0");
    EXPECT_EQ(entries[1].name, "\x95\x5C");
    EXPECT_TRUE(fs.moveFile(folder + "/\x8B\xC8.mp3", dir.path("\x95\x5C/\x8B\xC8.mp3")));
    EXPECT_EQ(readFile(dir.path("\xE8\xA1\xA8/\xE6\x9B\xB2.mp3")), "music");

    const std::string before = fs.currentDirectory();
    ASSERT_TRUE(fs.setCurrentDirectory(dir.path("\x95\x5C")));
    EXPECT_EQ(fs.currentDirectory(), dir.path("\x95\x5C"));
    EXPECT_EQ(NativeFileSystem(CodePage::Utf8, CodePage::Utf8).currentDirectory(), dir.path("\xE8\xA1\xA8"));
    ASSERT_TRUE(fs.setCurrentDirectory(before));
}

TEST_F(Native, CurrentDirectoryIsThePathAsEntered) {
    dir.makeFolder("real/inner");
    std::filesystem::create_directory_symlink(dir.path("real"), dir.path("linked"));
    ASSERT_TRUE(fs.setCurrentDirectory(dir.path("linked/inner/")));
    EXPECT_EQ(fs.currentDirectory(), dir.path("linked/inner"));
    ASSERT_TRUE(fs.setCurrentDirectory(".."));
    EXPECT_EQ(fs.currentDirectory(), dir.path("linked"));
    EXPECT_FALSE(fs.setCurrentDirectory(dir.path("none")));
    EXPECT_FALSE(fs.setCurrentDirectory(""));
    EXPECT_EQ(fs.currentDirectory(), dir.path("linked"));
}

}  // namespace
}  // namespace listora
