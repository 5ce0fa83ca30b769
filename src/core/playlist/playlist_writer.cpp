#include "core/playlist/playlist_writer.h"

#include "core/files/file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/address.h"
#include "core/playlist/main_list.h"
#include "core/playlist/playlist_folder.h"

namespace listora {
namespace {
constexpr std::size_t kPiece = 1 << 20;
}

PathMode pathModeOfFilter(int filterIndex) { return filterIndex % 2 == 1 ? PathMode::Absolute : PathMode::Relative; }

PlaylistWriter::PlaylistWriter(ByteSink& out) : out_(out) { piece_.reserve(kPiece + 4096); }

void PlaylistWriter::handOverIfFull() {
    if (piece_.size() < kPiece) return;
    out_.write(piece_);
    piece_.clear();
}

void PlaylistWriter::finish() {
    out_.write(piece_);
    piece_.clear();
}

std::unique_ptr<PlaylistWriter> makePlaylistWriter(PlaylistFormat format, PathMode pathMode,
                                                   std::string_view baseFolder, const PathRules& rules, ByteSink& out) {
    switch (format) {
        case PlaylistFormat::Pls:
            return makePlsWriter(pathMode, baseFolder, rules, out);
        case PlaylistFormat::Xspf:
            return makeXspfWriter(pathMode, baseFolder, rules, out);
        case PlaylistFormat::M3u:
        case PlaylistFormat::M3u8:
            break;
    }
    return makeM3uWriter(pathMode, baseFolder, rules, out, format == PlaylistFormat::M3u8);
}

std::string_view writtenPath(const PlaylistEntry& row, PathMode pathMode, std::string_view baseFolder,
                             const PathRules& rules, std::string& storage) {
    if (pathMode == PathMode::Absolute || isAddress(row.fullPath())) return row.fullPath();
    storage = rules.relativeTo(row.fullPath(), baseFolder);
    // A relative path that begins like an address ("ab://x.mp3", from a
    // line that kept its "//") would read back as one; "./" keeps it a path.
    if (isAddress(storage)) storage.insert(0, std::string(".") + rules.separator());
    return storage;
}

namespace {

void writeRows(const MainList& list, PathMode pathMode, std::string_view path, std::string_view baseFolder,
               const PathRules& rules, ByteSink& out) {
    const std::unique_ptr<PlaylistWriter> writer =
        makePlaylistWriter(formatOfPath(path), pathMode, baseFolder, rules, out);
    for (const PlaylistEntry& row : list.rows()) writer->add(row);
    writer->finish();
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
