#include "playlist/m3u_writer.h"

#include "platform/path_rules.h"
#include "platform/text_lines.h"
#include "playlist/length_text.h"
#include "playlist/main_list.h"

namespace listora {

PathMode pathModeOfFilter(int filterIndex) { return filterIndex == 1 ? PathMode::Absolute : PathMode::Relative; }

std::string SaveList(const MainList& list, PathMode pathMode, std::string_view path, const PathRules& rules) {
    std::size_t size = 9;
    for (const PlaylistEntry& row : list.rows()) size += row.fullPath.size() + row.title.size() + 24;
    std::string out;
    out.reserve(size);
    appendLine(out, "#EXTM3U");
    const std::string baseFolder = rules.folder(path);
    for (const PlaylistEntry& row : list.rows()) {
        if (row.lengthText != kUnknownText) {
            out += "#EXTINF:";
            out += LengthTextToSeconds(row.lengthText);
            out += ',';
            appendLine(out, row.title);
            appendLine(out, row.fullPath);
        } else if (pathMode == PathMode::Absolute) {
            appendLine(out, row.fullPath);
        } else {
            appendLine(out, rules.relativeTo(row.fullPath, baseFolder));
        }
    }
    return out;
}

}  // namespace listora
