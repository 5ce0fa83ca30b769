#pragma once
// Writing rows as a playlist: M3U, PLS or XSPF, told by the file's name.

#include "core/playlist/playlist_format.h"

#include <memory>
#include <string>
#include <string_view>

namespace listora {

class ByteSink;
class FileSystem;
class MainList;
class PathRules;
class PlaylistEntry;

// Absolute or relative paths. The values are the Save dialog's filter
// indices, so that a dialog's answer picks the mode.
enum class PathMode { Absolute = 1, Relative = 2 };

// The mode of the Save dialog's filter: each format has an absolute filter
// and then a relative one, so odd filters are absolute and even relative.
PathMode pathModeOfFilter(int filterIndex);

// Writes rows as a playlist's text, the header first, then each row as it
// is added. The text is handed to `out` in pieces of about a mebibyte, so
// that it is never held whole.
class PlaylistWriter {
public:
    virtual ~PlaylistWriter() = default;
    PlaylistWriter(const PlaylistWriter&) = delete;
    PlaylistWriter& operator=(const PlaylistWriter&) = delete;

    virtual void add(const PlaylistEntry& row) = 0;
    // Ends the text and hands over the last piece.
    virtual void finish();

protected:
    explicit PlaylistWriter(ByteSink& out);
    // The text not yet handed over; handOverIfFull after each row.
    std::string& text() { return piece_; }
    void handOverIfFull();

private:
    ByteSink& out_;
    std::string piece_;
};

// The writer of `format`; relative paths are taken to `baseFolder`, the
// playlist's folder. An address is always written as it was read.
//
// M3U is written in the system's code page (UTF-8 for ".m3u8"), each line
// followed by CR LF. Rows with a known length are written with their stored
// full path in both modes, as the program has always written them; the
// others get a relative path unless `pathMode` is absolute.
// PLS is written in the system's code page; XSPF in UTF-8, its locations
// "file://" URIs or relative URI references. Both write every row's path in
// the mode asked.
std::unique_ptr<PlaylistWriter> makePlaylistWriter(PlaylistFormat format, PathMode pathMode,
                                                   std::string_view baseFolder, const PathRules& rules, ByteSink& out);

// The path a row is written with in `pathMode`: its full path, or a
// relative one made in `storage`.
std::string_view writtenPath(const PlaylistEntry& row, PathMode pathMode, std::string_view baseFolder,
                             const PathRules& rules, std::string& storage);

// The playlist of every row of the list, in the format of the file `path`.
void SaveList(const MainList& list, PathMode pathMode, std::string_view path, const PathRules& rules, ByteSink& out);

// SaveList into the file `path`, which is created or replaced atomically
// (a stream is written to; its relative paths are the current folder's);
// throws "ファイル %s を作成できません" when it cannot be written.
void writePlaylist(FileSystem& fs, const MainList& list, PathMode pathMode, const std::string& path,
                   const PathRules& rules);

std::unique_ptr<PlaylistWriter> makeM3uWriter(PathMode pathMode, std::string_view baseFolder, const PathRules& rules,
                                              ByteSink& out, bool utf8);
std::unique_ptr<PlaylistWriter> makePlsWriter(PathMode pathMode, std::string_view baseFolder, const PathRules& rules,
                                              ByteSink& out);
std::unique_ptr<PlaylistWriter> makeXspfWriter(PathMode pathMode, std::string_view baseFolder, const PathRules& rules,
                                               ByteSink& out);

}  // namespace listora
