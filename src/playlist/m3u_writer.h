#pragma once
// Writing the main list as an M3U playlist.

#include <string>
#include <string_view>

namespace listora {

class ByteSink;
class FileSystem;
class MainList;
class PathRules;

// Absolute or relative paths for the rows without a known length. The values
// are the Save dialog's filter indices, so that a dialog's answer picks the
// mode.
enum class PathMode { Absolute = 1, Relative = 2 };

// The mode of the Save dialog's filter: the first absolute, any other relative.
PathMode pathModeOfFilter(int filterIndex);

// The playlist for every row, each line followed by CR LF, handed to `out`
// in pieces of about a mebibyte, so that the whole text is never held beside
// the rows. Rows with a known length are written with their stored full path
// in both modes; the others get a path relative to the folder of `path`
// unless `pathMode` is absolute.
void SaveList(const MainList& list, PathMode pathMode, std::string_view path, const PathRules& rules, ByteSink& out);

// SaveList into the file `path`, which is created or replaced atomically;
// throws "ファイル %s を作成できません" when it cannot be written.
void writePlaylist(FileSystem& fs, const MainList& list, PathMode pathMode, const std::string& path,
                   const PathRules& rules);

}  // namespace listora
