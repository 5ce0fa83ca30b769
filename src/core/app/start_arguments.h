#pragma once
// What `listora` is started with: files and folders to gather as if they
// were dropped on the window, in that order, or a request for the usage or
// the version, answered without a window.

#include <string>
#include <unordered_set>
#include <vector>

namespace listora {

class PathRules;

struct StartArguments {
    enum class Action { Run, Help, Version, Bad };
    Action action = Action::Run;
    std::vector<std::string> paths;  // absolute, in the system code page
    // Those of the paths named ".m3u", ".m3u8", ".pls" or ".xspf" in any case: read as
    // playlists (GatherPorts::playlistsByName).
    std::unordered_set<std::string> playlists;
    std::string badOption;
};

// `args` without the program's name, as the file system names them; a
// relative path is taken against `startFolder`. "--" ends the options, so a
// file named "-x.m3u" can follow it.
StartArguments parseStartArguments(const std::vector<std::string>& args, const std::string& startFolder,
                                   const PathRules& rules);

// The texts of --help and of --version.
std::string startUsageText();
std::string versionText();

}  // namespace listora
