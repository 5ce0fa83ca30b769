#include "playlist/m3u_writer.h"

#include "platform/file_system.h"
#include "platform/path_rules.h"
#include "platform/text_lines.h"
#include "playlist/length_text.h"
#include "playlist/main_list.h"

namespace listora {

std::vector<std::string> SaveList(const MainList& list, int pathMode, std::string_view path, const PathRules& rules) {
    std::vector<std::string> lines;
    lines.reserve(list.count() * 2 + 1);
    lines.emplace_back("#EXTM3U");
    const std::string baseFolder = rules.folder(path);
    for (const PlaylistEntry& row : list.rows()) {
        if (row.lengthText != kUnknownText) {
            lines.push_back("#EXTINF:" + LengthTextToSeconds(row.lengthText) + "," + row.title);
            lines.push_back(row.fullPath);
        } else if (pathMode == kAbsolutePaths) {
            lines.push_back(row.fullPath);
        } else {
            lines.push_back(rules.relativeTo(row.fullPath, baseFolder));
        }
    }
    return lines;
}

void writePlaylistLines(FileSystem& fs, const std::string& path, const std::vector<std::string>& lines) {
    writeFileOrThrow(fs, path, joinLinesCrlf(lines));
}

}  // namespace listora
