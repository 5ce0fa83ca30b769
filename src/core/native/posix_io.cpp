#include "core/native/posix_io.h"

#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace listora {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = retryInterrupted([&] { return ::write(fd, bytes.data(), bytes.size()); });
        // A write of nothing makes no progress; trying again could loop for ever.
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
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
        const ssize_t got = retryInterrupted([&] { return ::read(from, buffer.data(), buffer.size()); });
        if (got < 0) return false;
        if (got == 0) return true;
        if (!writeAll(to, std::string_view(buffer.data(), static_cast<std::size_t>(got)))) return false;
    }
}

UniqueFd openRegularFile(const std::string& path, bool followLinks, struct stat* info) {
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLinks ? 0 : O_NOFOLLOW);
    UniqueFd fd(retryInterrupted([&] { return ::open(path.c_str(), flags); }));
    struct stat status {};
    if (!fd || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return UniqueFd();
    // Reads of a regular file never wait anyway; the flag goes so that the
    // descriptor behaves as any other.
    if (::fcntl(fd.get(), F_SETFL, 0) != 0) return UniqueFd();
    if (info) *info = status;
    return fd;
}

bool syncFolder(const std::string& folder) {
    UniqueFd fd(retryInterrupted([&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    return fd && retryInterrupted([&] { return ::fsync(fd.get()); }) == 0;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace listora
