#include "core/playlist/playlist_folder.h"

#include "core/files/file_system.h"
#include "core/paths/path_rules.h"

namespace listora {

std::string playlistFolder(FileSystem& fs, const std::string& path, const PathRules& rules) {
    return fs.namesOpenStream(path) ? fs.currentDirectory() : rules.folder(path);
}

}  // namespace listora
