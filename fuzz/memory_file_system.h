#pragma once
// Files held in memory for the fuzz targets: a file read in pieces comes in
// reads of the sizes the input chose, and may break off after a chosen
// number of them, as a network share or a failing disk hands out a file.

#include "core/files/file_system.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace listora::fuzz {

class MemoryFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    // The sizes of successive reads of a stream, used in turn; each at least 1.
    std::vector<std::size_t> pieces{1 << 20};
    // Reads of a stream that succeed before one fails; none: no failure.
    std::optional<std::size_t> breakAfter;
    std::string cwd = "/";

    std::optional<std::string> readWholeFile(const std::string& path) override;
    std::unique_ptr<ByteStream> openForReading(const std::string& path) override;
    bool writeWholeFile(const std::string& path, std::string_view bytes) override;
    bool writeFileInPieces(const std::string& path, const std::function<void(ByteSink&)>& produce) override;
    // One program at a time: the lock holds no one back.
    std::unique_ptr<SharedFile> openShared(const std::string& path) override;
    bool syncToDisk(const std::string&) override { return true; }
    bool exists(const std::string& path) override { return files.count(path) || folders.count(path); }
    bool isFile(const std::string& path) override { return files.count(path) != 0; }
    bool createFolder(const std::string& path) override { return folders.insert(path).second; }
    // Not used by the targets: nothing is listed, moved, copied or deleted.
    std::optional<std::uint64_t> entrySize(const std::string&) override { return std::nullopt; }
    Listing listFolder(const std::string&, std::vector<FolderEntry>&) override { return Listing::CannotOpen; }
    bool moveFile(const std::string&, const std::string&) override { return false; }
    bool copyFile(const std::string&, const std::string&) override { return false; }
    bool deleteFile(const std::string&) override { return false; }
    std::string currentDirectory() override { return cwd; }
    bool setCurrentDirectory(const std::string& path) override {
        cwd = path;
        return true;
    }
};

}  // namespace listora::fuzz
