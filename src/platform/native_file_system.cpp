#include "platform/native_file_system.h"

#include "platform/native_file_transfer.h"
#include "platform/path_rules.h"
#include "platform/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace listora {
namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

mode_t defaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A link at the target is followed, so that saving a linked playlist updates
// the file it points to instead of replacing the link with a copy.
std::string resolvedTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
        if (real) return real.get();
    }
    return path;
}

void sortByName(std::vector<FolderEntry>& entries) {
    const auto folded = [](std::string_view name) {
        std::string key(name);
        for (char& c : key)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return key;
    };
    std::vector<std::pair<std::string, FolderEntry>> keyed;
    keyed.reserve(entries.size());
    for (FolderEntry& entry : entries) keyed.emplace_back(folded(entry.name), std::move(entry));
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.name < b.second.name;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i) entries[i] = std::move(keyed[i].second);
}

bool sameFile(const std::string& a, const char* b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b, &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

std::string physicalCurrentDirectory() {
    std::string buffer(PATH_MAX, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

}  // namespace

namespace {

class FileStream : public ByteStream {
public:
    explicit FileStream(UniqueFd fd) : fd_(std::move(fd)) {}
    std::optional<std::size_t> read(char* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t got = ::read(fd_.get(), buffer, size);
            if (got >= 0) return static_cast<std::size_t>(got);
            if (errno != EINTR) return std::nullopt;
        }
    }

private:
    UniqueFd fd_;
};

// Only regular files are read: opening a FIFO would wait for a writer and a
// device such as /dev/zero never ends. O_NONBLOCK keeps the open itself
// from waiting.
UniqueFd openRegularFile(const std::string& path, off_t* size) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return UniqueFd();
    ::fcntl(fd.get(), F_SETFL, 0);
    if (size) *size = info.st_size;
    return fd;
}

}  // namespace

std::unique_ptr<ByteStream> NativeFileSystem::openForReading(const std::string& path) {
    UniqueFd fd = openRegularFile(onDisk(path), nullptr);
    if (!fd) return nullptr;
    return std::make_unique<FileStream>(std::move(fd));
}

std::optional<std::string> NativeFileSystem::readWholeFile(const std::string& path) {
    off_t size = 0;
    UniqueFd fd = openRegularFile(onDisk(path), &size);
    if (!fd) return std::nullopt;
    FileStream stream(std::move(fd));
    try {
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(size));
        char buffer[1 << 16];
        for (;;) {
            const std::optional<std::size_t> got = stream.read(buffer, sizeof buffer);
            if (!got) return std::nullopt;
            if (*got == 0) return bytes;
            bytes.append(buffer, *got);
        }
    } catch (const std::bad_alloc&) {  // larger than the memory there is
        return std::nullopt;
    } catch (const std::length_error&) {
        return std::nullopt;
    }
}

bool NativeFileSystem::writeWholeFile(const std::string& path, std::string_view bytes) {
    const std::string target = resolvedTarget(onDisk(path));
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "./" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) return false;

    mode_t mode = defaultFileMode();
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) return false;
        mode = old.st_mode & 07777;
    }

    // The temporary name is short so that a long target name still fits.
    std::string temp = folder + ".listora-XXXXXX";
    UniqueFd fd(::mkstemp(temp.data()));
    if (!fd) return false;
    const bool ok = writeAll(fd.get(), bytes) && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0 &&
                    fd.close() && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    if (UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir) ::fsync(dir.get());
    return true;
}

bool NativeFileSystem::exists(const std::string& path) {
    struct stat info {};
    return ::stat(onDisk(path).c_str(), &info) == 0;
}

