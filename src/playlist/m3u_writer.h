#pragma once
// Writing the main list as an M3U playlist.

#include <string>
#include <string_view>
#include <vector>

namespace listora {

class FileSystem;
class MainList;
class PathRules;

enum PathMode : int { kAbsolutePaths = 1, kRelativePaths = 2 };

// The lines of a playlist for every row. Rows with a known length are
// written with their stored full path in both modes; the others get a path
// relative to the folder of `path` unless `pathMode` is absolute (1).
std::vector<std::string> SaveList(const MainList& list, int pathMode, std::string_view path, const PathRules& rules);

// Writes lines with CR LF to `path`, atomically; throws
// "ファイル %s を作成できません" when it cannot.
void writePlaylistLines(FileSystem& fs, const std::string& path, const std::vector<std::string>& lines);

}  // namespace listora
