#include "core/search/playlist_comparison.h"

#include "core/files/file_system.h"
#include "core/playlist/m3u_reader.h"
#include "core/playlist/main_list.h"
#include "core/ports/prompts.h"
#include "core/search/path_index.h"
#include "core/text/codepage.h"

#include <string_view>

namespace listora {
namespace {

// Keeps, in order, the rows whose flag is set.
void keepFlagged(std::vector<PlaylistEntry>& rows, const std::vector<bool>& keep) {
    std::size_t i = 0;
    std::erase_if(rows, [&](const PlaylistEntry&) { return !keep[i++]; });
}

// Reads a playlist as the main list's reader does, without asking about a
// missing header and without touching the current playlist file.
void readInto(std::vector<PlaylistEntry>& buffer, const ComparisonPorts& ports, const std::string& path) {
    PlaylistRead read = readPlaylist({ports.fs, ports.prompts, ports.rules}, path, HeaderPolicy::Force);
    buffer = std::move(read.rows);
    if (read.error) throw *read.error;
    std::erase_if(buffer, [](const PlaylistEntry& row) { return !hasFileName(row); });
}

}  // namespace

// The walks of A against B, from A's last entry to its first, come to this
// once each path stands at most once in each list: a path both have leaves
// both lists (difference, only in A) or is what stays of A (common). So
// every row is decided by its own path, first against its own list's
// earlier rows, then against the other list, and each list is compacted
// once.
bool compareEntries(std::vector<PlaylistEntry>& a, std::vector<PlaylistEntry>& b, ComparisonMethod method) {
    PathIndex inA(a);
    std::vector<bool> keepA(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) keepA[i] = inA.insert(i);
    if (method == ComparisonMethod::Common && b.empty()) {
        keepFlagged(a, keepA);
        return false;
    }
    PathIndex inB(b);
    std::vector<bool> keepB(b.size());
    for (std::size_t j = 0; j < b.size(); ++j) keepB[j] = inB.insert(j);
    const bool keepShared = method == ComparisonMethod::Common;
    for (std::size_t i = 0; i < a.size(); ++i)
        keepA[i] = keepA[i] && inB.contains(inA.hashOfRow(i), a[i].fullPath()) == keepShared;
    if (method == ComparisonMethod::Difference) {
        for (std::size_t j = 0; j < b.size(); ++j)
            keepB[j] = keepB[j] && !inA.contains(inB.hashOfRow(j), b[j].fullPath());
        keepFlagged(b, keepB);
    } else {
        b.clear();
    }
    keepFlagged(a, keepA);
    return true;
}

std::vector<PlaylistEntry> comparisonRows(const std::vector<PlaylistEntry>& a, std::vector<PlaylistEntry>&& b) {
    std::vector<PlaylistEntry> rows;
    rows.reserve(a.size() + b.size());
    rows.insert(rows.end(), a.begin(), a.end());
    rows.insert(rows.end(), std::make_move_iterator(b.rbegin()), std::make_move_iterator(b.rend()));
    b.clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].checked = i < a.size();
        rows[i].selected = false;
    }
    return rows;
}

ComparisonOutcome ComparePlaylists(const ComparisonLists& lists, const ComparisonPorts& ports, const std::string& pathA,
                                   const std::string& pathB, ComparisonMethod method) {
    if (pathA.empty() || pathB.empty() || !ports.fs.isFile(pathA) || !ports.fs.isFile(pathB)) {
        ports.prompts.information(systemText("プレイリストを選択してください"));
        return ComparisonOutcome::NotChosen;
    }
    lists.list.clear();
    lists.cutBuffer.clear();
    lists.compareBuffer.clear();
    readInto(lists.compareBuffer, ports, pathA);
    lists.cutBuffer = std::move(lists.compareBuffer);
    lists.compareBuffer.clear();
    readInto(lists.compareBuffer, ports, pathB);

    CutBuffer& a = lists.cutBuffer;
    std::vector<PlaylistEntry>& b = lists.compareBuffer;
    if (!compareEntries(a, b, method)) return ComparisonOutcome::NothingToDo;

    std::vector<PlaylistEntry> rows = comparisonRows(a, std::move(b));
    const std::size_t checked = a.size();
    lists.list.appendAll(std::move(rows));
    std::size_t row = 0;
    lists.list.updateChecks([&](const PlaylistEntry&) { return row++ < checked; });
    lists.currentPlaylistFile.clear();
    return ComparisonOutcome::Result;
}

}  // namespace listora
