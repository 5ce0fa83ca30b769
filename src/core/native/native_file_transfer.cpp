#include "core/native/native_file_transfer.h"

#include "core/native/pending_file.h"
#include "core/native/posix_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace listora {
namespace {

// The status a file had when its copy began, to tell afterwards whether it
// is still the same file with the same contents.
bool unchanged(const struct stat& before, const struct stat& now) {
    return before.st_dev == now.st_dev && before.st_ino == now.st_ino && before.st_size == now.st_size &&
           before.st_mtim.tv_sec == now.st_mtim.tv_sec && before.st_mtim.tv_nsec == now.st_mtim.tv_nsec;
}

// Copies an open regular file's contents, permission bits and times to a
// new file at target. For a move the file also keeps its owner where the
// system lets it (as root; as mv does, silently otherwise), and the data is
// on disk before the file gets its name, as the move needs before it
// removes the source.
bool copyOpenFile(int from, const struct stat& info, const std::string& target, bool moving) {
    PendingFile pending(folderOf(target));
    if (!pending.ok()) return false;
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    if (!copyContents(from, pending.fd())) return false;
    // Before the mode: a change of owner clears the set-user-ID bits.
    if (moving && ::fchown(pending.fd(), info.st_uid, info.st_gid) != 0) (void)::fchown(pending.fd(), -1, info.st_gid);
    return ::fchmod(pending.fd(), info.st_mode & 07777) == 0 && ::futimens(pending.fd(), times) == 0 &&
           (!moving || retryInterrupted([&] { return ::fsync(pending.fd()); }) == 0) && pending.publishNew(target);
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

// Across file systems: the file is copied and in place, its name on disk
// too, before the source goes. The source goes only while it is still the
// file that was copied, unchanged; otherwise (replaced or written to
// meanwhile) the copy goes instead and the source stays.
bool moveAcrossFileSystems(const std::string& source, const std::string& target, const std::function<void()>& copied) {
    struct stat entry {};
    if (::lstat(source.c_str(), &entry) != 0) return false;
    if (S_ISLNK(entry.st_mode)) {
        if (!recreateLink(source, target)) return false;
    } else {
        struct stat info {};
        UniqueFd from = openRegularFile(source, false, &info);
        if (!from || !copyOpenFile(from.get(), info, target, true)) return false;
        if (copied) copied();
        struct stat after {};
        struct stat named {};
        if (::fstat(from.get(), &after) != 0 || !unchanged(info, after) || ::lstat(source.c_str(), &named) != 0 ||
            !unchanged(info, named)) {
            ::unlink(target.c_str());
            return false;
        }
    }
    if (syncFolder(folderOf(target)) && ::unlink(source.c_str()) == 0) return true;
    ::unlink(target.c_str());
    return false;
}

}  // namespace

bool moveFileNoReplace(const std::string& source, const std::string& target, const std::function<void()>& copied) {
    // Files and links move; a folder named by a row is no music file, and
    // moving it would carry a whole tree along.
    struct stat entry {};
    if (::lstat(source.c_str(), &entry) != 0) return false;
    if (!S_ISREG(entry.st_mode) && !S_ISLNK(entry.st_mode)) {
        errno = S_ISDIR(entry.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    if (retryInterrupted(
            [&] { return ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE); }) == 0)
        return true;
    if (errno == EXDEV) return moveAcrossFileSystems(source, target, copied);
    if (errno != EINVAL && errno != ENOSYS) return false;
    // The file system cannot rename without replacing. A hard link refuses
    // an existing target just as well; the source name then goes.
    if (retryInterrupted([&] { return ::link(source.c_str(), target.c_str()); }) == 0) {
        if (::unlink(source.c_str()) == 0) return true;
        ::unlink(target.c_str());
        return false;
    }
    if (errno == EXDEV) return moveAcrossFileSystems(source, target, copied);
    return false;
}

bool copyFileNoReplace(const std::string& source, const std::string& target) {
    struct stat info {};
    const UniqueFd from = openRegularFile(source, true, &info);
    return from && copyOpenFile(from.get(), info, target, false);
}

}  // namespace listora
