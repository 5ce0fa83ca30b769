#pragma once
// Reading M3U playlists with #EXTINF lines into the main list.

#include <string>

namespace listora {

class FileSystem;
class MainList;
class PathRules;
class Prompts;

struct PlaylistReaderPorts {
    FileSystem& fs;
    Prompts& prompts;
    const PathRules& rules;
};

// Appends the playlist's entries to the list (never clears it) and makes
// `path` the current playlist file. A file without the #EXTM3U header is read
// only when the user says so. Errors are thrown as ListoraError; the rows
// read before the error stay in the list.
void LoadToFile(MainList& list, std::string& currentPlaylistFile, const PlaylistReaderPorts& ports,
                const std::string& path);

}  // namespace listora
