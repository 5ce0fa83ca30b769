#pragma once
// The file operations the core needs, behind one port so that a test can
// make any of them fail. Paths are byte strings in the system code page.

#include "core/text/byte_stream.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace listora {

// One entry of a folder listing.
struct FolderEntry {
    // Empty for a name the program's code page cannot hold.
    std::string name;
    // A real folder that is neither a link nor hidden (a name starting with
    // "."): the only kind a walk goes down into.
    bool plainFolder = false;
};

enum class Listing { Complete, CannotOpen, BrokenOff };

// A file that several programs add to, each holding the same lock while it
// has the file open: what one adds, the other reads before it adds.
class SharedFile {
public:
    virtual ~SharedFile() = default;
    virtual std::optional<std::uint64_t> size() = 0;
    // Up to `size` bytes from `offset` on: 0 at the end, nothing on a failure.
    virtual std::optional<std::size_t> readAt(std::uint64_t offset, char* buffer, std::size_t size) = 0;
    // Adds the bytes at the end and puts them on disk: all of them, or on a
    // failure none (the file is cut back to its old size). A crash in the
    // middle leaves a note from which the next opening of a file in that
    // folder completes the addition, so no part of it is ever left.
    virtual bool append(std::string_view bytes) = 0;
    // Replaces the whole file atomically, as writeWholeFile does.
    virtual bool replace(std::string_view bytes) = 0;
};

// Where the bytes of a file being written go, a piece at a time.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(std::string_view bytes) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole file, or nothing when it cannot be opened or read (missing,
    // a folder, no permission).
    virtual std::optional<std::string> readWholeFile(const std::string& path) = 0;
    // The same files as readWholeFile, for reading in pieces; nothing when
    // the file cannot be opened.
    virtual std::unique_ptr<ByteStream> openForReading(const std::string& path) = 0;
    // Creates or replaces the file atomically: the old file stays intact
    // unless the new contents are completely in place. False on failure.
    // A target that is a stream (a FIFO, a device, a stream the program was
    // started with) is written to as it stands, never replaced.
    virtual bool writeWholeFile(const std::string& path, std::string_view bytes) = 0;
    // True for a name of a stream the program was started with, such as
    // "/dev/stdin" or "/dev/stdout": it is read and written as it is open,
    // and a playlist read from or written to it has the current folder as
    // its own.
    virtual bool namesOpenStream(const std::string&) { return false; }
    // Opens a regular file, made when missing, under the lock of its folder,
    // held until the object goes; waits a few seconds at most for another
    // holder. Nothing when it cannot.
    virtual std::unique_ptr<SharedFile> openShared(const std::string& path) = 0;
    // Everything written so far to the file system holding `folder` is put
    // on disk.
    virtual bool syncToDisk(const std::string& folder) = 0;
    // The same, with the bytes that `produce` hands to the sink in pieces,
    // so that a large file is never held whole in memory. A write that fails
    // makes the sink drop what follows; the result is then false. When
    // `produce` throws, nothing is written (to a stream: what went before
    // stays written) and the exception goes on.
    virtual bool writeFileInPieces(const std::string& path, const std::function<void(ByteSink&)>& produce) = 0;
    virtual bool exists(const std::string& path) = 0;
    // True only for an existing file (a link counts as what it points to).
    virtual bool isFile(const std::string& path) = 0;
    // Makes one folder; its parent must exist.
    virtual bool createFolder(const std::string& path) = 0;

    // The size of the entry itself, not of what a link points to; a folder
    // counts 0. Nothing when there is no such entry.
    virtual std::optional<std::uint64_t> entrySize(const std::string& path) = 0;
    // The entries of a folder except "." and "..", in name order (letters
    // compared without case, as Windows lists them) so that a walk does not
    // depend on a file system's hash order. BrokenOff: the listing failed
    // part way and `entries` holds what was read before.
    virtual Listing listFolder(const std::string& path, std::vector<FolderEntry>& entries) = 0;

    // Moves a file, also to another file system. Never replaces a file at
    // the target, also when one appears meanwhile; on failure the source
    // stays and no part of the file is left at the target. A link is moved
    // as the link itself; a folder or a device is not moved. On failure
    // errno says why, when the system said.
    virtual bool moveFile(const std::string& source, const std::string& target) = 0;
    // Copies what the source names (through a link) with its permission bits
    // and times. Never replaces a file at the target and never leaves a
    // partial one. On failure errno says why, when the system said.
    virtual bool copyFile(const std::string& source, const std::string& target) = 0;
    // Deletes a file or a link for good; never a folder.
    virtual bool deleteFile(const std::string& path) = 0;

    virtual std::string currentDirectory() = 0;
    virtual bool setCurrentDirectory(const std::string& path) = 0;
};

// Reads the file or throws "ファイル %s は開けません".
std::string readFileOrThrow(FileSystem& fs, const std::string& path);
// Writes the bytes or throws "ファイル %s を作成できません".
void writeFileOrThrow(FileSystem& fs, const std::string& path, std::string_view bytes);
void writeFileInPiecesOrThrow(FileSystem& fs, const std::string& path, const std::function<void(ByteSink&)>& produce);

}  // namespace listora
