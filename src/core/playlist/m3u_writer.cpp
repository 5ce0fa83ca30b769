#include "core/playlist/m3u_writer.h"

#include "core/files/file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/address.h"
#include "core/playlist/length_text.h"
#include "core/playlist/main_list.h"
#include "core/playlist/playlist_folder.h"
#include "core/text/codepage.h"
#include "core/text/text_lines.h"

namespace listora {

PathMode pathModeOfFilter(int filterIndex) { return filterIndex == 1 ? PathMode::Absolute : PathMode::Relative; }

namespace {
constexpr std::size_t kPiece = 1 << 20;
}

PlaylistWriter::PlaylistWriter(PathMode pathMode, std::string_view baseFolder, const PathRules& rules, ByteSink& out,
                               PlaylistFormat format)
    : pathMode_(pathMode),
      rules_(rules),
      toUtf8_(format == PlaylistFormat::M3u8 && rules.codePage() != CodePage::Utf8),
      out_(out),
      baseFolder_(baseFolder) {
    piece_.reserve(kPiece + 4096);
    appendLine(piece_, "#EXTM3U");
}

void PlaylistWriter::add(const PlaylistEntry& row) {
    if (row.lengthText() != kUnknownText) {
        piece_ += "#EXTINF:";
        piece_ += LengthTextToSeconds(row.lengthText());
        piece_ += ',';
        line(row.title());
        line(row.fullPath());
    } else if (pathMode_ == PathMode::Absolute || isAddress(row.fullPath())) {
        // An address is written as it was read, never made relative.
        line(row.fullPath());
    } else {
        line(rules_.relativeTo(row.fullPath(), baseFolder_));
    }
    if (piece_.size() >= kPiece) {
        out_.write(piece_);
        piece_.clear();
    }
}

void PlaylistWriter::line(std::string_view text) {
    if (toUtf8_)
        appendLine(piece_, codePageToUtf8(text, rules_.codePage()));
    else
        appendLine(piece_, text);
}

void PlaylistWriter::finish() {
    out_.write(piece_);
    piece_.clear();
}

namespace {

void writeRows(const MainList& list, PathMode pathMode, std::string_view path, std::string_view baseFolder,
               const PathRules& rules, ByteSink& out) {
    PlaylistWriter writer(pathMode, baseFolder, rules, out, formatOfPath(path));
    for (const PlaylistEntry& row : list.rows()) writer.add(row);
    writer.finish();
}

}  // namespace

void SaveList(const MainList& list, PathMode pathMode, std::string_view path, const PathRules& rules, ByteSink& out) {
    writeRows(list, pathMode, path, rules.folder(path), rules, out);
}

void writePlaylist(FileSystem& fs, const MainList& list, PathMode pathMode, const std::string& path,
                   const PathRules& rules) {
    const std::string folder = playlistFolder(fs, path, rules);
    writeFileInPiecesOrThrow(fs, path, [&](ByteSink& out) { writeRows(list, pathMode, path, folder, rules, out); });
}

}  // namespace listora
