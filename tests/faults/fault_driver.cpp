// Kills listora-cli (SIGKILL after a random delay) while it converts a
// playlist or copies or moves the files of one, on the same file system and
// across to /dev/shm, each run on a fresh tree, and checks what survives;
// with the argument full-disk, lets it copy, move and convert onto a small
// tmpfs that fills up; with the argument syscalls, kills it at a chosen
// system call, or makes one call fail, through strace's fault injection.
// After a killed or failed run the same job runs again, as the next write
// in each folder, and what both leave is checked. Prints each case's runs
// and the runs that broke each invariant, and fails when any did.
//
//   fault_driver LISTORA_CLI kill|full-disk|syscalls
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
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace listora::faults {
namespace {

using Clock = std::chrono::steady_clock;

// The log writes records a quarter of a second after they were added; a
// killed run's log may miss the files that arrived that long before the
// kill, with room for the piece's own write and for a busy machine, no more.
constexpr double kLogBound = 0.5;
constexpr int kSkipped = 77;

double realNow() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

enum class Job { Convert, Copy, Move };

struct Case {
    std::string name;
    Job job;
    bool crossFs;
    TreeShape shape{};
};

// A copy long enough (a second or more) for its log to be written several
// times before the kill: what a kill costs the log shows only there.
TreeShape longCopy() {
    TreeShape shape;
    shape.smallFiles = 2000;
    shape.largeFiles = 0;
    shape.convertRows = 0;
    return shape;
}

struct Outcome {
    bool killed = false;  // the signal ended it, not the program itself
    int status = 0;       // the exit status when it ended itself
    double endedAt = 0;   // when it was killed or ended, seconds since the epoch
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
// after `delay` unless it has ended by then; under `wrapper` (strace and its
// arguments) when one is given.
Outcome run(const std::string& cli, const std::vector<std::string>& arguments, const FaultTree& tree,
            std::optional<Clock::duration> delay, const std::vector<std::string>& wrapper = {}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::setenv("LISTORA_HOME", tree.home().c_str(), 1);
        if (::chdir(tree.root().c_str()) != 0) ::_exit(127);
        std::vector<char*> argv;
        for (const std::string& word : wrapper) argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(const_cast<char*>(cli.c_str()));
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    double killedAt = 0;
    if (delay) {
        std::this_thread::sleep_for(*delay);
        killedAt = realNow();
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    const bool killed = WIFSIGNALED(status);
    return {killed, WIFEXITED(status) ? WEXITSTATUS(status) : -1, killedAt > 0 && killed ? killedAt : realNow()};
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
// `transferred` receives the files that arrived, in list order. What only
// the next run may clear (a crashed write's temporary, a log piece to
// complete) is checked by checkAfterNextRun for a run that did not end.
Findings check(const Case& c, const FaultTree& tree, bool ended, bool roomy,
               std::vector<std::size_t>* transferred = nullptr) {
    Findings findings;
    if (ended)
        for (const std::string& stranger : tree.strangers())
            findings.fail("nothing partial or temporary left", stranger);
    if (c.job == Job::Convert) {
        const std::string out = readAll(tree.convertOut());
        if (out != tree.oldConverted() && out != tree.newConverted())
            findings.fail("playlist old or new, whole", std::to_string(out.size()) + " bytes, neither");
        if (ended && roomy && out != tree.newConverted()) findings.fail("an ended run wrote the new playlist", "");
        return findings;
    }

    std::vector<bool> atTargets;
    std::vector<std::size_t> arrived;
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
        if (atTarget) arrived.push_back(i);
        if (ended && roomy && !atTarget) findings.fail("an ended run transferred every file", tree.sourcePath(i));
    }

    // The playlist is written once, after the files: before that it is the
    // old one, after it the one that names where each file ended up.
    const std::string playlist = readAll(tree.playlist());
    const std::string fresh = tree.playlistWith(atTargets);
    if (playlist != tree.oldPlaylist() && playlist != fresh)
        findings.fail("playlist old or new, whole", std::to_string(playlist.size()) + " bytes, neither");
    if (ended && playlist != fresh) findings.fail("an ended run wrote the new playlist", "");

    if (ended) {
        std::vector<std::string> logged;
        for (const LogRecord& record : tree.loggedRecords()) logged.push_back(record.before);
        const bool complete = logged.size() == arrived.size() &&
                              std::equal(logged.begin(), logged.end(), arrived.begin(),
                                         [&](const std::string& a, std::size_t i) { return a == tree.sourcePath(i); });
        if (!complete)
            findings.fail(
                "an ended run logged every file, once, in list order",
                std::to_string(logged.size()) + " logged, " + std::to_string(arrived.size()) + " transferred");
    }
    if (transferred) *transferred = std::move(arrived);
    return findings;
}

// After a killed or failed run, the next run of the same job has ended:
// no temporary of either is left, the day file parses and names no file
// twice, and the first run's files are logged in list order but for those
// that arrived within `bound` seconds before it stopped. `worstLag` grows to
// the oldest unlogged arrival seen.
void checkAfterNextRun(const Case& c, const FaultTree& tree, const std::vector<std::size_t>& transferred,
                       double stoppedAt, double bound, Findings& findings, double& worstLag) {
    for (const std::string& stranger : tree.strangers())
        findings.fail("no temporary left after the next run", stranger);
    if (c.job == Job::Convert) return;
    const std::vector<LogRecord> records = tree.loggedRecords();
    std::map<std::string, std::size_t> times;
    for (const LogRecord& record : records) {
        if (record.kind != "移動" && record.kind != "コピー")
            findings.fail("day file parses", "a record of kind '" + record.kind.substr(0, 40) + "'");
        if (++times[record.before] == 2) findings.fail("no record written twice", record.before);
    }
    std::vector<std::string> expected;
    for (std::size_t i : transferred) expected.push_back(tree.sourcePath(i));
    std::size_t prefix = 0;
    for (const LogRecord& record : records)
        if (prefix < expected.size() && record.before == expected[prefix]) ++prefix;
    for (std::size_t k = prefix; k < transferred.size(); ++k) {
        if (times.count(expected[k])) {
            findings.fail("log names transferred files in list order", expected[k]);
            continue;
        }
        const double lag = stoppedAt - tree.arrivalAt(tree.targetPath(transferred[k])).value_or(stoppedAt);
        worstLag = std::max(worstLag, lag);
        if (lag > bound)
            findings.fail("log misses only the files of the last moment",
                          expected[k] + " arrived " + std::to_string(lag) + " s before the end, unlogged");
    }
}

struct Tally {
    int runs = 0;
    int killed = 0;
    double worstLag = 0;  // the oldest arrival a killed run's log missed, in seconds
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
    std::printf("%-30s %3d runs, %3d killed mid-run", name.c_str(), tally.runs, tally.killed);
    if (tally.worstLag > 0) std::printf(", log missed at most %.0f ms", tally.worstLag * 1000);
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

// The checks of a run that may have been killed or have failed: what it
// left at once, then, after the same job has run again to its end, what
// both left.
Findings checkWithNextRun(const std::string& cli, const Case& c, const FaultTree& tree, const Outcome& outcome,
                          double& worstLag) {
    std::vector<std::size_t> transferred;
    Findings findings = check(c, tree, !outcome.killed, true, &transferred);
    if (!outcome.killed) return findings;
    run(cli, argumentsFor(c.job, tree), tree, std::nullopt);
    checkAfterNextRun(c, tree, transferred, outcome.endedAt, kLogBound, findings, worstLag);
    return findings;
}

// The runs of each case (LISTORA_FAULT_RUNS, else `defaultRuns`) and the
// seed of the random choices (LISTORA_FAULT_SEED, else a new one).
std::pair<int, unsigned> campaignSettings(int defaultRuns) {
    const char* runsText = std::getenv("LISTORA_FAULT_RUNS");
    const char* seedText = std::getenv("LISTORA_FAULT_SEED");
    return {runsText ? std::max(1, std::atoi(runsText)) : defaultRuns,
            seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10)) : std::random_device{}()};
}

int killCampaign(const std::string& cli) {
    const auto [runs, seed] = campaignSettings(8);
    std::printf("kill -9 campaign: %d killed runs a case, LISTORA_FAULT_SEED=%u\n", runs, seed);
    std::mt19937 random(seed);

    const std::string base = scratchFolder(nullptr);
    const std::string shm = scratchFolder("/dev/shm");
    std::filesystem::create_directories(base);
    const bool crossFs = ::mkdir(shm.c_str(), 0700) == 0 && !sameDevice(base, shm);
    const std::vector<Case> cases = {
        {"convert", Job::Convert, false},       {"copy, same fs", Job::Copy, false},
        {"move, same fs", Job::Move, false},    {"copy, to /dev/shm", Job::Copy, true},
        {"move, to /dev/shm", Job::Move, true}, {"copy of 2000 files", Job::Copy, false, longCopy()},
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
        const FaultTree first(base + "/tree", destination, c.shape);
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
            const FaultTree tree(base + "/tree", destination, c.shape);
            const Outcome outcome = run(cli, argumentsFor(c.job, tree), tree, std::chrono::microseconds(delay(random)));
            tally.add(checkWithNextRun(cli, c, tree, outcome, tally.worstLag), outcome.killed);
        }
        std::printf("(a whole run took %.0f ms) ", std::chrono::duration<double, std::milli>(whole).count());
        report(c.name, tally);
        held = held && tally.failures.empty();
    }
    removeTree(base);
    removeTree(shm);
    return held ? 0 : 1;
}

// How many times the busiest thread of a run makes the system call: strace
// counts an injection's `when` per thread.
int callsOf(const std::string& cli, const Case& c, const FaultTree& tree, const std::string& call,
            const std::string& traceFile) {
    run(cli, argumentsFor(c.job, tree), tree, std::nullopt,
        {"strace", "-f", "-qq", "-e", "trace=" + call, "-o", traceFile});
    std::map<std::string, int> perThread;
    std::istringstream lines(readAll(traceFile));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos || line.find("resumed>") != std::string::npos) continue;
        if (line.compare(space + 1, call.size() + 1, call + "(") == 0 ||
            line.find(" " + call + "(") != std::string::npos)
            ++perThread[line.substr(0, space)];
    }
    int most = 0;
    for (const auto& [thread, count] : perThread) most = std::max(most, count);
    return most;
}

