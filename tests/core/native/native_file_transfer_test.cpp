#include "core/native/native_file_transfer.h"

#include "core/native/native_file_system.h"
#include "support/temp_dir.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace listora::test {
namespace {

namespace fs = std::filesystem;

std::size_t entriesIn(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(NativeFileTransfer, MoveNeverReplacesAndMovesLinksAsLinks) {
    TempDir dir;
    NativeFileSystem files;
    const std::string source = dir.write("a/x.mp3", "source");
    const std::string present = dir.write("b/x.mp3", "present");
    EXPECT_FALSE(files.moveFile(source, present));
    EXPECT_EQ(readFile(present), "present");
    EXPECT_EQ(readFile(source), "source");
    EXPECT_FALSE(files.moveFile(dir.path("a/none.mp3"), dir.path("b/none.mp3")));
    EXPECT_FALSE(files.moveFile(source, dir.path("missing/x.mp3")));
    EXPECT_TRUE(files.moveFile(source, dir.path("b/y.mp3")));
    EXPECT_EQ(readFile(dir.path("b/y.mp3")), "source");
    EXPECT_FALSE(fs::exists(source));

    fs::create_symlink(dir.path("b/y.mp3"), dir.path("a/link.mp3"));
    EXPECT_TRUE(files.moveFile(dir.path("a/link.mp3"), dir.path("b/link.mp3")));
    EXPECT_TRUE(fs::is_symlink(dir.path("b/link.mp3")));

    // An entry naming a folder would carry the whole tree along.
    dir.write("a/sub/z.mp3", "in a folder");
    EXPECT_FALSE(files.moveFile(dir.path("a/sub"), dir.path("b/sub")));
    EXPECT_EQ(readFile(dir.path("a/sub/z.mp3")), "in a folder");
    EXPECT_FALSE(fs::exists(dir.path("b/sub")));
}

TEST(NativeFileTransfer, CopyKeepsModeAndTimesAndNeverReplaces) {
    TempDir dir;
    NativeFileSystem files;
    const std::string source = dir.write("a/x.mp3", std::string(3 << 20, 'x'));
    ::chmod(source.c_str(), 0604);
    const struct timespec times[2] = {{1000000000, 0}, {1200000000, 500}};
    ::utimensat(AT_FDCWD, source.c_str(), times, 0);
    dir.makeFolder("b");

    ASSERT_TRUE(files.copyFile(source, dir.path("b/x.mp3")));
    struct stat copied {};
    ::stat(dir.path("b/x.mp3").c_str(), &copied);
    EXPECT_EQ(copied.st_mode & 07777, 0604u);
    EXPECT_EQ(copied.st_mtim.tv_sec, 1200000000);
    EXPECT_EQ(copied.st_mtim.tv_nsec, 500);
    EXPECT_EQ(readFile(dir.path("b/x.mp3")), readFile(source));

    const std::string present = dir.write("b/p.mp3", "present");
    EXPECT_FALSE(files.copyFile(source, present));
    EXPECT_EQ(readFile(present), "present");
    EXPECT_FALSE(files.copyFile(dir.path("a"), dir.path("b/folder")));  // only files are copied
    EXPECT_FALSE(files.copyFile(source, dir.path("none/x.mp3")));
    EXPECT_EQ(entriesIn(dir.path("b")), 2u);  // no temporary file stays behind
}

TEST(NativeFileTransfer, CopyReadsThroughALinkButNeverWritesThroughOne) {
    TempDir dir;
    NativeFileSystem files;
    const std::string real = dir.write("a/real.mp3", "music");
    fs::create_symlink(real, dir.path("a/link.mp3"));
    dir.makeFolder("b");
    ASSERT_TRUE(files.copyFile(dir.path("a/link.mp3"), dir.path("b/copy.mp3")));
    EXPECT_FALSE(fs::is_symlink(dir.path("b/copy.mp3")));
    EXPECT_EQ(readFile(dir.path("b/copy.mp3")), "music");

    const std::string victim = dir.write("c/victim.mp3", "keep me");
    fs::create_symlink(victim, dir.path("b/trap.mp3"));
    fs::create_symlink(dir.path("c/nothing.mp3"), dir.path("b/dangling.mp3"));
    EXPECT_FALSE(files.copyFile(real, dir.path("b/trap.mp3")));
    EXPECT_FALSE(files.copyFile(real, dir.path("b/dangling.mp3")));
    EXPECT_FALSE(files.moveFile(real, dir.path("b/dangling.mp3")));
    EXPECT_EQ(readFile(victim), "keep me");
    EXPECT_FALSE(fs::exists(dir.path("c/nothing.mp3")));
    EXPECT_TRUE(fs::exists(real));
}

// /dev/shm is a tmpfs on Linux; when it lies on the same file system as
// the temporary folder there is no second file system to move to.
TEST(NativeFileTransfer, MovesAcrossFileSystemsCompletelyOrNotAtAll) {
    TempDir dir;
    struct stat here {};
    struct stat shm {};
    if (::stat(dir.path().c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev ||
        ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no writable second file system at /dev/shm";
    char pattern[] = "/dev/shm/listora-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string other = pattern;
    NativeFileSystem files;

    const std::string source = dir.write("a/x.mp3", "across");
    ::chmod(source.c_str(), 0640);
    EXPECT_TRUE(files.moveFile(source, other + "/x.mp3"));
    EXPECT_FALSE(fs::exists(source));
    EXPECT_EQ(readFile(other + "/x.mp3"), "across");
    struct stat moved {};
    ::stat((other + "/x.mp3").c_str(), &moved);
    EXPECT_EQ(moved.st_mode & 07777, 0640u);
    // As root the file keeps its owner, as mv keeps it.
    const std::string owned = dir.write("a/owned.mp3", "owned");
    if (::geteuid() == 0 && ::chown(owned.c_str(), 4321, 4321) == 0) {
        EXPECT_TRUE(files.moveFile(owned, other + "/owned.mp3"));
        ::stat((other + "/owned.mp3").c_str(), &moved);
        EXPECT_EQ(moved.st_uid, 4321u);
        EXPECT_EQ(moved.st_gid, 4321u);
        fs::remove(other + "/owned.mp3");
    }

    const std::string second = dir.write("a/y.mp3", "stays");
    const std::string present = other + "/y.mp3";
    fs::copy_file(second, present);
    EXPECT_FALSE(files.moveFile(second, present));
    EXPECT_EQ(readFile(second), "stays");
    EXPECT_FALSE(files.moveFile(second, other + "/missing/y.mp3"));
    EXPECT_EQ(readFile(second), "stays");

    fs::create_symlink("target-text", dir.path("a/link"));
    EXPECT_TRUE(files.moveFile(dir.path("a/link"), other + "/link"));
    EXPECT_EQ(fs::read_symlink(other + "/link"), "target-text");
    EXPECT_EQ(entriesIn(other), 3u);

    // Written to, or replaced, while it was copied: the source stays as it
    // now is and the copy goes.
    const std::string growing = dir.write("a/grows.mp3", "first part");
    EXPECT_FALSE(moveFileNoReplace(growing, other + "/grows.mp3",
                                   [&] { std::ofstream(growing, std::ios::app) << " and more"; }));
    EXPECT_EQ(readFile(growing), "first part and more");
    const std::string swapped = dir.write("a/swapped.mp3", "old");
    EXPECT_FALSE(moveFileNoReplace(swapped, other + "/swapped.mp3", [&] {
        dir.write("a/new.mp3", "new");
        fs::rename(dir.path("a/new.mp3"), swapped);
    }));
    EXPECT_EQ(readFile(swapped), "new");
    EXPECT_EQ(entriesIn(other), 3u);
    fs::remove_all(other);
}

TEST(NativeFileTransfer, AFifoIsNeitherCopiedNorWaitedFor) {
    TempDir dir;
    const std::string fifo = dir.path("pipe.mp3");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(copyFileNoReplace(fifo, dir.path("copy.mp3")));
    EXPECT_FALSE(fs::exists(dir.path("copy.mp3")));
}

}  // namespace
}  // namespace listora::test
