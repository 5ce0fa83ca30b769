#pragma once
// Every file under the folders a repair searches, listed once by the
// gathering's walk and kept compactly (a million files take about 70 bytes
// each): by file name, to find where a missing file went, and by full path,
// to tell a row whose file is there without asking the file system.

#include "core/paths/path_rules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace listora {

class FileSystem;
class RepairTicker;

class FileIndex {
public:
    using FileId = std::uint32_t;

    // Walks the folders breadth first (a folder inside another one given is
    // walked once). With `ignoreCase`, names are compared with their case
    // folded, folder names too. Nothing when the ticker said stop.
    static std::optional<FileIndex> build(FileSystem& fs, const PathRules& rules,
                                          const std::vector<std::string>& folders, bool ignoreCase,
                                          RepairTicker& ticker);

    std::size_t size() const { return files_.size(); }
    std::string_view name(FileId file) const {
        return {names_.data() + files_[file].nameOffset, files_[file].nameSize};
    }
    std::string path(FileId file) const;

    // The files of this name, in the order of the walk.
    std::vector<FileId> named(std::string_view name) const;
    // The name of the folder the file is in.
    std::string_view ownFolderName(FileId file) const { return folderName(files_[file].folder); }
    // A name as the index compares names: folded when case is ignored.
    std::string nameKey(std::string_view name) const;
    // How many folders, from the file's own upward, have the names that
    // `folders` lists from the last upward (stopping at the folder searched).
    std::size_t trailingFoldersInCommon(FileId file, const std::vector<std::string_view>& folders) const;
    // Whether a file was found at exactly this path.
    bool holds(std::string_view path) const;

private:
    FileIndex(const PathRules& rules, bool ignoreCase) : rules_(rules), ignoreCase_(ignoreCase) {}

    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    struct Folder {
        std::uint32_t parent;  // kNone for a folder searched, whose name is its path
        std::uint32_t nameSize;
        std::uint64_t nameOffset;
    };
    struct File {
        std::uint64_t nameOffset;
        std::uint32_t nameSize;
        std::uint32_t folder;
    };

    std::string_view folderText(std::uint32_t folder) const {
        return {folderNames_.data() + folders_[folder].nameOffset, folders_[folder].nameSize};
    }
    std::string_view folderName(std::uint32_t folder) const;
    bool sameName(std::string_view a, std::string_view b) const;
    std::uint32_t nameHash(std::string_view name) const;
    bool pathIs(FileId file, std::string_view path) const;
    void addFolder(std::uint32_t parent, std::string_view name);
    void addFile(std::uint32_t folder, std::string_view name, std::uint64_t pathHash);
    void buildTables();

    PathRules rules_;
    bool ignoreCase_;
    std::vector<Folder> folders_;
    std::string folderNames_;
    std::vector<File> files_;
    std::string names_;
    std::vector<std::uint32_t> nameHashes_;
    std::vector<std::uint64_t> pathHashes_;
    std::vector<FileId> nextSameName_;
    std::vector<FileId> nameSlots_;
    std::vector<FileId> pathSlots_;
    mutable std::string foldA_;
    mutable std::string foldB_;
};

}  // namespace listora
