#include "gather_bench.h"

#include "core/native/native_file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/gatherer.h"
#include "core/playlist/main_list.h"
#include "measure.h"
#include "silent_status_line.h"
#include "yes_prompts.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace bench {
namespace {

constexpr std::array<std::string_view, 7> kSongs = {"Blue Morning", "night drive", "Echoes", "Paper Moon",
                                                    "Quiet Storm",  "Afterglow",   "桜の歌"};

std::string numbered(const char* format, std::size_t value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// "03 Echoes.mp3"; every fifth ends in ".MP3", which both sides take for
// music as well. The track number leads, so the walk's name order is the
// order the files are made in.
std::string musicName(std::size_t track) {
    return numbered("%02zu ", track) + std::string(kSongs[track % kSongs.size()]) + (track % 5 == 0 ? ".MP3" : ".mp3");
}

std::string otherName(std::size_t number) {
    return numbered(number % 2 ? "cover %02zu.jpg" : "lyrics %02zu.txt", number);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The tree on disk, with the full paths of its music files in the order a
// breadth-first walk in name order meets them: the top folders' files
// first, then the sub-folders' files. All of it goes with the object.
class TreeOnDisk {
public:
    TreeOnDisk(const std::string& root, const GatherTree& shape) : root_(root), filler_(1024, 'x') {
        makeFolder(root_);
        std::vector<std::string> deeper;
        for (std::size_t top = 1; top <= shape.topFolders; ++top) {
            const std::string artist = root_ + numbered("/Artist %03zu", top);
            makeFolder(artist);
            fill(artist, shape, musicPaths_);
            for (std::size_t sub = 1; sub <= shape.subFolders; ++sub) {
                const std::string album = artist + numbered("/Album %02zu", sub);
                makeFolder(album);
                fill(album, shape, deeper);
            }
        }
        musicPaths_.insert(musicPaths_.end(), std::make_move_iterator(deeper.begin()),
                           std::make_move_iterator(deeper.end()));
    }
    ~TreeOnDisk() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TreeOnDisk(const TreeOnDisk&) = delete;
    TreeOnDisk& operator=(const TreeOnDisk&) = delete;

    const std::string& root() const { return root_; }
    const std::vector<std::string>& musicPaths() const { return musicPaths_; }

private:
    static void makeFolder(const std::string& path) {
        if (::mkdir(path.c_str(), 0755) != 0) throw std::runtime_error("cannot create " + path);
    }

    void fill(const std::string& folder, const GatherTree& shape, std::vector<std::string>& music) {
        for (std::size_t track = 1; track <= shape.musicPerFolder; ++track) {
            music.push_back(folder + "/" + musicName(track));
            writeFile(music.back());
        }
        for (std::size_t number = 1; number <= shape.othersPerFolder; ++number)
            writeFile(folder + "/" + otherName(number));
    }

    // 1 to 1024 bytes: no file is empty, and an empty file without an
    // extension is all the walk would ever look at the size of.
    void writeFile(const std::string& path) {
        const std::size_t bytes = 1 + written_++ * 389 % filler_.size();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        const bool ok = fd >= 0 && writeAll(fd, std::string_view(filler_).substr(0, bytes));
        if (fd < 0 || ::close(fd) != 0 || !ok) throw std::runtime_error("cannot create " + path);
    }

    std::string root_;
    std::string filler_;
    std::size_t written_ = 0;
    std::vector<std::string> musicPaths_;
};

// The gatherer with the program's own file system and path rules, made once
// so that only the walk is timed. A drop of one folder queues its path.
struct Gatherer {
    listora::NativeFileSystem fs;
    YesPrompts prompts;
    SilentStatusLine status;
    listora::PathRules rules = listora::PathRules::native();

    double gather(listora::MainList& list, const std::string& root) {
        std::string currentPlaylist;
        std::deque<std::string> queue{root};
        const listora::GatherPorts ports{fs, prompts, status, rules};
        const double seconds = secondsOf([&] { listora::DragFileAdd(list, currentPlaylist, queue, ports); });
        if (!queue.empty()) throw std::runtime_error("the gather left its queue with paths in it");
        return seconds;
    }
};

// A gather is timed only as fast as it is complete and in order: every
// music file exactly once, none of the others, breadth first in name order.
void checkGathered(const listora::MainList& list, const std::vector<std::string>& expected) {
    if (list.count() != expected.size())
        throw std::runtime_error("the gather appended " + std::to_string(list.count()) + " rows, not " +
                                 std::to_string(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const listora::PlaylistEntry& row = list.at(i);
        if (row.fullPath() != expected[i])
            throw std::runtime_error("gathered row " + std::to_string(i) + " is " + std::string(row.fullPath()) +
                                     ", where a " + "breadth-first walk in name order has " + expected[i]);
        const std::size_t slash = row.fullPath().rfind('/');
        if (row.fileName() != std::string_view(row.fullPath()).substr(slash + 1) ||
            row.title() != listora::kUnknownText || row.lengthText() != listora::kUnknownText)
            throw std::runtime_error("gathered row " + std::to_string(i) + " has the wrong texts");
    }
}

}  // namespace

GatherTimings timeGather(const std::string& workFolder, const GatherTree& tree, int runs) {
    const TreeOnDisk files(workFolder + "/gather", tree);
    // What was written goes to the disk now, not in the middle of a run.
    ::sync();
    const std::vector<std::string> argv = {"find", files.root(), "-type", "f", "-iname", "*mp3*"};
    // One untimed walk reads every folder and file entry into the cache, so
    // neither side pays for the disk.
    runCommand(argv);

    Gatherer gatherer;
    GatherTimings times;
    for (int run = 0; run < runs; ++run) {
        {
            listora::MainList list;
            times.ours.push_back(gatherer.gather(list, files.root()));
            checkGathered(list, files.musicPaths());
        }
        times.theirs.push_back(runCommand(argv));
    }
    return times;
}

}  // namespace bench