bool NativeFileSystem::isFile(const std::string& path) {
    struct stat info {};
    return ::stat(onDisk(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool NativeFileSystem::createFolder(const std::string& path) { return ::mkdir(onDisk(path).c_str(), 0777) == 0; }

std::optional<std::uint64_t> NativeFileSystem::entrySize(const std::string& path) {
    struct stat info {};
    if (::lstat(onDisk(path).c_str(), &info) != 0) return std::nullopt;
    return S_ISDIR(info.st_mode) ? 0 : static_cast<std::uint64_t>(info.st_size);
}

Listing NativeFileSystem::listFolder(const std::string& path, std::vector<FolderEntry>& entries) {
    struct CloseFolder {
        void operator()(DIR* folder) const { ::closedir(folder); }
    };
    entries.clear();
    std::unique_ptr<DIR, CloseFolder> folder(::opendir(onDisk(path).c_str()));
    if (!folder) return Listing::CannotOpen;
    Listing result = Listing::Complete;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(folder.get());
        if (!entry) {
            if (errno != 0) result = Listing::BrokenOff;
            break;
        }
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool directory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            directory = ::fstatat(::dirfd(folder.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                        S_ISDIR(info.st_mode);
        }
        entries.push_back({std::string(name), directory && name[0] != '.'});
    }
    sortByName(entries);
    if (names_ != program_)
        for (FolderEntry& entry : entries) entry.name = fromDisk(entry.name);
    return result;
}

bool NativeFileSystem::moveFile(const std::string& source, const std::string& target) {
    return moveFileNoReplace(onDisk(source), onDisk(target));
}

bool NativeFileSystem::copyFile(const std::string& source, const std::string& target) {
    return copyFileNoReplace(onDisk(source), onDisk(target));
}

bool NativeFileSystem::deleteFile(const std::string& path) {
    struct stat info {};
    const std::string disk = onDisk(path);
    if (::lstat(disk.c_str(), &info) != 0 || !(S_ISREG(info.st_mode) || S_ISLNK(info.st_mode))) return false;
    return ::unlink(disk.c_str()) == 0;
}

std::string NativeFileSystem::currentDirectory() {
    // PWD holds the path as entered, as long as it still names this folder.
    const char* pwd = std::getenv("PWD");
    return fromDisk(pwd && pwd[0] == '/' && sameFile(pwd, ".") ? std::string(pwd) : physicalCurrentDirectory());
}

bool NativeFileSystem::setCurrentDirectory(const std::string& path) {
    if (path.empty()) return false;
    std::string entered = PathRules(PathStyle::Posix, program_).makeAbsolute(path, currentDirectory());
    if (::chdir(onDisk(path).c_str()) != 0) return false;
    if (entered.size() > 1 && entered.back() == '/') entered.pop_back();
    ::setenv("PWD", onDisk(entered).c_str(), 1);
    return true;
}

namespace {

// Writes to the temporary file, and after a failed write no more.
class FdSink : public ByteSink {
public:
    explicit FdSink(int fd) : fd_(fd) {}
    void write(std::string_view bytes) override { ok_ = ok_ && writeAll(fd_, bytes); }
    bool ok() const { return ok_; }

private:
    int fd_;
    bool ok_ = true;
};

}  // namespace

// As writeWholeFile: a temporary file in the target's folder, flushed and
// renamed over the target, the old file's permission bits kept.
bool NativeFileSystem::writeFileInPieces(const std::string& path, const std::function<void(ByteSink&)>& produce) {
    const std::string target = resolvedTarget(onDisk(path));
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "./" : target.substr(0, slash + 1);
    if (slash + 1 == target.size()) return false;

    mode_t mode = defaultFileMode();
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) return false;
        mode = old.st_mode & 07777;
    }

    std::string temp = folder + ".listora-XXXXXX";
    UniqueFd fd(::mkstemp(temp.data()));
    if (!fd) return false;
    FdSink sink(fd.get());
    try {
        produce(sink);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    const bool ok = sink.ok() && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0 && fd.close() &&
                    ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    if (UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir) ::fsync(dir.get());
    return true;
}

}  // namespace listora
