#pragma once
// Writing the main list as an M3U playlist.

#include <string>
#include <string_view>

namespace listora {

class MainList;
class PathRules;

enum PathMode : int { kAbsolutePaths = 1, kRelativePaths = 2 };

// The playlist for every row, each line followed by CR LF, ready to be
// written whole. Rows with a known length are written with their stored full
// path in both modes; the others get a path relative to the folder of `path`
// unless `pathMode` is absolute (1).
std::string SaveList(const MainList& list, int pathMode, std::string_view path, const PathRules& rules);

}  // namespace listora
