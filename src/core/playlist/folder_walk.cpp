#include "core/playlist/folder_walk.h"

#include "core/paths/path_rules.h"

namespace listora {

bool cannotBeWalked(std::string_view name) {
    return name.empty() || name.find_first_of("\r\n") != std::string_view::npos;
}

std::string joinedPath(std::string_view folder, std::string_view name, char separator) {
    std::string path(folder);
    if (path.empty() || path.back() != separator) path += separator;
    path += name;
    return path;
}

Listing walkFolder(FileSystem& fs, const PathRules& rules, const std::string& folder, std::vector<FolderEntry>& entries,
                   std::deque<std::string>& queue, std::size_t& leftOut,
                   const std::function<void(const FolderEntry&)>& visit) {
    const Listing listing = fs.listFolder(folder, entries);
    const char separator = rules.separator();
    for (const FolderEntry& entry : entries) {
        if (cannotBeWalked(entry.name)) {
            ++leftOut;
            continue;
        }
        visit(entry);
        if (entry.plainFolder) {
            queue.push_back(joinedPath(folder, entry.name, separator));
        } else if (rules.extension(entry.name).empty()) {
            // Not a plain folder, no extension and empty: queued as a
            // folder; as a file it lists nothing later.
            std::string full = joinedPath(folder, entry.name, separator);
            const std::optional<std::uint64_t> size = fs.entrySize(full);
            if (size && *size == 0) queue.push_back(std::move(full));
        }
    }
    return listing;
}

}  // namespace listora
