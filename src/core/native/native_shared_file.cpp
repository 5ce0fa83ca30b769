#include "core/native/native_shared_file.h"

#include "core/native/pending_file.h"
#include "core/native/posix_io.h"

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace listora {
namespace {

// A holder of the lock keeps it for one write; one that keeps it longer
// (stopped, hung) makes the others give up rather than hang with it.
constexpr auto kLockPatience = std::chrono::seconds(10);

UniqueFd lockedFolder(const std::string& folder) {
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) return fd;
    const auto giveUp = std::chrono::steady_clock::now() + kLockPatience;
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > giveUp) return UniqueFd();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return fd;
}

UniqueFd openRegularForUpdate(const std::string& path) {
    UniqueFd fd(retryInterrupted(
        [&] { return ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0666); }));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return UniqueFd();
    return fd;
}

class NativeSharedFile : public SharedFile {
public:
    NativeSharedFile(std::string path, UniqueFd lock, UniqueFd file)
        : path_(std::move(path)), lock_(std::move(lock)), file_(std::move(file)) {}

    std::optional<std::uint64_t> size() override {
        struct stat info {};
        if (::fstat(file_.get(), &info) != 0) return std::nullopt;
        return static_cast<std::uint64_t>(info.st_size);
    }

    std::optional<std::size_t> readAt(std::uint64_t offset, char* buffer, std::size_t size) override {
        const ssize_t got =
            retryInterrupted([&] { return ::pread(file_.get(), buffer, size, static_cast<off_t>(offset)); });
        if (got < 0) return std::nullopt;
        return static_cast<std::size_t>(got);
    }

    bool append(std::string_view bytes) override {
        return writeAll(file_.get(), bytes) && retryInterrupted([&] { return ::fsync(file_.get()); }) == 0;
    }

    bool appendWhole(std::string_view bytes) override {
        const bool written = writeFileAtomically(path_, [&](int fd) {
            return ::lseek(file_.get(), 0, SEEK_SET) == 0 && copyContents(file_.get(), fd) && writeAll(fd, bytes);
        });
        return written && reopen();
    }

    bool replace(std::string_view bytes) override {
        return writeFileAtomically(path_, [&](int fd) { return writeAll(fd, bytes); }) && reopen();
    }

private:
    // Later reads and appends go to the file that now has the name.
    bool reopen() {
        file_ = openRegularForUpdate(path_);
        return static_cast<bool>(file_);
    }

private:
    std::string path_;
    UniqueFd lock_;  // released last
    UniqueFd file_;
};

}  // namespace

std::unique_ptr<SharedFile> openSharedFile(const std::string& path) {
    UniqueFd lock = lockedFolder(folderOf(path));
    if (!lock) return nullptr;
    UniqueFd file = openRegularForUpdate(path);
    if (!file) return nullptr;
    return std::make_unique<NativeSharedFile>(path, std::move(lock), std::move(file));
}

}  // namespace listora
