// Kills listora-cli (SIGKILL after a random delay) while it converts a
// playlist or copies or moves the files of one, on the same file system and
// across to /dev/shm, each run on a fresh tree, and checks what survives;
// with the argument full-disk, lets it copy, move and convert onto a small
// tmpfs that fills up. Prints each case's runs and the runs that broke each
// invariant, and fails when any did.
//
//   fault_driver LISTORA_CLI kill|full-disk
//   LISTORA_FAULT_RUNS=N  killed runs of each case (8)
//   LISTORA_FAULT_SEED=S  the delays of an earlier campaign again

#include "fault_tree.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace listora::faults {
namespace {

using Clock = std::chrono::steady_clock;

// A long run writes its log in pieces; the files moved after the last piece
// written may be missing from it, no more.
constexpr std::size_t kLogPiece = 256;
constexpr int kSkipped = 77;

enum class Job { Convert, Copy, Move };

struct Case {
    std::string name;
    Job job;
    bool crossFs;
};

struct Outcome {
    bool killed = false;  // the signal ended it, not the program itself
    int status = 0;       // the exit status when it ended itself
};

std::vector<std::string> argumentsFor(Job job, const FaultTree& tree) {
    switch (job) {
        case Job::Convert:
            return {"convert", tree.convertIn(), tree.convertOut(), "--relative"};
        case Job::Copy:
            return {"copy", tree.playlist(), tree.destination(), "--rewrite-paths", "--save"};
        case Job::Move:
            return {"move", tree.playlist(), tree.destination(), "--save"};
    }
    return {};
}

// Runs the program in the tree's root with its home in the tree, killing it
// after `delay` unless it has ended by then.
Outcome run(const std::string& cli, const std::vector<std::string>& arguments, const FaultTree& tree,
            std::optional<Clock::duration> delay) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::setenv("LISTORA_HOME", tree.home().c_str(), 1);
        if (::chdir(tree.root().c_str()) != 0) ::_exit(127);
        std::vector<char*> argv{const_cast<char*>(cli.c_str())};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(cli.c_str(), argv.data());
        ::_exit(127);
    }
    if (delay) {
        std::this_thread::sleep_for(*delay);
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFSIGNALED(status), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The invariants one run broke, each named once, with what broke it.
class Findings {
public:
    void fail(const std::string& invariant, const std::string& detail) {
        if (broken_.emplace(invariant, detail).second) order_.push_back(invariant);
    }
    const std::vector<std::string>& broken() const { return order_; }
    const std::string& detail(const std::string& invariant) const { return broken_.at(invariant); }

private:
    std::map<std::string, std::string> broken_;
    std::vector<std::string> order_;
};

std::string readAll(const std::string& path) {
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

// `ended`: the program ran to its end (no kill), so its work must be whole;
// `roomy`: the disk did not fill up, so every file must have arrived.
Findings check(const Case& c, const FaultTree& tree, bool ended, bool roomy) {
    Findings findings;
    for (const std::string& stranger : tree.strangers()) findings.fail("nothing partial or temporary left", stranger);
    if (c.job == Job::Convert) {
        const std::string out = readAll(tree.convertOut());
        if (out != tree.oldConverted() && out != tree.newConverted())
            findings.fail("playlist old or new, whole", std::to_string(out.size()) + " bytes, neither");
        if (ended && roomy && out != tree.newConverted()) findings.fail("an ended run wrote the new playlist", "");
        return findings;
    }

    std::vector<bool> atTargets;
    std::vector<std::string> transferred;
    std::size_t atBoth = 0;
    for (std::size_t i = 0; i < tree.fileCount(); ++i) {
        bool partial = false;
        const bool atSource = tree.wholeAt(i, tree.sourcePath(i), partial);
        const bool atTarget = tree.wholeAt(i, tree.targetPath(i), partial);
        atTargets.push_back(atTarget);
        if (partial) findings.fail("nothing partial or temporary left", tree.sourcePath(i) + " or its target");
        if (c.job == Job::Move && !atSource && !atTarget)
            findings.fail("moved file whole at one place", tree.sourcePath(i) + " lost");
        // Across file systems the copy is whole at the target before the
        // source goes, so a kill in between leaves the one file in flight at
        // both places, whole; on one file system a move is one rename.
        if (c.job == Job::Move && atSource && atTarget && (!c.crossFs || ++atBoth > 1))
            findings.fail("moved file at one place only (the one in flight across file systems excepted)",
                          tree.sourcePath(i) + " at both");
        if (c.job == Job::Copy && !atSource) findings.fail("copied file whole at its source", tree.sourcePath(i));
        if (atTarget) transferred.push_back(tree.sourcePath(i));
        if (ended && roomy && !atTarget) findings.fail("an ended run transferred every file", tree.sourcePath(i));
    }

    // The playlist is written once, after the files: before that it is the
    // old one, after it the one that names where each file ended up.
    const std::string playlist = readAll(tree.playlist());
    const std::string fresh = tree.playlistWith(atTargets);
    if (playlist != tree.oldPlaylist() && playlist != fresh)
        findings.fail("playlist old or new, whole", std::to_string(playlist.size()) + " bytes, neither");
    if (ended && playlist != fresh) findings.fail("an ended run wrote the new playlist", "");

    const std::vector<std::string> logged = tree.loggedSources();
    const bool prefix =
        logged.size() <= transferred.size() && std::equal(logged.begin(), logged.end(), transferred.begin());
    if (!prefix)
        findings.fail(
            "log names transferred files in list order",
            std::to_string(logged.size()) + " logged, " + std::to_string(transferred.size()) + " transferred");
    else if (transferred.size() - logged.size() > (ended ? 0 : kLogPiece))
        findings.fail(ended ? "an ended run logged every file" : "log misses at most the last piece",
                      std::to_string(transferred.size() - logged.size()) + " of " + std::to_string(transferred.size()) +
                          " transferred files not logged");
    return findings;
}

struct Tally {
    int runs = 0;
    int killed = 0;
    std::map<std::string, int> failures;
    std::map<std::string, std::string> example;

    void add(const Findings& findings, bool wasKilled) {
        ++runs;
        killed += wasKilled;
        for (const std::string& invariant : findings.broken()) {
            ++failures[invariant];
            example.emplace(invariant, findings.detail(invariant));
        }
    }
};

void report(const std::string& name, const Tally& tally) {
    std::printf("%-22s %3d runs, %3d killed mid-run", name.c_str(), tally.runs, tally.killed);
    if (tally.failures.empty()) std::printf(", every invariant held");
    std::printf("\n");
    for (const auto& [invariant, count] : tally.failures)
        std::printf("    %-44s failed in %3d runs (e.g. %s)\n", invariant.c_str(), count,
                    tally.example.at(invariant).c_str());
    std::fflush(stdout);
}

std::string scratchFolder(const char* under) {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(under ? under : tmp && *tmp ? tmp : "/tmp") + "/listora-faults-" + std::to_string(::getpid());
}

bool sameDevice(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev;
}

int killCampaign(const std::string& cli) {
    const char* runsText = std::getenv("LISTORA_FAULT_RUNS");
    const int runs = runsText ? std::max(1, std::atoi(runsText)) : 8;
    const char* seedText = std::getenv("LISTORA_FAULT_SEED");
    const unsigned seed =
        seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10)) : std::random_device{}();
    std::printf("kill -9 campaign: %d killed runs a case, LISTORA_FAULT_SEED=%u\n", runs, seed);
    std::mt19937 random(seed);

    const std::string base = scratchFolder(nullptr);
    const std::string shm = scratchFolder("/dev/shm");
    std::filesystem::create_directories(base);
    const bool crossFs = ::mkdir(shm.c_str(), 0700) == 0 && !sameDevice(base, shm);
    const std::vector<Case> cases = {
        {"convert", Job::Convert, false},       {"copy, same fs", Job::Copy, false},
        {"move, same fs", Job::Move, false},    {"copy, to /dev/shm", Job::Copy, true},
        {"move, to /dev/shm", Job::Move, true},
    };
    bool held = true;
    for (const Case& c : cases) {
        if (c.crossFs && !crossFs) {
            std::printf("%-22s skipped: /dev/shm is not another writable file system here\n", c.name.c_str());
            continue;
        }
        const std::string destination = (c.crossFs ? shm : base) + "/dest";
        Tally tally;
        // One run to its end first: it must do the whole job, and its time
        // bounds the delays of the killed runs.
        const FaultTree first(base + "/tree", destination, TreeShape{});
        const Clock::time_point start = Clock::now();
        const Outcome ended = run(cli, argumentsFor(c.job, first), first, std::nullopt);
        const Clock::duration whole = Clock::now() - start;
        Findings findings = check(c, first, true, true);
        if (ended.status != 0)
            findings.fail("a run to its end succeeds", "exit status " + std::to_string(ended.status));
        tally.add(findings, false);
        std::uniform_int_distribution<long long> delay(
            0, std::chrono::duration_cast<std::chrono::microseconds>(whole).count());
        for (int i = 0; i < runs; ++i) {
            const FaultTree tree(base + "/tree", destination, TreeShape{});
            const Outcome outcome = run(cli, argumentsFor(c.job, tree), tree, std::chrono::microseconds(delay(random)));
            tally.add(check(c, tree, !outcome.killed, true), outcome.killed);
        }
        std::printf("(a whole run took %.0f ms) ", std::chrono::duration<double, std::milli>(whole).count());
        report(c.name, tally);
        held = held && tally.failures.empty();
    }
    removeTree(base);
    removeTree(shm);
    return held ? 0 : 1;
}

