#include "core/native/stream_target.h"

#include "core/native/posix_io.h"

#include <charconv>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace listora {

std::optional<int> namedDescriptor(std::string_view path) {
    if (path == "/dev/stdin") return 0;
    if (path == "/dev/stdout") return 1;
    if (path == "/dev/stderr") return 2;
    for (const std::string_view folder : {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/")}) {
        if (!path.starts_with(folder)) continue;
        const std::string_view digits = path.substr(folder.size());
        int fd = -1;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), fd);
        const bool allDigits = !digits.empty() && digits.front() >= '0' && digits.front() <= '9';
        if (allDigits && error == std::errc() && end == digits.data() + digits.size()) return fd;
    }
    return std::nullopt;
}

std::optional<bool> writeToStream(const std::string& path, const std::function<bool(int fd)>& write) {
    if (const std::optional<int> fd = namedDescriptor(path)) return ::fcntl(*fd, F_GETFD) != -1 && write(*fd);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) return std::nullopt;
    UniqueFd fd(retryInterrupted([&] { return ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC); }));
    return fd && write(fd.get());
}

UniqueFd duplicateForReading(int fd) { return UniqueFd(::fcntl(fd, F_DUPFD_CLOEXEC, 0)); }

}  // namespace listora
