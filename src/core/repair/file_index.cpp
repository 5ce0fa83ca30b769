#include "core/repair/file_index.h"

#include "core/files/file_system.h"
#include "core/playlist/folder_walk.h"
#include "core/repair/repair_progress.h"
#include "core/text/case_fold.h"

#include <algorithm>
#include <deque>
#include <functional>

namespace listora {
namespace {

// FNV-1a, fed a piece at a time: a folder's path once, then each name in it.
constexpr std::uint64_t kFnvStart = 14695981039346656037ull;
std::uint64_t fnv(std::uint64_t hash, std::string_view bytes) {
    for (const char byte : bytes) hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    return hash;
}

std::size_t tableSizeFor(std::size_t count) {
    std::size_t size = 16;
    while (size < count * 2) size *= 2;
    return size;
}

// The folders given, each without its trailing separators ("/" stays), in
// order, leaving out one given before and one inside another given: their
// files would otherwise be indexed twice and every name found twice.
std::vector<std::string> searchedFolders(const std::vector<std::string>& folders, const PathRules& rules) {
    const char separator = rules.separator();
    std::vector<std::string> kept;
    const auto inside = [&](const std::string& folder, const std::string& outer) {
        if (folder == outer) return true;
        const std::string prefix = outer.back() == separator ? outer : outer + separator;
        return folder.starts_with(prefix);
    };
    for (std::string folder : folders) {
        while (folder.size() > 1 && folder.back() == separator) folder.pop_back();
        if (folder.empty()) continue;
        if (std::any_of(kept.begin(), kept.end(), [&](const std::string& outer) { return inside(folder, outer); }))
            continue;
        std::erase_if(kept, [&](const std::string& inner) { return inside(inner, folder); });
        kept.push_back(std::move(folder));
    }
    return kept;
}

}  // namespace

std::optional<FileIndex> FileIndex::build(FileSystem& fs, const PathRules& rules,
                                          const std::vector<std::string>& folders, bool ignoreCase,
                                          RepairTicker& ticker) {
    FileIndex index(rules, ignoreCase);
    const char separator = rules.separator();
    std::deque<std::string> queue;
    for (std::string& folder : searchedFolders(folders, rules)) {
        index.addFolder(kNone, folder);
        queue.push_back(std::move(folder));
    }
    std::vector<FolderEntry> entries;
    std::size_t leftOut = 0;
    // Folders are numbered as they are queued, which is the order in which
    // they are taken out again.
    for (std::uint32_t folder = 0; !queue.empty(); ++folder) {
        const std::string path = std::move(queue.front());
        queue.pop_front();
        const std::uint64_t folderHash = fnv(kFnvStart, joinedPath(path, "", separator));
        const std::size_t queuedBefore = queue.size();
        walkFolder(fs, rules, path, entries, queue, leftOut, [&](const FolderEntry& entry) {
            if (!entry.plainFolder) index.addFile(folder, entry.name, fnv(folderHash, entry.name));
        });
        for (std::size_t i = queuedBefore; i < queue.size(); ++i) index.addFolder(folder, rules.fileName(queue[i]));
        // A folder that cannot be listed, or only in part, gives what it gave.
        if (!ticker.carryOn({index.size(), 0, 0})) return std::nullopt;
    }
    index.buildTables();
    return index;
}

void FileIndex::addFolder(std::uint32_t parent, std::string_view name) {
    folders_.push_back({parent, static_cast<std::uint32_t>(name.size()), folderNames_.size()});
    folderNames_ += name;
}

void FileIndex::addFile(std::uint32_t folder, std::string_view name, std::uint64_t pathHash) {
    files_.push_back({names_.size(), static_cast<std::uint32_t>(name.size()), folder});
    names_ += name;
    pathHashes_.push_back(pathHash);
}

// Each name's files form a chain from its slot, in the order of the walk;
// every file has a slot of its own by full path.
void FileIndex::buildTables() {
    const std::size_t count = files_.size();
    const std::size_t mask = tableSizeFor(count) - 1;
    nameHashes_.resize(count);
    nextSameName_.assign(count, kNone);
    nameSlots_.assign(mask + 1, kNone);
    pathSlots_.assign(mask + 1, kNone);
    for (std::size_t i = count; i-- > 0;) {
        const auto file = static_cast<FileId>(i);
        nameHashes_[i] = nameHash(name(file));
        for (std::size_t slot = nameHashes_[i] & mask;; slot = (slot + 1) & mask) {
            const FileId held = nameSlots_[slot];
            if (held == kNone || (nameHashes_[held] == nameHashes_[i] && sameName(name(held), name(file)))) {
                nextSameName_[i] = held;
                nameSlots_[slot] = file;
                break;
            }
        }
        std::size_t slot = pathHashes_[i] & mask;
        while (pathSlots_[slot] != kNone) slot = (slot + 1) & mask;
        pathSlots_[slot] = file;
    }
}

std::string FileIndex::path(FileId file) const {
    std::vector<std::string_view> parts{name(file)};
    std::uint32_t folder = files_[file].folder;
    for (; folders_[folder].parent != kNone; folder = folders_[folder].parent) parts.push_back(folderText(folder));
    std::string path(folderText(folder));
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) path = joinedPath(path, *part, rules_.separator());
    return path;
}