// Fills the file system of `folder` up to `leave` bytes.
void fillUp(const std::string& folder, std::size_t leave) {
    struct statvfs space {};
    ::statvfs(folder.c_str(), &space);
    const std::size_t free = space.f_bavail * space.f_frsize;
    if (free <= leave) return;
    FILE* filler = std::fopen((folder + "/filler").c_str(), "wb");
    const std::string block(4096, 'x');
    for (std::size_t written = 0; written + block.size() <= free - leave; written += block.size())
        std::fwrite(block.data(), 1, block.size(), filler);
    std::fclose(filler);
}

int fullDiskCampaign(const std::string& cli) {
    const std::string base = scratchFolder(nullptr);
    const std::string mountPoint = base + "-full";
    std::filesystem::create_directories(base);
    std::filesystem::create_directories(mountPoint);
    if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=2m") != 0) {
        std::printf("skipped: cannot mount a 2 MiB tmpfs on %s (%s); needs root with CAP_SYS_ADMIN\n",
                    mountPoint.c_str(), std::strerror(errno));
        removeTree(base);
        removeTree(mountPoint);
        return kSkipped;
    }
    std::printf("full disk: a 2 MiB tmpfs on %s\n", mountPoint.c_str());
    bool held = true;
    const auto finish = [&](const Case& c, Findings findings, const Outcome& outcome) {
        if (outcome.status == 0) findings.fail("a run that failed says so", "exit status 0");
        Tally tally;
        tally.add(findings, false);
        report(c.name, tally);
        held = held && tally.failures.empty();
    };
    // More files than fit: some arrive, the rest must fail whole.
    for (const Case& c :
         {Case{"copy, onto a full fs", Job::Copy, true}, Case{"move, onto a full fs", Job::Move, true}}) {
        TreeShape shape;
        shape.largeBytes = 1u << 20;
        shape.convertRows = 0;
        const FaultTree tree(base + "/tree", mountPoint + "/dest", shape);
        const Outcome outcome = run(cli, argumentsFor(c.job, tree), tree, std::nullopt);
        finish(c, check(c, tree, true, false), outcome);
    }
    // The converted playlist cannot be written beside the old one.
    {
        const Case c{"convert, onto a full fs", Job::Convert, false};
        TreeShape shape;
        shape.smallFiles = 0;
        shape.largeFiles = 0;
        shape.convertRows = 12000;
        removeTree(mountPoint + "/dest");
        const FaultTree tree(mountPoint + "/tree", mountPoint + "/dest", shape);
        fillUp(mountPoint, 64 * 1024);
        const Outcome outcome = run(cli, argumentsFor(c.job, tree), tree, std::nullopt);
        finish(c, check(c, tree, true, false), outcome);
    }
    ::umount2(mountPoint.c_str(), MNT_DETACH);
    removeTree(base);
    removeTree(mountPoint);
    return held ? 0 : 1;
}

}  // namespace
}  // namespace listora::faults

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[2] : "";
    if (mode != "kill" && mode != "full-disk") {
        std::fprintf(stderr, "usage: %s LISTORA_CLI kill|full-disk\n", argv[0]);
        return 2;
    }
    // The program runs in the tree's root, so its path must not be relative.
    const std::string cli = std::filesystem::absolute(argv[1]).string();
    return mode == "kill" ? listora::faults::killCampaign(cli) : listora::faults::fullDiskCampaign(cli);
}
