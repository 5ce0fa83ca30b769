#pragma once
// Comparing two playlists by their entries' full paths: the entries only
// one of them has, those both have, or those only the first has.

#include "core/playlist/playlist_entry.h"
#include "core/search/selection_commands.h"

#include <string>
#include <vector>

namespace listora {

class FileSystem;
class MainList;
class PathRules;
class Prompts;

// In the order the comparison window offers them.
enum class ComparisonMethod { Difference = 0, Common = 1, OnlyInA = 2 };

// Compares A and B as the comparison window does. First, of the entries
// of one list that share a full path (byte for byte, case counts), the first
// stays and every later one goes. Then `a` keeps the result's entries from A
// in A's order: those whose path B lacks (difference, only in A) or has
// (common); `b` keeps, for the difference, the entries whose path A lacks,
// and is emptied otherwise. The common method with an empty B only removes
// A's repeats and gives false.
bool compareEntries(std::vector<PlaylistEntry>& a, std::vector<PlaylistEntry>& b, ComparisonMethod method);

// The main list's rows for a result: A's entries checked, in order, then
// B's, moved, from last to first, unchecked.
std::vector<PlaylistEntry> comparisonRows(const std::vector<PlaylistEntry>& a, std::vector<PlaylistEntry>&& b);

struct ComparisonPorts {
    FileSystem& fs;
    Prompts& prompts;
    const PathRules& rules;
};

// What the comparison works on: the main list and its current playlist
// file, the cut buffer (which holds playlist A) and the compare buffer
// (playlist B).
struct ComparisonLists {
    MainList& list;
    std::string& currentPlaylistFile;
    CutBuffer& cutBuffer;
    std::vector<PlaylistEntry>& compareBuffer;
};

enum class ComparisonOutcome {
    NotChosen,    // a name was empty or no existing file; nothing changed
    NothingToDo,  // the common method met an empty B; the main list is empty
    Result,       // the main list holds the result; the window closes
};

// "検出": checks that both names are existing files ("プレイリストを選択して
// ください" otherwise), empties the three lists, reads A and B (a file
// without the header is read without asking), and fills the main list with
// the result, leaving no current playlist file. A playlist that cannot be
// read is thrown as its ListoraError, the main list left empty.
ComparisonOutcome ComparePlaylists(const ComparisonLists& lists, const ComparisonPorts& ports, const std::string& pathA,
                                   const std::string& pathB, ComparisonMethod method);

}  // namespace listora
