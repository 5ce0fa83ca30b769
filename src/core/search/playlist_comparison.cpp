#include "core/search/playlist_comparison.h"

#include "core/files/file_system.h"
#include "core/playlist/m3u_reader.h"
#include "core/playlist/main_list.h"
#include "core/ports/prompts.h"
#include "core/text/codepage.h"

#include <functional>
#include <string_view>

namespace listora {
namespace {

// The rows of one list by full path, in one flat table: a million paths are
// hashed once each and looked up without a node per entry.
class PathIndex {
public:
    explicit PathIndex(const std::vector<PlaylistEntry>& rows) : rows_(rows), hashes_(rows.size()) {
        std::size_t capacity = 16;
        while (capacity < rows.size() * 2) capacity *= 2;
        slots_.assign(capacity, kEmpty);
        for (std::size_t i = 0; i < rows.size(); ++i) hashes_[i] = hashOf(rows[i].fullPath());
    }

    // Adds the row unless one with the same path is there; true when added.
    bool insert(std::size_t row) {
        for (std::size_t slot = hashes_[row] & (slots_.size() - 1);; slot = (slot + 1) & (slots_.size() - 1)) {
            if (slots_[slot] == kEmpty) {
                slots_[slot] = row;
                return true;
            }
            if (sameAs(slots_[slot], hashes_[row], rows_[row].fullPath())) return false;
        }
    }

    // Whether a row added holds this path, whose hash is given.
    bool contains(std::size_t hash, std::string_view path) const {
        for (std::size_t slot = hash & (slots_.size() - 1);; slot = (slot + 1) & (slots_.size() - 1)) {
            if (slots_[slot] == kEmpty) return false;
            if (sameAs(slots_[slot], hash, path)) return true;
        }
    }

    std::size_t hashOfRow(std::size_t row) const { return hashes_[row]; }

private:
    static constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);
    static std::size_t hashOf(std::string_view path) { return std::hash<std::string_view>{}(path); }
    bool sameAs(std::size_t row, std::size_t hash, std::string_view path) const {
        return hashes_[row] == hash && rows_[row].fullPath() == path;
    }

    const std::vector<PlaylistEntry>& rows_;
    std::vector<std::size_t> hashes_;
    std::vector<std::size_t> slots_;
};

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
