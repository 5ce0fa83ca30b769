#include "search/playlist_comparison.h"

#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/prompts.h"
#include "playlist/m3u_reader.h"
#include "playlist/main_list.h"

#include <string_view>
#include <unordered_set>

namespace listora {
namespace {

using PathSet = std::unordered_set<std::string_view>;

PathSet pathsOf(const std::vector<PlaylistEntry>& rows) {
    PathSet paths;
    paths.reserve(rows.size());
    for (const PlaylistEntry& row : rows) paths.insert(row.fullPath);
    return paths;
}

// Keeps, in order, the rows whose flag is set. The flags are all decided
// before any row moves: the path sets hold views into the rows' texts.
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

void removeRepeatedPaths(std::vector<PlaylistEntry>& rows) {
    PathSet seen;
    seen.reserve(rows.size());
    std::vector<bool> first(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) first[i] = seen.insert(rows[i].fullPath).second;
    keepFlagged(rows, first);
}

// The walks of A against B, from A's last entry to its first, come to this
// once each path stands at most once in each list: a path both have leaves
// both lists (difference, only in A) or is what stays of A (common).
bool applyComparison(std::vector<PlaylistEntry>& a, std::vector<PlaylistEntry>& b, ComparisonMethod method) {
    if (method == ComparisonMethod::Common && b.empty()) return false;
    const bool keepShared = method == ComparisonMethod::Common;
    std::vector<bool> keepA(a.size());
    {
        const PathSet inB = pathsOf(b);
        for (std::size_t i = 0; i < a.size(); ++i) keepA[i] = (inB.count(a[i].fullPath) == 1) == keepShared;
    }
    if (method == ComparisonMethod::Difference) {
        std::vector<bool> keepB(b.size());
        const PathSet inA = pathsOf(a);
        for (std::size_t j = 0; j < b.size(); ++j) keepB[j] = inA.count(b[j].fullPath) == 0;
        keepFlagged(b, keepB);
    } else {
        b.clear();
    }
    keepFlagged(a, keepA);
    return true;
}

std::vector<PlaylistEntry> comparisonRows(const std::vector<PlaylistEntry>& a, const std::vector<PlaylistEntry>& b) {
    std::vector<PlaylistEntry> rows;
    rows.reserve(a.size() + b.size());
    rows.insert(rows.end(), a.begin(), a.end());
    rows.insert(rows.end(), b.rbegin(), b.rend());
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
    removeRepeatedPaths(a);
    removeRepeatedPaths(b);
    if (!applyComparison(a, b, method)) return ComparisonOutcome::NothingToDo;

    std::vector<PlaylistEntry> rows = comparisonRows(a, b);
    const std::size_t checked = a.size();
    lists.list.appendAll(std::move(rows));
    std::size_t row = 0;
    lists.list.updateChecks([&](const PlaylistEntry&) { return row++ < checked; });
    lists.currentPlaylistFile.clear();
    return ComparisonOutcome::Result;
}

}  // namespace listora
