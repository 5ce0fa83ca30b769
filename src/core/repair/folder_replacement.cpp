#include "core/repair/folder_replacement.h"

#include "core/playlist/address.h"
#include "core/playlist/main_list.h"
#include "core/playlist/playlist_line.h"

#include <optional>

namespace listora {
namespace {

std::string_view withoutTrailingSeparator(std::string_view folder, char separator) {
    if (!folder.empty() && folder.back() == separator) folder.remove_suffix(1);
    return folder;
}

}  // namespace

std::string folderAsPlaylistLine(std::string_view folder, std::string_view playlistFolder, const PathRules& rules) {
    std::string storage;
    return rules.makeAbsolute(pathOfPlaylistLine(rules, folder, storage), playlistFolder);
}

std::optional<std::string> replacedPath(std::string_view path, const FolderReplacement& replacement,
                                        const PathRules& rules) {
    const char separator = rules.separator();
    // The root "/" becomes "", so that its paths begin with it plus "/".
    const std::string_view from = withoutTrailingSeparator(replacement.from, separator);
    const std::string_view to = withoutTrailingSeparator(replacement.to, separator);
    if (replacement.from.empty() || isAddress(path) || path.size() <= from.size() + 1 || !path.starts_with(from) ||
        path[from.size()] != separator)
        return std::nullopt;
    return std::string(to) + std::string(path.substr(from.size()));
}

std::size_t replaceFolder(MainList& list, const FolderReplacement& replacement, const PathRules& rules) {
    std::size_t changed = 0;
    std::size_t first = MainList::npos;
    std::size_t last = 0;
    for (std::size_t row = 0; row < list.count(); ++row) {
        const std::optional<std::string> path = replacedPath(list.at(row).fullPath(), replacement, rules);
        if (!path) continue;
        PlaylistEntry& entry = list.editRow(row);
        entry.setPath(std::string(entry.fileName()), *path);
        ++changed;
        first = std::min(first, row);
        last = row;
    }
    if (changed > 0) list.rowsEdited(first, last);
    return changed;
}

}  // namespace listora
