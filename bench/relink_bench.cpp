#include "relink_bench.h"

#include "core/native/native_file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/main_list.h"
#include "core/playlist/playlist_writer.h"
#include "core/repair/folder_replacement.h"
#include "core/repair/repair_search.h"
#include "core/repair/row_repairs.h"
#include "measure.h"
#include "support/temp_dir.h"
#include "ui/repair/repair_result_model.h"
#include "ui/repair/repair_window.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {
namespace {

constexpr int kRuns = 3;
constexpr std::size_t kFilesPerFolder = 10;
constexpr std::size_t kAlbumsPerArtist = 99;  // and the artist's own folder: 100 folders each
constexpr std::size_t kMissingEvery = 10;     // every 10th entry's file moved
constexpr std::size_t kRenamed = 10'000;
constexpr double kExactTarget = 1.5;    // x find
constexpr double kClosestTarget = 3.0;  // x find
constexpr double kReplaceTarget = 0.2;  // s
constexpr double kWindowTarget = 2.0;   // x the core's search
constexpr double kBytesPerFileTarget = 200;

std::size_t mixed(std::size_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdull;
    value ^= value >> 33;
    return value;
}

// Names of three made-up words of three to eight letters, a consonant and
// a vowel by turns, so that trigrams vary about as much as in a library's
// titles.
std::string word(std::size_t seed) {
    static constexpr std::string_view kConsonants = "bcdfghjklmnprstvwz";
    static constexpr std::string_view kVowels = "aeiouy";
    std::string text;
    const std::size_t letters = 3 + seed % 6;
    seed /= 6;
    for (std::size_t i = 0; i < letters; ++i) {
        const std::string_view from = i % 2 ? kVowels : kConsonants;
        text += from[seed % from.size()];
        seed /= from.size();
        if (seed < 64) seed = mixed(seed + i + 1);
    }
    return text;
}

std::string title(std::size_t file) {
    return word(mixed(file * 3 + 1)) + " " + word(mixed(file * 3 + 2)) + " " + word(mixed(file * 3 + 3));
}

std::string numbered(const char* format, std::size_t value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The tree on disk: artists' folders, each with its albums, every folder
// holding ten empty music files. Made once, removed with the object.
class Library {
public:
    Library(const std::string& root, std::size_t folders) : root_(root) {
        std::filesystem::create_directory(root_);
        for (std::size_t artist = 0; folders_.size() < folders; ++artist) {
            const std::string artistFolder = numbered("Artist %04zu", artist);
            addFolder(artistFolder);
            for (std::size_t album = 1; album <= kAlbumsPerArtist && folders_.size() < folders; ++album)
                addFolder(artistFolder + numbered("/Album %02zu", album));
        }
    }
    ~Library() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    const std::string& root() const { return root_; }
    std::size_t files() const { return folders_.size() * kFilesPerFolder; }
    std::string folderOf(std::size_t file) const { return folders_[file / kFilesPerFolder]; }
    static std::string nameOf(std::size_t file) {
        return numbered("%02zu ", file % kFilesPerFolder + 1) + title(file) + ".mp3";
    }

private:
    void addFolder(const std::string& relative) {
        const std::string folder = root_ + "/" + relative;
        if (::mkdir(folder.c_str(), 0755) != 0) throw std::runtime_error("cannot make " + folder);
        for (std::size_t i = 0; i < kFilesPerFolder; ++i) {
            const std::string path = folder + "/" + nameOf(folders_.size() * kFilesPerFolder + i);
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            if (fd < 0) throw std::runtime_error("cannot make " + path);
            ::close(fd);
        }
        folders_.push_back(relative);
    }

    std::string root_;
    std::vector<std::string> folders_;
};

// Every file of the library once, in order; every 10th as it stood in the
// old library, whose folders had the same names.
listora::MainList playlistOf(const Library& library) {
    std::vector<listora::PlaylistEntry> rows;
    rows.reserve(library.files());
    for (std::size_t file = 0; file < library.files(); ++file) {
        const std::string name = Library::nameOf(file);
        const std::string folder =
            (file % kMissingEvery == 0 ? "/old-library" : library.root()) + "/" + library.folderOf(file) + "/";
        rows.emplace_back("---", "---", name, folder + name);
    }
    listora::MainList list;
    list.appendAll(std::move(rows));
    return list;
}

// 10,000 entries whose files were renamed since: the track number gone,
// " (Live)" added.
listora::MainList renamedPlaylistOf(const Library& library) {
    listora::MainList list;
    const std::size_t step = library.files() / kRenamed;
    for (std::size_t file = 0; file < library.files() && list.count() < kRenamed; file += step) {
        const std::string name = title(file) + " (Live).mp3";
        list.append({"---", "---", name, "/old-library/" + library.folderOf(file) + "/" + name});
    }
    return list;
}

struct Counts {
    std::size_t found = 0, closest = 0, other = 0;
};

Counts countOf(const std::vector<listora::RepairProposal>& proposals) {
    Counts counts;
    for (const auto& proposal : proposals) {
        if (proposal.kind == listora::RepairKind::Found)
            ++counts.found;
        else if (proposal.kind == listora::RepairKind::Closest && listora::acceptedCandidate(proposal))
            ++counts.closest;
        else
            ++counts.other;
    }
    return counts;
}

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void printLine(const char* op, double ours, double limit, bool relative, double reference) {
    const double goal = relative ? limit * reference : limit;
    std::printf("%-9s %9.3f   %-16s %-7s %9.3f   %s\n", op, ours,
                ("≤ " + fixed(limit, 1) + (relative ? "x find" : " s")).c_str(), ours <= goal ? "met" : "MISSED",
                reference, reference > 0 ? (fixed(ours / reference, 2) + "x").c_str() : "-");
}

void printRuns(const char* name, const std::vector<double>& runs) {
    std::printf("  %s:", name);
    for (const double run : runs) std::printf(" %.3f", run);
    std::printf("\n");
}

}  // namespace

int runRelinkBench() {
    const char* set = std::getenv("LISTORA_RELINK_BENCH_FOLDERS");
    const std::size_t folders = set && std::atol(set) > 0 ? static_cast<std::size_t>(std::atol(set)) : 100'000;
    const listora::test::TempDir scratch("listora-bench");
    std::fprintf(stderr, "listora-bench: making %zu files in %zu folders\n", folders * kFilesPerFolder, folders);
    const Library library(scratch.path("library"), folders);
    listora::NativeFileSystem fs;
    const listora::PathRules rules = listora::PathRules::native();
    const listora::RepairSearch exact{{library.root()}, false, false};
    const std::vector<std::string> find = {"find", library.root(), "-type", "f"};
    runCommand(find);  // warm

    // While this process is small: the child starts with its pages.
    const PeakMemory memory = peakMemoryOf([&] {
        if (!listora::findRepairs({}, fs, rules, exact)) throw std::runtime_error("index not built");
    });

    std::fprintf(stderr, "listora-bench: exact repair and find, %d runs\n", kRuns);
    std::vector<double> exactRuns, searchRuns, findRuns, closestRuns, closestFindRuns, replaceRuns, windowRuns;
    Counts exactCounts, closestCounts;
    const std::string out = scratch.path("repaired.m3u");
    for (int run = 0; run < kRuns; ++run) {
        listora::MainList list = playlistOf(library);
        exactRuns.push_back(secondsOf([&] {
            const auto proposals = listora::findRepairs(list.rows(), fs, rules, exact);
            std::vector<listora::RowRepair> repairs;
            for (const auto& proposal : *proposals)
                if (const auto* taken = listora::acceptedCandidate(proposal))
                    repairs.push_back({proposal.row, taken->path});
            listora::applyRepairs(list, repairs, rules);
            listora::writePlaylist(fs, list, listora::PathMode::Absolute, out, rules);
            exactCounts = countOf(*proposals);
        }));
        findRuns.push_back(runCommand(find));
    }
    if (exactCounts.found != library.files() / kMissingEvery)
        throw std::runtime_error("exact repair found " + std::to_string(exactCounts.found));

    std::fprintf(stderr, "listora-bench: similar names of %zu renamed files, %d runs\n", kRenamed, kRuns);
    const listora::RepairSearch closest{{library.root()}, false, true};
    for (int run = 0; run < kRuns; ++run) {
        const listora::MainList list = renamedPlaylistOf(library);
        closestRuns.push_back(
            secondsOf([&] { closestCounts = countOf(*listora::findRepairs(list.rows(), fs, rules, closest)); }));
        closestFindRuns.push_back(runCommand(find));
    }

    std::fprintf(stderr, "listora-bench: a folder replaced in every row, %d runs\n", kRuns);
    std::size_t replaced = 0;
    for (int run = 0; run < kRuns; ++run) {
        listora::MainList list = playlistOf(library);
        replaceRuns.push_back(secondsOf([&] {
            replaced = listora::replaceFolder(list, {library.root(), "/mnt/music"}, rules);
        }));
    }

    std::fprintf(stderr, "listora-bench: the repair window's search until painted, %d runs\n", kRuns);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    char qtName[] = "listora-bench";
    char* qtArgv[] = {qtName, nullptr};
    const QApplication app(qtArgc, qtArgv);
    listora::RepairWindow window(fs, rules, nullptr);
    window.folderList()->addItem(QString::fromStdString(library.root()));
    const listora::MainList list = playlistOf(library);
    for (int run = 0; run < kRuns; ++run) {
        searchRuns.push_back(secondsOf([&] { listora::findRepairs(list.rows(), fs, rules, exact); }));
        QTimer::singleShot(0, &window, [&] {
            windowRuns.push_back(secondsOf([&] {
                window.searchButton()->click();
                window.resultView()->viewport()->repaint();
            }));
            if (window.resultModel()->rowCount() != static_cast<int>(library.files() / kMissingEvery))
                throw std::runtime_error("the window's list is not complete");
            window.close();
        });
        window.openFor(list);
    }

    const double perFile =
        static_cast<double>(memory.peakBytes - memory.baselineBytes) / static_cast<double>(library.files());
    std::printf("relink: %zu entries (%zu missing) against %zu files in %zu folders, warm; medians of %d runs\n\n",
                library.files(), library.files() / kMissingEvery, library.files(), folders, kRuns);
    std::printf("%-9s %9s   %-16s %-7s %9s   %s\n", "op", "listora", "target", "result", "reference", "ratio");
    printLine("exact", median(exactRuns), kExactTarget, true, median(findRuns));
    printLine("closest", median(closestRuns), kClosestTarget, true, median(closestFindRuns));
    printLine("replace", median(replaceRuns), kReplaceTarget, false, 0);
    const double window2core = median(windowRuns) / median(searchRuns);
    std::printf("window    %9.3f   ≤ %.1fx core      %-7s %9.3f   %.2fx (core search, no write)\n", median(windowRuns),
                kWindowTarget, window2core <= kWindowTarget ? "met" : "MISSED", median(searchRuns), window2core);
    std::printf(
        "\nexact: %zu found, %zu other; closest: %zu of %zu taken without asking, %zu not; replace: %zu rows "
        "changed\n",
        exactCounts.found, exactCounts.other, closestCounts.closest, kRenamed,
        closestCounts.found + closestCounts.other, replaced);
    std::printf("peak memory of the index: %.0f bytes per file added (peak %.1f MB); target ≤ %.0f %s\n", perFile,
                static_cast<double>(memory.peakBytes) / 1e6, kBytesPerFileTarget,
                perFile <= kBytesPerFileTarget ? "met" : "MISSED");
    std::printf("\nevery run in order (s):\n");
    printRuns("exact", exactRuns);
    printRuns("find", findRuns);
    printRuns("closest", closestRuns);
    printRuns("find", closestFindRuns);
    printRuns("replace", replaceRuns);
    printRuns("core search", searchRuns);
    printRuns("window", windowRuns);
    return 0;
}

}  // namespace bench
