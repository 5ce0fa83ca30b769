#pragma once
// Reading M3U playlists with #EXTINF lines: into rows, and into the main
// list as the Open command does.

#include "core/errors/errors.h"
#include "core/playlist/playlist_entry.h"

#include <functional>
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
    // Rows without a file name among the rows.
    std::size_t nameless = 0;
    // Of those, the rows of a UTF-8 playlist whose lines the code page
    // cannot hold.
    std::size_t unconvertible = 0;
};

// How a read that hands its rows on as it goes ended.
struct PlaylistPass {
    bool refused = false;
    std::optional<ListoraError> error;
    std::size_t nameless = 0;       // rows handed on without a file name
    std::size_t unconvertible = 0;  // of those, rows whose lines did not convert
};

// Takes the rows read so far; it may move them out of the vector or leave
// them, and what it leaves it is given again.
using RowsTaker = std::function<void(std::vector<PlaylistEntry>& rows)>;

// Reads the playlist's entries. Relative paths after an #EXTINF line are
// taken against the playlist's folder, which becomes the current directory.
// Rows whose path has no file name are kept; hasFileName tells them.
PlaylistRead readPlaylist(const PlaylistReaderPorts& ports, const std::string& path, HeaderPolicy header);

// The same read, handing the rows to `take` a piece of the file (about a
// mebibyte) at a time, for a caller that does not keep them all, such as a
// conversion; the rows before a bad line are handed over before the error
// is reported. After a CannotOpen error, which readPlaylist answers with no
// rows, the rows handed over count for nothing.
PlaylistPass readPlaylistInPieces(const PlaylistReaderPorts& ports, const std::string& path, HeaderPolicy header,
                                  const RowsTaker& take);

bool hasFileName(const PlaylistEntry& row);

// "N個のファイルは名前に扱えない文字があるため追加しませんでした".
std::string leftOutNamesText(std::size_t count);

// Appends the playlist's entries to the list (never clears it), drops the
// rows without a file name from the whole list and makes `path` the current
// playlist file; rows whose names the code page cannot hold are counted as
// gathering counts them. A file without the #EXTM3U header is read only when the
// user says so. Errors are thrown as ListoraError; the rows read before a
// bad line stay in the list.
void LoadToFile(MainList& list, std::string& currentPlaylistFile, const PlaylistReaderPorts& ports,
                const std::string& path);

}  // namespace listora
