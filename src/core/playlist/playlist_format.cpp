#include "core/playlist/playlist_format.h"

#include "core/text/ascii_text.h"

namespace listora {

PlaylistFormat formatOfPath(std::string_view path) {
    if (endsWithIgnoringAsciiCase(path, ".m3u8")) return PlaylistFormat::M3u8;
    if (endsWithIgnoringAsciiCase(path, ".pls")) return PlaylistFormat::Pls;
    if (endsWithIgnoringAsciiCase(path, ".xspf")) return PlaylistFormat::Xspf;
    return PlaylistFormat::M3u;
}

bool hasPlaylistExtension(std::string_view path) {
    return formatOfPath(path) != PlaylistFormat::M3u || endsWithIgnoringAsciiCase(path, ".m3u");
}

}  // namespace listora
