#include "measure.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {
namespace {

std::string describe(const std::vector<std::string>& argv) {
    std::string text;
    for (const auto& arg : argv) text += (text.empty() ? "" : " ") + arg;
    return text;
}

int waitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error("waitpid failed");
    }
    return status;
}

// VmHWM of /proc/self/status, in bytes: the peak resident set so far.
long long highWaterMark() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    char line[256];
    long long kib = -1;
    while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmHWM: %lld kB", &kib) == 1) break;
    }
    std::fclose(status);
    return kib < 0 ? -1 : kib * 1024;
}

bool readAll(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = ::read(fd, bytes, size);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double runCommand(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);

    pid_t pid = 0;
    int status = 0;
    int spawnError = 0;
    const double seconds = secondsOf([&] {
        spawnError = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
        if (spawnError == 0) status = waitFor(pid);
    });
    posix_spawn_file_actions_destroy(&actions);

    if (spawnError != 0) throw std::runtime_error("cannot start " + describe(argv) + ": " + std::strerror(spawnError));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(describe(argv) + " failed");
    return seconds;
}

PeakMemory peakMemoryOf(const std::function<void()>& work) {
    int channel[2];
    if (::pipe(channel) != 0) throw std::runtime_error("pipe failed");
    std::fflush(nullptr);  // nothing buffered may be written twice

    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        // The child leaves with _exit: no destructors, so the parent's
        // temporary folder is not removed from here.
        ::close(channel[0]);
        PeakMemory memory;
        memory.baselineBytes = highWaterMark();
        try {
            work();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "listora-bench: load in child: %s\n", error.what());
            ::_exit(1);
        }
        memory.peakBytes = highWaterMark();
        const bool sent = ::write(channel[1], &memory, sizeof memory) == static_cast<ssize_t>(sizeof memory);
        ::_exit(sent ? 0 : 1);
    }

    ::close(channel[1]);
    PeakMemory memory;
    const bool received = readAll(channel[0], &memory, sizeof memory);
    ::close(channel[0]);
    const int status = waitFor(pid);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || memory.baselineBytes < 0 || memory.peakBytes < 0)
        throw std::runtime_error("the memory measurement's child failed");
    return memory;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool sameFileBytes(const std::string& a, const std::string& b) {
    std::ifstream inA(a, std::ios::binary);
    std::ifstream inB(b, std::ios::binary);
    if (!inA || !inB) return false;
    std::vector<char> pieceA(1 << 20);
    std::vector<char> pieceB(pieceA.size());
    while (true) {
        inA.read(pieceA.data(), static_cast<std::streamsize>(pieceA.size()));
        inB.read(pieceB.data(), static_cast<std::streamsize>(pieceB.size()));
        if (inA.gcount() != inB.gcount() || !std::equal(pieceA.begin(), pieceA.begin() + inA.gcount(), pieceB.begin()))
            return false;
        if (inA.gcount() == 0) return true;
    }
}

// Runs a command with its standard output sent to `output`, and gives its
// wall time and peak resident memory. Throws unless it exits with 0.
Child runTo(const std::vector<std::string>& argv, const std::string& output) {
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    int status = 0;
    rusage usage{};
    int spawnError = 0;
    Child child;
    child.seconds = secondsOf([&] {
        spawnError = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
        if (spawnError != 0) return;
        while (::wait4(pid, &status, 0, &usage) < 0) {
            if (errno != EINTR) throw std::runtime_error("wait4 failed");
        }
    });
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(argv[0] + " failed");
    child.peakBytes = static_cast<long long>(usage.ru_maxrss) * 1024;
    return child;
}

std::string besideThisProgram(const std::string& relative) {
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) throw std::runtime_error("cannot find listora-bench itself");
    std::string path(self, static_cast<std::size_t>(length));
    path.erase(path.rfind('/') + 1);
    return path + relative;
}

}  // namespace bench
