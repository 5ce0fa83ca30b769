#include "transfer_bench.h"

#include "core/fileops/transfer_engine.h"
#include "core/native/native_clock.h"
#include "core/native/native_file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/main_list.h"
#include "file_set.h"
#include "measure.h"
#include "silent_status_line.h"
#include "yes_prompts.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace bench {
namespace {

// The engine with the program's own file system, clock and path rules,
// made once so that only the transfer itself is timed.
struct Engine {
    listora::NativeFileSystem fs;
    YesPrompts prompts;
    listora::NativeClock clock;
    SilentStatusLine status;
    listora::PathRules rules = listora::PathRules::native();

    // The log folder is removed after each run, so every run starts without
    // a day file; a day file kept would grow and make each run read more.
    double transfer(listora::MainList& list, const std::string& destination, listora::TransferMode mode,
                    const std::string& logFolder) {
        const listora::TransferPorts ports{fs, prompts, clock, status, rules, logFolder};
        return secondsOf([&] { listora::SaveToFile(list, destination, mode, ports); });
    }
};

// The folders of one table row: the files start in `from` and arrive in
// `to`; the engine's log goes to `log`. All go with the object.
struct Folders {
    std::string root, from, to, log;

    Folders(const std::string& workFolder, const std::string& name)
        : root(workFolder + "/" + name), from(root + "/from"), to(root + "/to"), log(root + "/log/") {
        std::filesystem::create_directories(from);
        std::filesystem::create_directories(to);
    }
    ~Folders() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    Folders(const Folders&) = delete;
    Folders& operator=(const Folders&) = delete;
};

std::vector<std::string> pathsIn(const std::string& folder, const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const auto& name : names) paths.push_back(folder + "/" + name);
    return paths;
}

// Rows as a loaded playlist without #EXTINF lines gives them, all checked,
// put in as one batch as a read puts them.
listora::MainList checkedRows(const std::string& folder, const std::vector<std::string>& names) {
    std::vector<listora::PlaylistEntry> rows;
    rows.reserve(names.size());
    for (const auto& name : names) rows.push_back({"---", "---", name, folder + "/" + name});
    listora::MainList list;
    list.appendAll(std::move(rows));
    for (std::size_t i = 0; i < list.count(); ++i) list.setChecked(i, true);
    return list;
}

std::vector<std::string> withFiles(std::vector<std::string> argv, const std::vector<std::string>& paths) {
    argv.insert(argv.end(), paths.begin(), paths.end());
    return argv;
}

// Starts each timed transfer with nothing of an earlier one still waiting
// to be written, whichever side wrote it.
void settle() { ::sync(); }

// Untimed, between runs: the moved files go back where the next run expects
// them, so both sides move the very same files.
void moveBack(const Folders& folder, const std::vector<std::string>& names) {
    for (const auto& name : names) std::filesystem::rename(folder.to + "/" + name, folder.from + "/" + name);
}

void removeCopies(const Folders& folder) {
    std::filesystem::remove_all(folder.to);
    std::filesystem::create_directory(folder.to);
}

bool statOf(const std::string& path, struct stat& info) { return ::lstat(path.c_str(), &info) == 0; }

// A transfer is timed only as fast as it is complete: rows left checked,
// files missing or short, or the log left out would otherwise look like a win.
void checkRows(const listora::MainList& list, const std::string& to, const std::vector<std::string>& names) {
    if (list.count() != names.size()) throw std::runtime_error("the engine's list lost rows");
    for (std::size_t i = 0; i < names.size(); ++i) {
        const listora::PlaylistEntry& row = list.at(i);
        if (row.checked) throw std::runtime_error("the engine left row " + std::to_string(i) + " checked");
        if (row.fullPath() != to + "/" + names[i])
            throw std::runtime_error("row " + std::to_string(i) + " names " + std::string(row.fullPath()) +
                                     ", not its new file");
    }
}

void checkLog(const std::string& logFolder, std::size_t records) {
    const std::vector<std::filesystem::directory_entry> files{std::filesystem::directory_iterator(logFolder), {}};
    if (files.size() != 1) throw std::runtime_error("the engine left " + std::to_string(files.size()) + " log files");
    const std::string text = readFile(files.front().path().string());
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
    if (lines != 4 * records)
        throw std::runtime_error("the log holds " + std::to_string(lines) + " lines for " + std::to_string(records) +
                                 " transfers");
}

void checkFolderHolds(const std::string& folder, std::size_t files) {
    const auto count = static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
    if (count != files)
        throw std::runtime_error(folder + " holds " + std::to_string(count) + " entries, not " + std::to_string(files));
}

