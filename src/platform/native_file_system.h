#pragma once

#include "platform/file_system.h"

namespace listora {

// The real file system through POSIX calls. The current directory is kept
// as the path that was entered, not the one getcwd() resolves links into,
// so paths made absolute against it read as the user wrote them.
class NativeFileSystem : public FileSystem {
public:
    std::optional<std::string> readWholeFile(const std::string& path) override;
    std::unique_ptr<ByteStream> openForReading(const std::string& path) override;
    bool writeWholeFile(const std::string& path, std::string_view bytes) override;
    bool exists(const std::string& path) override;
    bool isFile(const std::string& path) override;
    bool createFolder(const std::string& path) override;
    std::optional<std::uint64_t> entrySize(const std::string& path) override;
    Listing listFolder(const std::string& path, std::vector<FolderEntry>& entries) override;
    bool moveFile(const std::string& source, const std::string& target) override;
    bool copyFile(const std::string& source, const std::string& target) override;
    bool deleteFile(const std::string& path) override;
    std::string currentDirectory() override;
    bool setCurrentDirectory(const std::string& path) override;
};

}  // namespace listora
