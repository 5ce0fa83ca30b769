#pragma once
// One folder's turn in a breadth-first walk of folders, shared by gathering
// and the index of files that repairs broken entries search: the same
// folders are gone down into and the same names are left out.

#include "core/files/file_system.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace listora {

class PathRules;

// A name holding a line break could be written neither as a playlist line
// nor as a log line, and an empty one stands for a name the program's code
// page cannot hold (it would reach another file on the way back), so such
// files and folders are left out.
bool cannotBeWalked(std::string_view name);

// The folder's path and a name in it, with one separator between ("/" and
// "a" give "/a", not "//a").
std::string joinedPath(std::string_view folder, std::string_view name, char separator);

// Lists `folder` and hands every entry to `visit`, but those left out (each
// counted in `leftOut`). Plain folders, and entries that are not plain
// folders but have no extension and are empty, are queued at the end of
// `queue` to be walked later; links to folders and hidden folders are not.
Listing walkFolder(FileSystem& fs, const PathRules& rules, const std::string& folder, std::vector<FolderEntry>& entries,
                   std::deque<std::string>& queue, std::size_t& leftOut,
                   const std::function<void(const FolderEntry&)>& visit);

}  // namespace listora
