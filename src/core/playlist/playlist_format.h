#pragma once
// Which kind of playlist a file is, told by its name's extension.

#include <string_view>

namespace listora {

// M3U in the system's code page; M3U in UTF-8 (".m3u8"), whatever the code
// page; PLS; XSPF.
enum class PlaylistFormat { M3u, M3u8, Pls, Xspf };

// By the extension in any case; any other name is M3U.
PlaylistFormat formatOfPath(std::string_view path);

// The name ends in ".m3u", ".m3u8", ".pls" or ".xspf" in any case.
bool hasPlaylistExtension(std::string_view path);

}  // namespace listora
