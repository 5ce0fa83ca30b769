#pragma once
// The file operations the core needs, behind one port so that a test can
// make any of them fail. Paths are byte strings in the system code page.

#include <optional>
#include <string>
#include <string_view>

namespace listora {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole file, or nothing when it cannot be opened or read (missing,
    // a folder, no permission).
    virtual std::optional<std::string> readWholeFile(const std::string& path) = 0;
    // Creates or replaces the file atomically: the old file stays intact
    // unless the new contents are completely in place. False on failure.
    virtual bool writeWholeFile(const std::string& path, std::string_view bytes) = 0;
    virtual bool exists(const std::string& path) = 0;
    // True only for an existing file (a link counts as what it points to).
    virtual bool isFile(const std::string& path) = 0;
    // Makes one folder; its parent must exist.
    virtual bool createFolder(const std::string& path) = 0;

    // Moves a file, also to another file system. Never replaces a file at
    // the target, also when one appears meanwhile; on failure the source
    // stays and no part of the file is left at the target. A link is moved
    // as the link itself.
    virtual bool moveFile(const std::string& source, const std::string& target) = 0;
    // Copies what the source names (through a link) with its permission bits
    // and times. Never replaces a file at the target and never leaves a
    // partial one.
    virtual bool copyFile(const std::string& source, const std::string& target) = 0;

    virtual std::string currentDirectory() = 0;
    virtual bool setCurrentDirectory(const std::string& path) = 0;
};

// Reads the file or throws "ファイル %s は開けません".
std::string readFileOrThrow(FileSystem& fs, const std::string& path);
// Writes the bytes or throws "ファイル %s を作成できません".
void writeFileOrThrow(FileSystem& fs, const std::string& path, std::string_view bytes);

}  // namespace listora
