#pragma once
// An old folder replaced by a new one in every row's path: the music moved
// to another disk, a folder was renamed, a playlist came from Windows.

#include "core/paths/path_rules.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace listora {

class MainList;

struct FolderReplacement {
    std::string from;
    std::string to;
};

// The folder as the playlist reader makes a line of a playlist in
// `playlistFolder` into a path, so that "C:\Music\" typed by the user
// matches what the reader made of the line "C:\Music\a.mp3".
std::string folderAsPlaylistLine(std::string_view folder, std::string_view playlistFolder, const PathRules& rules);

// The path with `from` replaced by `to` when it lies inside `from`, compared
// as the comparison compares paths; one trailing separator of either folder
// is dropped, so /music and /music/ give the same target, and /music never
// matches /musical. Nothing otherwise.
std::optional<std::string> replacedPath(std::string_view path, const FolderReplacement& replacement,
                                        const PathRules& rules);

// Every row whose path lies inside `from` (an address never does) gets `to`
// instead, its file name kept; title, length, marks stay. How many changed.
std::size_t replaceFolder(MainList& list, const FolderReplacement& replacement, const PathRules& rules);

}  // namespace listora