int syscallCampaign(const std::string& cli) {
    // strace must be there and allowed to trace (a container may forbid it).
    if (::system("strace -qq -o /dev/null true >/dev/null 2>&1") != 0) {
        std::printf("skipped: strace is not installed or may not trace here\n");
        return kSkipped;
    }
    const auto [runs, seed] = campaignSettings(1);
    std::printf("strace campaign: %d runs a call and case, LISTORA_FAULT_SEED=%u\n", runs, seed);
    std::mt19937 random(seed);
    const std::string base = scratchFolder(nullptr);
    std::filesystem::create_directories(base);
    const std::string traceFile = base + "/trace";
    TreeShape shape;
    shape.smallFiles = 60;
    shape.largeFiles = 1;
    shape.convertRows = 20000;
    // The calls that put bytes and names on disk, where a kill or an error
    // falls between the steps of a write, a move or a copy.
    const std::vector<std::string> killAt = {"openat", "write",  "pwrite64",  "fsync",  "ftruncate",
                                             "linkat", "rename", "renameat2", "unlink", "copy_file_range"};
    const std::vector<std::pair<std::string, std::string>> failAt = {
        {"write", "ENOSPC"}, {"fsync", "EIO"},     {"ftruncate", "EIO"},          {"linkat", "ENOSPC"},
        {"rename", "EIO"},   {"renameat2", "EIO"}, {"copy_file_range", "ENOSPC"}, {"openat", "ENOSPC"}};
    const std::vector<Case> cases = {
        {"convert", Job::Convert, false}, {"copy, same fs", Job::Copy, false}, {"move, same fs", Job::Move, false}};
    bool held = true;
    for (const Case& c : cases) {
        Tally kills;
        Tally errors;
        const std::string destination = base + "/dest";
        for (const std::string& call : killAt) {
            const int count = callsOf(cli, c, FaultTree(base + "/tree", destination, shape), call, traceFile);
            if (count == 0) continue;
            std::uniform_int_distribution<int> when(1, count);
            for (int i = 0; i < runs; ++i) {
                const FaultTree tree(base + "/tree", destination, shape);
                const std::string inject = "inject=" + call + ":signal=SIGKILL:when=" + std::to_string(when(random));
                const Outcome outcome = run(cli, argumentsFor(c.job, tree), tree, std::nullopt,
                                            {"strace", "-f", "-qq", "-o", "/dev/null", "-e", inject});
                kills.add(checkWithNextRun(cli, c, tree, outcome, kills.worstLag), outcome.killed);
            }
        }
        for (const auto& [call, error] : failAt) {
            const int count = callsOf(cli, c, FaultTree(base + "/tree", destination, shape), call, traceFile);
            if (count == 0) continue;
            std::uniform_int_distribution<int> when(1, count);
            for (int i = 0; i < runs; ++i) {
                const FaultTree tree(base + "/tree", destination, shape);
                const std::string inject =
                    "inject=" + call + ":error=" + error + ":when=" + std::to_string(when(random));
                const Outcome outcome = run(cli, argumentsFor(c.job, tree), tree, std::nullopt,
                                            {"strace", "-f", "-qq", "-o", "/dev/null", "-e", inject});
                // The run ended by itself: it cleans up after itself, and
                // whatever arrived is logged, once.
                std::vector<std::size_t> transferred;
                Findings findings = check(c, tree, false, false, &transferred);
                for (const std::string& stranger : tree.strangers())
                    findings.fail("a failed run leaves no temporary", stranger);
                run(cli, argumentsFor(c.job, tree), tree, std::nullopt);
                double unused = 0;
                checkAfterNextRun(c, tree, transferred, outcome.endedAt, -1, findings, unused);
                errors.add(findings, false);
            }
        }
        report(c.name + ", killed at a call", kills);
        report(c.name + ", a call fails", errors);
        held = held && kills.failures.empty() && errors.failures.empty();
    }
    removeTree(base);
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
    if (mode != "kill" && mode != "full-disk" && mode != "syscalls") {
        std::fprintf(stderr, "usage: %s LISTORA_CLI kill|full-disk|syscalls\n", argv[0]);
        return 2;
    }
    // The program runs in the tree's root, so its path must not be relative.
    const std::string cli = std::filesystem::absolute(argv[1]).string();
    if (mode == "syscalls") return listora::faults::syscallCampaign(cli);
    return mode == "kill" ? listora::faults::killCampaign(cli) : listora::faults::fullDiskCampaign(cli);
}
