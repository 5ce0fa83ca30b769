#pragma once
// The search window's rule: which rows a search selects.

#include "core/text/codepage.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace listora {

class MainList;

// The column searched, in the order the window offers them.
enum class SearchPosition { Title = 0, Length = 1, FileName = 2, FullPath = 3 };
enum class LengthComparison { AtLeast = 0, AtMost = 1 };

struct SearchSettings {
    SearchPosition position = SearchPosition::Title;
    std::string text;  // in the system code page
    int minutes = 0;   // 0 to 60, as the window's number boxes hold them
    int seconds = 0;
    LengthComparison comparison = LengthComparison::AtLeast;
    bool caseSensitive = false;
    bool refine = false;
};

// What a minutes or seconds box holds once it loses the focus: the typed
// whole number set to the nearest of 0 and 60, and 0 for text that is no
// number.
int clampedTimeValue(std::string_view typed);

// Selects the rows that match, in one change of the list's selection, and
// returns the number of hits. Without refine every other row is unselected;
// with it a row stays selected only when it was and matches. An empty text
// examines no row (0 hits), except for a length search. Text positions test
// for a run of bytes, so a match may begin on the second byte of a CP932
// character; without case sensitivity both sides are folded first. A length
// that is unknown ("---") or a bare number (a negative #EXTINF length such as
// "-1") never matches. Check marks are never changed.
std::size_t searchRows(MainList& list, const SearchSettings& settings, CodePage cp);

}  // namespace listora
