#include "core/native/native_file_system.h"

#include "core/native/native_file_transfer.h"
#include "core/native/native_shared_file.h"
#include "core/native/pending_file.h"
#include "core/native/posix_io.h"
#include "core/native/stream_target.h"
#include "core/native/unique_fd.h"
#include "core/paths/path_rules.h"

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

// A link at the target is followed, so that saving a linked playlist updates
// the file it points to instead of replacing the link with a copy; a link
// whose file is gone gets that file made. Link by link, as realpath cannot
// follow a link that points nowhere.
std::string resolvedTarget(std::string path) {
    for (int depth = 0; depth < 40; ++depth) {  // the kernel's own limit on a chain of links
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string content(static_cast<std::size_t>(info.st_size) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), content.data(), content.size());
        if (length < 0 || static_cast<std::size_t>(length) >= content.size()) return path;
        content.resize(static_cast<std::size_t>(length));
        if (content.empty()) return path;
        path = content.front() == '/' ? content : folderOf(path) + "/" + content;
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

// Writes to the pending file, and after a failed write no more. The file is
// flushed before it takes its name; so that the flush does not wait for all
// of a long file at the end, the disk is set to write each few mebibytes as
// soon as they are written, while the rest is being made.
class FdSink : public ByteSink {
public:
    explicit FdSink(int fd) : fd_(fd) {}
    void write(std::string_view bytes) override {
        constexpr off_t kEarlyWrite = 8 << 20;
        ok_ = ok_ && writeAll(fd_, bytes);
        written_ += static_cast<off_t>(bytes.size());
        if (ok_ && written_ - started_ >= kEarlyWrite) {
            ::sync_file_range(fd_, started_, written_ - started_, SYNC_FILE_RANGE_WRITE);  // a hint: fsync decides
            started_ = written_;
        }
    }
    bool ok() const { return ok_; }

private:
    int fd_;
    bool ok_ = true;
    off_t written_ = 0;
    off_t started_ = 0;  // the disk was set to write what lies before
};

class FileStream : public ByteStream {
public:
    FileStream(UniqueFd fd, const struct stat& info)
        : fd_(std::move(fd)),
          size_(S_ISREG(info.st_mode) ? std::optional<std::uint64_t>(info.st_size) : std::nullopt) {}
    std::optional<std::size_t> read(char* buffer, std::size_t size) override {
        const ssize_t got = retryInterrupted([&] { return ::read(fd_.get(), buffer, size); });
        if (got < 0) return std::nullopt;
        return static_cast<std::size_t>(got);
    }

    std::optional<std::uint64_t> size() const override { return size_; }

private:
    UniqueFd fd_;
    std::optional<std::uint64_t> size_;
};

// Only regular files are read, but for the streams the program was started
// with when named: a FIFO would wait for a writer and a device such as
// /dev/zero never ends.
UniqueFd openForReadingAsNamed(const std::string& path, struct stat* info = nullptr) {
    if (const std::optional<int> fd = namedDescriptor(path)) return duplicateForReading(*fd);
    return openRegularFile(path, true, info);
}

}  // namespace

bool NativeFileSystem::namesOpenStream(const std::string& path) { return namedDescriptor(path).has_value(); }

UniqueFd NativeFileSystem::openRegularForReading(const std::string& path) const {
    // Only regular files are read: a FIFO would wait for a writer and a
    // device such as /dev/zero never ends.
    return openRegularFile(onDisk(path), true);
}

std::unique_ptr<ByteStream> NativeFileSystem::openForReading(const std::string& path) {
    // A stream named as such (standard input) is read through its open
    // descriptor and has no size up front.
    struct stat info {};
    UniqueFd fd = openForReadingAsNamed(onDisk(path), &info);
    if (!fd) return nullptr;
    return std::make_unique<FileStream>(std::move(fd), info);
}

std::optional<std::string> NativeFileSystem::readWholeFile(const std::string& path) {
    struct stat info {};
    UniqueFd fd = openForReadingAsNamed(onDisk(path), &info);
    if (!fd) return std::nullopt;
    FileStream stream(std::move(fd), info);
    try {
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(info.st_size));
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
    const auto write = [&](int fd) { return writeAll(fd, bytes); };
    if (const std::optional<bool> streamed = writeToStream(onDisk(path), write)) return *streamed;
    return writeFileAtomically(resolvedTarget(onDisk(path)), write);
}

std::unique_ptr<SharedFile> NativeFileSystem::openShared(const std::string& path) {
    return openSharedFile(onDisk(path));
}

bool NativeFileSystem::syncToDisk(const std::string& folder) {
    UniqueFd fd(::open(onDisk(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd && ::syncfs(fd.get()) == 0;
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

bool NativeFileSystem::writeFileInPieces(const std::string& path, const std::function<void(ByteSink&)>& produce) {
    const auto write = [&](int fd) {
        FdSink sink(fd);
        produce(sink);
        return sink.ok();
    };
    if (const std::optional<bool> streamed = writeToStream(onDisk(path), write)) return *streamed;
    return writeFileAtomically(resolvedTarget(onDisk(path)), write);
}

}  // namespace listora
