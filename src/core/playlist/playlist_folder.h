#pragma once
// The folder a playlist's relative paths are taken against.

#include <string>

namespace listora {

class FileSystem;
class PathRules;

// The playlist's own folder; for a stream such as standard input or
// output, which has none, the current folder.
std::string playlistFolder(FileSystem& fs, const std::string& path, const PathRules& rules);

}  // namespace listora
