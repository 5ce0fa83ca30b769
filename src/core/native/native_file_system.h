#pragma once

#include "core/files/file_system.h"
#include "core/native/unique_fd.h"
#include "core/text/codepage.h"

namespace listora {

// The real file system through POSIX calls. The current directory is kept
// as the path that was entered, not the one getcwd() resolves links into,
// so paths made absolute against it read as the user wrote them. Paths come
// and go in the program's code page; the file system sees them in its own.
class NativeFileSystem : public FileSystem {
public:
    explicit NativeFileSystem(CodePage program = systemCodePage(), CodePage names = fileNameCodePage())
        : program_(program), names_(names) {}

    std::optional<std::string> readWholeFile(const std::string& path) override;
    std::unique_ptr<ByteStream> openForReading(const std::string& path) override;
    bool writeWholeFile(const std::string& path, std::string_view bytes) override;
    bool namesOpenStream(const std::string& path) override;
    std::unique_ptr<SharedFile> openShared(const std::string& path) override;
    bool syncToDisk(const std::string& folder) override;
    bool writeFileInPieces(const std::string& path, const std::function<void(ByteSink&)>& produce) override;
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

    // A regular file opened for reading, its name converted as for every
    // other call, for a library that reads through a descriptor; not open
    // when it cannot be.
    UniqueFd openRegularForReading(const std::string& path) const;

private:
    // A name that does not convert exactly becomes empty: every system call
    // then fails on it, instead of reaching a file of another name.
    std::string onDisk(const std::string& path) const {
        return convertCodePageExactly(path, program_, names_).value_or(std::string());
    }
    std::string fromDisk(const std::string& name) const {
        return convertCodePageExactly(name, names_, program_).value_or(std::string());
    }

    CodePage program_;
    CodePage names_;
};

}  // namespace listora
