#pragma once
// The real file system with faults put in where a test asks: the Nth call of
// an operation fails, a file read or written in pieces is cut after N bytes,
// a folder's listing breaks off. Everything else passes through.

#include "core/native/native_file_system.h"

#include <array>
#include <cstddef>
#include <string>

namespace listora::test {

enum class FsOperation {
    ReadWholeFile,
    OpenForReading,
    WriteWholeFile,
    Exists,
    IsFile,
    CreateFolder,
    EntrySize,
    ListFolder,
    MoveFile,
    CopyFile,
    DeleteFile,
    SetCurrentDirectory,
    SyncToDisk,
};

class FaultyFileSystem : public NativeFileSystem {
public:
    // The nth call of the operation from now on, counted from 1, fails as
    // the port reports a failure (nothing, false, CannotOpen); 0 fails none.
    void failCall(FsOperation operation, int nth);
    // The stream of the nth opening for reading from now on gives its first
    // `bytes` bytes, then fails.
    void cutStream(int nthOpening, std::size_t bytes);
    // The nth write in pieces from now on breaks off after `bytes` bytes,
    // as a full disk would, and reports a failure.
    void cutWrite(int nthWrite, std::size_t bytes);
    // Listing the folder gives its first `kept` entries, then breaks off.
    void breakListing(const std::string& folder, std::size_t kept);

    // Calls of the operation so far.
    int calls(FsOperation operation) const { return calls_[index(operation)]; }

    std::optional<std::string> readWholeFile(const std::string& path) override;
    std::unique_ptr<ByteStream> openForReading(const std::string& path) override;
    bool writeWholeFile(const std::string& path, std::string_view bytes) override;
    // Counted and failed as a whole-file write.
    bool writeFileInPieces(const std::string& path, const std::function<void(ByteSink&)>& produce) override;
    bool exists(const std::string& path) override;
    bool isFile(const std::string& path) override;
    bool createFolder(const std::string& path) override;
    std::optional<std::uint64_t> entrySize(const std::string& path) override;
    Listing listFolder(const std::string& path, std::vector<FolderEntry>& entries) override;
    bool moveFile(const std::string& source, const std::string& target) override;
    bool copyFile(const std::string& source, const std::string& target) override;
    bool deleteFile(const std::string& path) override;
    bool setCurrentDirectory(const std::string& path) override;
    bool syncToDisk(const std::string& folder) override;

private:
    static constexpr std::size_t kOperations = static_cast<std::size_t>(FsOperation::SyncToDisk) + 1;
    static std::size_t index(FsOperation operation) { return static_cast<std::size_t>(operation); }
    // Counts the call; true when it is the one to fail.
    bool failsNow(FsOperation operation);

    std::array<int, kOperations> calls_{};
    std::array<int, kOperations> failingCall_{};
    int cutOpening_ = 0;
    std::size_t cutAfter_ = 0;
    int cutWrite_ = 0;
    std::size_t cutWriteAfter_ = 0;
    std::string brokenFolder_;
    std::size_t keptEntries_ = 0;
};

}  // namespace listora::test
