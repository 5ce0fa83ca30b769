#include "core/playlist/playlist_line.h"

#include "core/text/codepage.h"

namespace listora {

std::string_view pathOfPlaylistLine(const PathRules& rules, std::string_view line, std::string& storage) {
    const CodePage cp = rules.codePage();
    if (rules.style() == PathStyle::Windows || findFirstChar(line, '/', cp) != std::string_view::npos ||
        findFirstChar(line, '\\', cp) == std::string_view::npos)
        return line;
    storage = replaceChar(line, '\\', '/', cp);
    return storage;
}

}  // namespace listora
