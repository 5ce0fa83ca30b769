#include "core/search/search_rule.h"

#include "core/playlist/length_text.h"
#include "core/playlist/main_list.h"
#include "core/text/byte_finder.h"
#include "core/text/case_fold.h"

#include <optional>

namespace listora {
namespace {

// "m:ss" as seconds: the minutes before the first ":", the at most two
// characters after it as seconds. Nothing for "---" and for a bare number.
std::optional<long long> lengthSeconds(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::optional<int> minutes = parseInteger(text.substr(0, colon));
    const std::optional<int> seconds = parseInteger(text.substr(colon + 1, 2));
    if (!minutes || !seconds) return std::nullopt;
    return static_cast<long long>(*minutes) * 60 + *seconds;
}

std::string_view searchedText(const PlaylistEntry& row, SearchPosition position) {
    switch (position) {
        case SearchPosition::FileName:
            return row.fileName();
        case SearchPosition::FullPath:
            return row.fullPath();
        default:
            return row.title();
    }
}

}  // namespace

int clampedTimeValue(std::string_view typed) {
    if (const std::optional<int> value = parseInteger(typed)) return std::clamp(*value, 0, 60);
    // A whole number too long for an int is still a number beyond a bound.
    std::string_view digits = typed.substr(std::min(typed.find_first_not_of(' '), typed.size()));
    const bool negative = digits.starts_with('-');
    if (negative || digits.starts_with('+')) digits.remove_prefix(1);
    const bool number = !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
    return number && !negative ? 60 : 0;
}

std::size_t searchRows(MainList& list, const SearchSettings& settings, CodePage cp) {
    const bool byLength = settings.position == SearchPosition::Length;
    std::size_t hits = 0;
    const auto select = [&](bool matches, const PlaylistEntry& row) {
        const bool selected = matches && (!settings.refine || row.selected);
        hits += selected ? 1 : 0;
        return selected;
    };

    if (!byLength && settings.text.empty()) {
        if (!settings.refine) list.updateSelection([](const PlaylistEntry&) { return false; });
        return 0;
    }
    if (byLength) {
        const long long searched = static_cast<long long>(settings.minutes) * 60 + settings.seconds;
        const bool atLeast = settings.comparison == LengthComparison::AtLeast;
        list.updateSelection([&](const PlaylistEntry& row) {
            const std::optional<long long> length = lengthSeconds(row.lengthText());
            return select(length && (atLeast ? *length >= searched : *length <= searched), row);
        });
        return hits;
    }
    if (settings.caseSensitive) {
        const ByteFinder finder(settings.text);
        list.updateSelection(
            [&](const PlaylistEntry& row) { return select(finder.in(searchedText(row, settings.position)), row); });
        return hits;
    }
    std::string buffer;
    const ByteFinder finder(foldCase(settings.text, cp, buffer));
    list.updateSelection([&](const PlaylistEntry& row) {
        return select(finder.in(foldCase(searchedText(row, settings.position), cp, buffer)), row);
    });
    return hits;
}

}  // namespace listora
