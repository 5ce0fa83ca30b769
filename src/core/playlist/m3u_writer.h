#pragma once
// Writing the main list as an M3U playlist.

#include "core/playlist/playlist_format.h"

#include <string>
#include <string_view>

namespace listora {

class ByteSink;
class FileSystem;
class MainList;
class PathRules;
class PlaylistEntry;

// Absolute or relative paths for the rows without a known length. The values
// are the Save dialog's filter indices, so that a dialog's answer picks the
// mode.
enum class PathMode { Absolute = 1, Relative = 2 };

// The mode of the Save dialog's filter: the first absolute, any other relative.
PathMode pathModeOfFilter(int filterIndex);

// Writes rows as a playlist's lines, each followed by CR LF: the header
// first, then each row as it is added. Rows with a known length are written
// with their stored full path in both modes; the others get a path relative
// to `baseFolder`, the playlist's folder, unless `pathMode` is absolute. The text is handed
// to `out` in pieces of about a mebibyte, so that it is never held whole.
// A ".m3u8" playlist is written in UTF-8 whatever the system's code page.
class PlaylistWriter {
public:
    PlaylistWriter(PathMode pathMode, std::string_view baseFolder, const PathRules& rules, ByteSink& out,
                   PlaylistFormat format = PlaylistFormat::M3u);
    void add(const PlaylistEntry& row);
    // Hands over the last piece.
    void finish();

private:
    // Adds a line of the system's code page in the file's own.
    void line(std::string_view text);

    PathMode pathMode_;
    const PathRules& rules_;
    bool toUtf8_;
    ByteSink& out_;
    std::string baseFolder_;
    std::string piece_;
};

// The playlist of every row of the list, through a PlaylistWriter, for the
// file `path`.
void SaveList(const MainList& list, PathMode pathMode, std::string_view path, const PathRules& rules, ByteSink& out);

// SaveList into the file `path`, which is created or replaced atomically
// (a stream is written to; its relative paths are the current folder's);
// throws "ファイル %s を作成できません" when it cannot be written.
void writePlaylist(FileSystem& fs, const MainList& list, PathMode pathMode, const std::string& path,
                   const PathRules& rules);

}  // namespace listora
