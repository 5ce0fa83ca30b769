#include "core/native/pending_file.h"

#include "core/native/posix_io.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace listora {
namespace {

constexpr std::string_view kPrefix = ".listora-";
constexpr std::size_t kSuffixLength = 6;  // as mkstemp makes it

bool isTemporaryName(std::string_view name) {
    return name.size() == kPrefix.size() + kSuffixLength && name.starts_with(kPrefix);
}

std::string randomTemporaryName(const std::string& folder) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string name = folder + "/" + std::string(kPrefix);
    for (std::size_t i = 0; i < kSuffixLength; ++i) name += kLetters[pick(random)];
    return name;
}

// The process's umask, read once from the kernel's status file: setting it
// to read it back would change it for a moment under the other threads.
mode_t processUmask() {
    static const mode_t mask = [] {
        if (FILE* status = std::fopen("/proc/self/status", "re")) {
            char line[256];
            unsigned value = 0;
            bool found = false;
            while (!found && std::fgets(line, sizeof line, status)) found = std::sscanf(line, "Umask: %o", &value) == 1;
            std::fclose(status);
            if (found) return static_cast<mode_t>(value);
        }
        const mode_t old = ::umask(022);  // no /proc: the one time it is set to be read
        ::umask(old);
        return old;
    }();
    return mask;
}

mode_t defaultFileMode() { return 0666 & ~processUmask(); }

}  // namespace

bool writeFileAtomically(const std::string& target, const std::function<bool(int fd)>& write) {
    if (target.empty() || target.back() == '/') return false;
    mode_t mode = defaultFileMode();
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) return false;
        mode = old.st_mode & 07777;
    } else if (errno != ENOENT) {
        return false;  // a loop of links, a folder that cannot be searched: nothing to put in its place
    }
    const std::string folder = folderOf(target);
    PendingFile pending(folder);
    // A save that reached the disk only in part, its name included, is
    // reported as failed.
    return pending.ok() && write(pending.fd()) && ::fchmod(pending.fd(), mode) == 0 &&
           retryInterrupted([&] { return ::fsync(pending.fd()); }) == 0 && pending.replace(target) &&
           syncFolder(folder);
}

void removeStaleTemporaries(const std::string& folder) {
    struct CloseFolder {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    std::unique_ptr<DIR, CloseFolder> dir(::opendir(folder.c_str()));
    if (!dir) return;
    const int dirFd = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!isTemporaryName(entry->d_name)) continue;
        struct stat info {};
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) continue;
        // A writer that is still alive holds its lock; a dead one's lock
        // went with its process.
        UniqueFd fd(::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (fd && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) ::unlinkat(dirFd, entry->d_name, 0);
    }
}

PendingFile::PendingFile(const std::string& folder) : folder_(folder) {
    removeStaleTemporaries(folder);
    // Locked before it has a name, so that no one takes it for a crashed
    // writer's leftover while it is briefly named for the rename.
    fd_ = UniqueFd(retryInterrupted([&] { return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600); }));
    if (fd_ && ::flock(fd_.get(), LOCK_EX) == 0) return;
    fd_ = UniqueFd();
    // Without unnamed files the file is locked just after it is made; a
    // writer starting in that instant could take it for a leftover, and this
    // write would then fail at its rename and say so.
    hiddenName_ = folder + "/" + std::string(kPrefix) + "XXXXXX";
    fd_ = UniqueFd(::mkostemp(hiddenName_.data(), O_CLOEXEC));
    if (!fd_ || ::flock(fd_.get(), LOCK_EX) != 0) {
        if (fd_) ::unlink(hiddenName_.c_str());
        fd_ = UniqueFd();
        hiddenName_.clear();
    }
}

PendingFile::~PendingFile() {
    if (!hiddenName_.empty()) ::unlink(hiddenName_.c_str());
}

bool PendingFile::linkUnnamed(const std::string& name) const {
    if (::linkat(fd_.get(), "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
    if (errno == EEXIST) return false;
    // Without the right to link a descriptor itself, its /proc entry is.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

bool PendingFile::publishNew(const std::string& target) {
    if (!fd_) return false;
    if (hiddenName_.empty()) return linkUnnamed(target);
    // A hard link refuses an existing target; a file system without hard
    // links renames without replacing instead.
    if (retryInterrupted([&] { return ::link(hiddenName_.c_str(), target.c_str()); }) != 0 &&
        !(errno != EEXIST &&
          ::renameat2(AT_FDCWD, hiddenName_.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0))
        return false;
    ::unlink(hiddenName_.c_str());
    hiddenName_.clear();
    return true;
}

bool PendingFile::replace(const std::string& target) {
    if (!fd_) return false;
    if (hiddenName_.empty()) {
        // The unnamed file gets a hidden name only for the rename over the
        // target, the one moment a crash could leave it.
        for (int attempt = 0; attempt < 100 && hiddenName_.empty(); ++attempt) {
            std::string name = randomTemporaryName(folder_);
            if (linkUnnamed(name))
                hiddenName_ = std::move(name);
            else if (errno != EEXIST)
                return false;
        }
        if (hiddenName_.empty()) return false;
    }
    if (retryInterrupted([&] { return ::rename(hiddenName_.c_str(), target.c_str()); }) != 0) return false;
    hiddenName_.clear();
    return true;
}

}  // namespace listora
