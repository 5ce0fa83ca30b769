#include "platform/native_file_transfer.h"

#include "platform/unique_fd.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace listora {
namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// copy_file_range lets the file system share or copy blocks itself; where it
// cannot (another file system, an old kernel), plain reads and writes go on
// from where it stopped.
bool copyContents(int from, int to) {
    for (;;) {
        const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (copied > 0) continue;
        if (copied == 0) return true;
        if (errno == EINTR) continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP && errno != EPERM) return false;
        break;
    }
    std::vector<char> buffer(1 << 20);
    for (;;) {
        ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        for (const char* at = buffer.data(); got > 0;) {
            const ssize_t written = ::write(to, at, static_cast<std::size_t>(got));
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return false;
            at += written;
            got -= written;
        }
    }
}

// A file being written in the target's folder. Where the file system offers
// unnamed files it has no name at all until it is complete; elsewhere it has
// a hidden temporary name that is removed on failure.
class PendingFile {
public:
    explicit PendingFile(const std::string& folder) {
        fd_ = UniqueFd(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        if (fd_) return;
        tempName_ = folder + "/.listora-XXXXXX";
        fd_ = UniqueFd(::mkstemp(tempName_.data()));
        if (!fd_) tempName_.clear();
    }
    ~PendingFile() {
        if (!tempName_.empty()) ::unlink(tempName_.c_str());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    int fd() const { return fd_.get(); }
    bool ok() const { return static_cast<bool>(fd_); }

    // Gives the complete file its name; fails when a file already has it.
    bool publish(const std::string& target) {
        if (tempName_.empty()) {
            if (::linkat(fd_.get(), "", AT_FDCWD, target.c_str(), AT_EMPTY_PATH) == 0) return true;
            if (errno == EEXIST) return false;
            const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
            return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0;
        }
        if (!fd_.close()) return false;
        if (::link(tempName_.c_str(), target.c_str()) != 0 &&
            !(errno != EEXIST &&
              ::renameat2(AT_FDCWD, tempName_.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0))
            return false;
        ::unlink(tempName_.c_str());
        tempName_.clear();
        return true;
    }

private:
    UniqueFd fd_;
    std::string tempName_;
};

// Copies a regular file's contents, permission bits and times to a new file
// at target. With `durable` the data is on disk before the file gets its
// name, as a move needs before it removes the source.
bool copyRegularFile(const std::string& source, const std::string& target, bool durable) {
    UniqueFd from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!from || ::fstat(from.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    PendingFile pending(folderOf(target));
    if (!pending.ok()) return false;
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    return copyContents(from.get(), pending.fd()) && ::fchmod(pending.fd(), info.st_mode & 07777) == 0 &&
           ::futimens(pending.fd(), times) == 0 && (!durable || ::fsync(pending.fd()) == 0) && pending.publish(target);
}

bool recreateLink(const std::string& source, const std::string& target) {
    std::string content(4096, '\0');
    for (;;) {
        const ssize_t length = ::readlink(source.c_str(), content.data(), content.size());
        if (length < 0) return false;
        if (static_cast<std::size_t>(length) < content.size()) {
            content.resize(static_cast<std::size_t>(length));
            break;
        }
        content.resize(content.size() * 2);
    }
    return ::symlink(content.c_str(), target.c_str()) == 0;
}

bool syncFolder(const std::string& folder) {
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd && ::fsync(fd.get()) == 0;
}

// Across file systems: the file is copied and in place, its name on disk
// too, before the source goes; if the source cannot go, the copy goes
// instead.
bool moveAcrossFileSystems(const std::string& source, const std::string& target) {
    struct stat info {};
    if (::lstat(source.c_str(), &info) != 0) return false;
    const bool placed = S_ISLNK(info.st_mode)   ? recreateLink(source, target)
                        : S_ISREG(info.st_mode) ? copyRegularFile(source, target, true)
                                                : false;
    if (!placed) return false;
    if (syncFolder(folderOf(target)) && ::unlink(source.c_str()) == 0) return true;
    ::unlink(target.c_str());
    return false;
}

}  // namespace

bool moveFileNoReplace(const std::string& source, const std::string& target) {
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EXDEV) return moveAcrossFileSystems(source, target);
    if (errno != EINVAL && errno != ENOSYS) return false;
    // The file system cannot rename without replacing. A hard link refuses
    // an existing target just as well; the source name then goes.
    if (::link(source.c_str(), target.c_str()) == 0) {
        if (::unlink(source.c_str()) == 0) return true;
        ::unlink(target.c_str());
        return false;
    }
    if (errno == EXDEV) return moveAcrossFileSystems(source, target);
    return false;
}

bool copyFileNoReplace(const std::string& source, const std::string& target) {
    return copyRegularFile(source, target, false);
}

}  // namespace listora
