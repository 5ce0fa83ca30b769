#include "playlist/m3u_writer.h"

#include "platform/file_system.h"
#include "platform/path_rules.h"
#include "platform/text_lines.h"
#include "playlist/length_text.h"
#include "playlist/main_list.h"

namespace listora {

PathMode pathModeOfFilter(int filterIndex) { return filterIndex == 1 ? PathMode::Absolute : PathMode::Relative; }

void SaveList(const MainList& list, PathMode pathMode, std::string_view path, const PathRules& rules, ByteSink& out) {
    constexpr std::size_t kPiece = 1 << 20;
    std::string piece;
    piece.reserve(kPiece + 4096);
    appendLine(piece, "#EXTM3U");
    const std::string baseFolder = rules.folder(path);
    for (const PlaylistEntry& row : list.rows()) {
        if (row.lengthText() != kUnknownText) {
            piece += "#EXTINF:";
            piece += LengthTextToSeconds(row.lengthText());
            piece += ',';
            appendLine(piece, row.title());
            appendLine(piece, row.fullPath());
        } else if (pathMode == PathMode::Absolute) {
            appendLine(piece, row.fullPath());
        } else {
            appendLine(piece, rules.relativeTo(row.fullPath(), baseFolder));
        }
        if (piece.size() >= kPiece) {
            out.write(piece);
            piece.clear();
        }
    }
    out.write(piece);
}

void writePlaylist(FileSystem& fs, const MainList& list, PathMode pathMode, const std::string& path,
                   const PathRules& rules) {
    writeFileInPiecesOrThrow(fs, path, [&](ByteSink& out) { SaveList(list, pathMode, path, rules, out); });
}

}  // namespace listora
