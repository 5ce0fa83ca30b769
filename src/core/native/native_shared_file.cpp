#include "core/native/native_shared_file.h"

#include "core/native/pending_file.h"
#include "core/native/posix_io.h"

#include <charconv>
#include <chrono>
#include <fcntl.h>
#include <optional>
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

// A day file and the like are regular files of the folder itself: a link
// standing in their place, live or dangling, is refused rather than followed
// to wherever it points.
UniqueFd openRegularForUpdate(const std::string& path, bool* created = nullptr) {
    constexpr int kFlags = O_RDWR | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    UniqueFd fd(retryInterrupted([&] { return ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0666); }));
    if (created) *created = static_cast<bool>(fd);
    if (!fd && errno == EEXIST) fd = UniqueFd(retryInterrupted([&] { return ::open(path.c_str(), kFlags); }));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return UniqueFd();
    return fd;
}

std::string baseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An addition in progress is first written whole to a note in the folder:
// which file, at which size, and the bytes. A crash while the file itself
// is being added to leaves the note, and the next holder of the folder's
// lock cuts the file back to that size and adds the bytes again, so the
// addition ends complete and never torn or twice. The note is its own
// test: one cut short does not parse, and its addition never began.
constexpr const char* kNoteName = ".listora-journal";
constexpr std::string_view kNoteMagic = "listora-journal 1\n";

struct Note {
    std::string fileName;
    std::uint64_t size = 0;
    std::string_view bytes;
};

std::string noteText(const std::string& fileName, std::uint64_t size, std::string_view bytes) {
    std::string text(kNoteMagic);
    text += fileName + "\n" + std::to_string(size) + "\n" + std::to_string(bytes.size()) + "\n";
    text += bytes;
    return text;
}

std::optional<Note> parseNote(std::string_view text) {
    if (!text.starts_with(kNoteMagic)) return std::nullopt;
    text.remove_prefix(kNoteMagic.size());
    std::string_view fields[3];
    for (std::string_view& field : fields) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        field = text.substr(0, end);
        text.remove_prefix(end + 1);
    }
    Note note;
    note.fileName = std::string(fields[0]);
    std::uint64_t length = 0;
    const auto number = [](std::string_view digits, std::uint64_t& value) {
        const auto [end, fault] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return fault == std::errc() && end == digits.data() + digits.size() && !digits.empty();
    };
    if (note.fileName.empty() || note.fileName.find('/') != std::string::npos || !number(fields[1], note.size) ||
        !number(fields[2], length) || length != text.size())
        return std::nullopt;
    note.bytes = text;
    return note;
}

// Cuts the file back to `size` and adds the bytes there, on disk.
bool addAt(int fd, std::uint64_t size, std::string_view bytes) {
    return ::ftruncate(fd, static_cast<off_t>(size)) == 0 && ::lseek(fd, static_cast<off_t>(size), SEEK_SET) >= 0 &&
           writeAll(fd, bytes) && retryInterrupted([&] { return ::fsync(fd); }) == 0;
}

// Completes the addition a crash left in `folder`, under the folder's lock.
void completeLeftAddition(const std::string& folder) {
    const std::string notePath = folder + "/" + kNoteName;
    struct stat info {};
    UniqueFd noteFd = openRegularFile(notePath, false, &info);
    if (!noteFd) return;
    std::string text(static_cast<std::size_t>(info.st_size), '\0');
    const ssize_t got = ::pread(noteFd.get(), text.data(), text.size(), 0);
    if (got == static_cast<ssize_t>(text.size())) {
        if (const std::optional<Note> note = parseNote(text)) {
            const std::string filePath = folder + "/" + note->fileName;
            UniqueFd file(retryInterrupted(
                [&] { return ::open(filePath.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC); }));
            struct stat now {};
            // Anything but a size between the old one and the complete one
            // means the file is no longer the one the note was made for.
            if (file && ::fstat(file.get(), &now) == 0 && S_ISREG(now.st_mode) &&
                static_cast<std::uint64_t>(now.st_size) >= note->size &&
                static_cast<std::uint64_t>(now.st_size) <= note->size + note->bytes.size() &&
                !addAt(file.get(), note->size, note->bytes))
                return;  // the note stays for the next holder
        }
    }
    ::unlink(notePath.c_str());
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
        const std::optional<std::uint64_t> before = size();
        if (!before) return false;
        const std::string notePath = folderOf(path_) + "/" + kNoteName;
        bool added = false;
        {
            UniqueFd note(retryInterrupted(
                [&] { return ::open(notePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600); }));
            added = note && writeAll(note.get(), noteText(baseNameOf(path_), *before, bytes)) &&
                    retryInterrupted([&] { return ::fsync(note.get()); }) == 0;
        }
        // A full disk or a failed sync: the file gets its old size back, so
        // what the caller keeps to add again is not there twice.
        if (added && !addAt(file_.get(), *before, bytes)) {
            added = false;
            if (::ftruncate(file_.get(), static_cast<off_t>(*before)) != 0) return false;  // the note mends it
        }
        ::unlink(notePath.c_str());
        return added;
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
    const std::string folder = folderOf(path);
    UniqueFd lock = lockedFolder(folder);
    if (!lock) return nullptr;
    completeLeftAddition(folder);
    bool created = false;
    UniqueFd file = openRegularForUpdate(path, &created);
    // A new file's name is put on disk before anything is added to it, so
    // that a failure there is told before there is anything to add again.
    if (!file || (created && !syncFolder(folder))) return nullptr;
    return std::make_unique<NativeSharedFile>(path, std::move(lock), std::move(file));
}

}  // namespace listora
