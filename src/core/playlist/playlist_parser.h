#pragma once
// The playlist formats whose rows are known only once a group of keys or an
// element has ended (PLS, XSPF): a parser takes the file's bytes as they
// come and gives its rows at the end, so that a file broken anywhere gives
// none.

#include "core/playlist/playlist_entry.h"
#include "core/playlist/playlist_format.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace listora {

class PathRules;

class PlaylistParser {
public:
    virtual ~PlaylistParser() = default;
    // The next bytes of the file. A breach of the format is thrown as
    // malformedPlaylistError, naming where it stands.
    virtual void feed(std::string_view bytes) = 0;
    // The end of the file: the rows in the playlist's order.
    virtual std::vector<PlaylistEntry> finish() = 0;
    // Of the rows given, those without a file name, and those of them left
    // so because a text did not convert from the file's code page.
    virtual std::size_t nameless() const = 0;
    virtual std::size_t unconvertible() const = 0;
};

// What a parser needs: the playlist's name for its messages and its folder,
// as an absolute path, for relative paths.
struct ParsedPlaylist {
    const PathRules& rules;
    std::string path;
    std::string base;
};

// The parser of a PLS or XSPF playlist.
std::unique_ptr<PlaylistParser> makePlaylistParser(PlaylistFormat format, const ParsedPlaylist& playlist);

std::unique_ptr<PlaylistParser> makePlsParser(const ParsedPlaylist& playlist);
std::unique_ptr<PlaylistParser> makeXspfParser(const ParsedPlaylist& playlist);

}  // namespace listora