void checkMoved(const Folders& folder, const std::vector<std::string>& names, std::size_t bytes, const char* who) {
    for (const auto& name : names) {
        struct stat info {};
        if (!statOf(folder.to + "/" + name, info) || !S_ISREG(info.st_mode) ||
            static_cast<std::size_t>(info.st_size) != bytes)
            throw std::runtime_error(std::string(who) + " did not move " + name);
        if (statOf(folder.from + "/" + name, info)) throw std::runtime_error(std::string(who) + " left " + name);
    }
    checkFolderHolds(folder.to, names.size());
    checkFolderHolds(folder.from, 0);
}

// Both sides keep the permission bits and times; every hundredth copy is
// also compared byte for byte.
void checkCopied(const std::string& sources, const std::string& to, const std::vector<std::string>& names,
                 std::size_t bytes, const char* who) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string source = sources + "/" + names[i];
        const std::string copy = to + "/" + names[i];
        struct stat original {};
        struct stat copied {};
        if (!statOf(source, original) || !statOf(copy, copied) || !S_ISREG(copied.st_mode) ||
            static_cast<std::size_t>(copied.st_size) != bytes)
            throw std::runtime_error(std::string(who) + " did not copy " + names[i]);
        if ((copied.st_mode & 07777) != (original.st_mode & 07777) ||
            copied.st_mtim.tv_sec != original.st_mtim.tv_sec || copied.st_mtim.tv_nsec != original.st_mtim.tv_nsec)
            throw std::runtime_error(std::string(who) + " did not keep the mode or time of " + names[i]);
        if (i % 100 == 0 && !sameFileBytes(copy, source))
            throw std::runtime_error(std::string(who) + "'s copy of " + names[i] + " differs");
    }
    checkFolderHolds(to, names.size());
}

}  // namespace

// The sides take turns within each run, so that a busy moment or the disk's
// own pace falls on both alike.
TransferTimings timeMoves(const std::string& workFolder, TransferSize size, int runs) {
    const std::vector<std::string> names = fileNames(size.files);
    const Folders folder(workFolder, "move");
    writeFiles(folder.from, names, size.fileBytes);
    const std::vector<std::string> argv = withFiles({"mv", "-n", "-t", folder.to}, pathsIn(folder.from, names));
    Engine engine;
    TransferTimings times;
    for (int run = 0; run < runs; ++run) {
        listora::MainList list = checkedRows(folder.from, names);
        settle();
        times.ours.push_back(engine.transfer(list, folder.to, listora::TransferMode::Move, folder.log));
        checkRows(list, folder.to, names);
        checkMoved(folder, names, size.fileBytes, "the engine");
        checkLog(folder.log, names.size());
        std::filesystem::remove_all(folder.log);
        moveBack(folder, names);

        settle();
        times.theirs.push_back(runCommand(argv));
        checkMoved(folder, names, size.fileBytes, "mv");
        moveBack(folder, names);
    }
    return times;
}

TransferTimings timeCopies(const std::string& workFolder, TransferSize size, int runs) {
    const std::vector<std::string> names = fileNames(size.files);
    const Folders folder(workFolder, "copy");
    writeFiles(folder.from, names, size.fileBytes);
    const std::vector<std::string> argv = withFiles({"cp", "-n", "-p", "-t", folder.to}, pathsIn(folder.from, names));
    // The first copy after the sources were written takes up to a second
    // longer, whichever side makes it: the page cache grows by the copies'
    // size into memory the machine has not handed out before. One untimed
    // copy does that for both sides.
    settle();
    runCommand(argv);
    checkCopied(folder.from, folder.to, names, size.fileBytes, "cp");
    removeCopies(folder);

    Engine engine;
    TransferTimings times;
    for (int run = 0; run < runs; ++run) {
        listora::MainList list = checkedRows(folder.from, names);
        settle();
        times.ours.push_back(engine.transfer(list, folder.to, listora::TransferMode::Copy, folder.log));
        checkRows(list, folder.to, names);
        checkCopied(folder.from, folder.to, names, size.fileBytes, "the engine");
        checkLog(folder.log, names.size());
        std::filesystem::remove_all(folder.log);
        removeCopies(folder);

        settle();
        times.theirs.push_back(runCommand(argv));
        checkCopied(folder.from, folder.to, names, size.fileBytes, "cp");
        removeCopies(folder);
    }
    return times;
}

}  // namespace bench
