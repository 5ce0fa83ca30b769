#pragma once
// Reading M3U playlists with #EXTINF lines: into rows, and into the main
// list as the Open command does.

#include "platform/errors.h"
#include "playlist/playlist_entry.h"

#include <optional>
#include <string>
#include <vector>

namespace listora {

class FileSystem;
class MainList;
class PathRules;
class Prompts;
class ReadProgress;

struct PlaylistReaderPorts {
    FileSystem& fs;
    Prompts& prompts;
    const PathRules& rules;
    // Told how far a long read of the rows has come; none is told nothing.
    ReadProgress* progress = nullptr;
};

// What to do with a file whose first line is not "#EXTM3U": ask whether it
// should be read, or read it as if the answer had been yes.
enum class HeaderPolicy { Ask, Force };

struct PlaylistRead {
    // The entries in file order; after a bad line, those before it; after a
    // file that could not be opened or read to its end, none.
    std::vector<PlaylistEntry> rows;
    // The header was missing and the user would not have the file read.
    bool refused = false;
    // What ended the read early.
    std::optional<ListoraError> error;
};

// Reads the playlist's entries. Relative paths after an #EXTINF line are
// taken against the playlist's folder, which becomes the current directory.
// Rows whose path has no file name are kept; hasFileName tells them.
PlaylistRead readPlaylist(const PlaylistReaderPorts& ports, const std::string& path, HeaderPolicy header);

bool hasFileName(const PlaylistEntry& row);

// Appends the playlist's entries to the list (never clears it), drops the
// rows without a file name from the whole list and makes `path` the current
// playlist file. A file without the #EXTM3U header is read only when the
// user says so. Errors are thrown as ListoraError; the rows read before a
// bad line stay in the list.
void LoadToFile(MainList& list, std::string& currentPlaylistFile, const PlaylistReaderPorts& ports,
                const std::string& path);

}  // namespace listora