std::string_view FileIndex::folderName(std::uint32_t folder) const {
    return folders_[folder].parent == kNone ? rules_.fileName(folderText(folder)) : folderText(folder);
}

bool FileIndex::sameName(std::string_view a, std::string_view b) const {
    if (!ignoreCase_) return a == b;
    return foldCase(a, rules_.codePage(), foldA_) == foldCase(b, rules_.codePage(), foldB_);
}

std::string FileIndex::nameKey(std::string_view name) const {
    return std::string(ignoreCase_ ? foldCase(name, rules_.codePage(), foldA_) : name);
}

std::uint32_t FileIndex::nameHash(std::string_view name) const {
    const std::string_view key = ignoreCase_ ? foldCase(name, rules_.codePage(), foldA_) : name;
    return static_cast<std::uint32_t>(fnv(kFnvStart, key));
}

std::vector<FileIndex::FileId> FileIndex::named(std::string_view wanted) const {
    std::vector<FileId> found;
    if (files_.empty()) return found;
    const std::uint32_t hash = nameHash(wanted);
    const std::size_t mask = nameSlots_.size() - 1;
    for (std::size_t slot = hash & mask; nameSlots_[slot] != kNone; slot = (slot + 1) & mask) {
        const FileId head = nameSlots_[slot];
        if (nameHashes_[head] != hash || !sameName(name(head), wanted)) continue;
        for (FileId file = head; file != kNone; file = nextSameName_[file]) found.push_back(file);
        break;
    }
    return found;
}

std::size_t FileIndex::trailingFoldersInCommon(FileId file, const std::vector<std::string_view>& folders) const {
    std::size_t common = 0;
    for (std::uint32_t folder = files_[file].folder; common < folders.size(); folder = folders_[folder].parent) {
        if (!sameName(folderName(folder), folders[common])) break;
        ++common;
        if (folders_[folder].parent == kNone) break;
    }
    return common;
}

bool FileIndex::holds(std::string_view wanted) const {
    if (files_.empty()) return false;
    const std::uint64_t hash = fnv(kFnvStart, wanted);
    const std::size_t mask = pathSlots_.size() - 1;
    for (std::size_t slot = hash & mask; pathSlots_[slot] != kNone; slot = (slot + 1) & mask)
        if (pathHashes_[pathSlots_[slot]] == hash && pathIs(pathSlots_[slot], wanted)) return true;
    return false;
}

// Compared from the end, a folder's name at a time, without making the path.
bool FileIndex::pathIs(FileId file, std::string_view wanted) const {
    const char separator = rules_.separator();
    const auto takeEnd = [&](std::string_view part) {
        if (!wanted.ends_with(part)) return false;
        wanted.remove_suffix(part.size());
        return true;
    };
    if (!takeEnd(name(file))) return false;
    std::uint32_t folder = files_[file].folder;
    for (; folders_[folder].parent != kNone; folder = folders_[folder].parent)
        if (!wanted.ends_with(separator) || !(wanted.remove_suffix(1), takeEnd(folderText(folder)))) return false;
    return wanted == joinedPath(folderText(folder), "", separator);
}

}  // namespace listora
