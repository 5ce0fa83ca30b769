#include "core/playlist/playlist_parser.h"

namespace listora {

std::unique_ptr<PlaylistParser> makePlaylistParser(PlaylistFormat format, const ParsedPlaylist& playlist) {
    return format == PlaylistFormat::Xspf ? makeXspfParser(playlist) : makePlsParser(playlist);
}

}  // namespace listora
