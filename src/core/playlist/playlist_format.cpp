#include "core/playlist/playlist_format.h"

#include <algorithm>

namespace listora {
namespace {

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size()) return false;
    return std::equal(ending.begin(), ending.end(), text.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [](char lower, char c) { return lower == (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
}

}  // namespace

PlaylistFormat formatOfPath(std::string_view path) {
    if (endsWithIgnoringCase(path, ".m3u8")) return PlaylistFormat::M3u8;
    if (endsWithIgnoringCase(path, ".pls")) return PlaylistFormat::Pls;
    if (endsWithIgnoringCase(path, ".xspf")) return PlaylistFormat::Xspf;
    return PlaylistFormat::M3u;
}

bool hasPlaylistExtension(std::string_view path) {
    return formatOfPath(path) != PlaylistFormat::M3u || endsWithIgnoringCase(path, ".m3u");
}

}  // namespace listora
