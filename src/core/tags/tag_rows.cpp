#include "core/tags/tag_rows.h"

#include "core/paths/path_rules.h"
#include "core/playlist/length_text.h"
#include "core/playlist/main_list.h"

#include <algorithm>
#include <cctype>

namespace listora {
namespace {

// A title is written into an #EXTINF line, so a line break inside a tag
// would split the playlist's line in two; control bytes become spaces.
// No byte below 0x20 is part of a longer character in UTF-8 or CP932.
std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    return text;
}

}  // namespace

std::vector<std::size_t> selectedOrAllFileRows(const MainList& list) {
    const std::vector<PlaylistEntry>& rows = list.rows();
    const bool anySelected =
        std::any_of(rows.begin(), rows.end(), [](const PlaylistEntry& row) { return row.selected; });
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if ((rows[i].selected || !anySelected) && !isAddress(rows[i].fullPath())) chosen.push_back(i);
    return chosen;
}

std::vector<std::size_t> fileRowsFrom(const MainList& list, std::size_t first, bool unknownLengthOnly) {
    std::vector<std::size_t> chosen;
    for (std::size_t i = first; i < list.count(); ++i) {
        const PlaylistEntry& row = list.at(i);
        if (unknownLengthOnly && row.lengthText() != kUnknownText) continue;
        if (!isAddress(row.fullPath())) chosen.push_back(i);
    }
    return chosen;
}

void fillRowFromTag(PlaylistEntry& row, const TagInfo& tag, const PathRules& rules) {
    if (!tag.title.empty()) {
        row.setTitle(oneLine(tag.artist.empty() ? tag.title : tag.artist + " - " + tag.title));
    } else if (row.title() == kUnknownText) {
        // A name that is all extension (".mp3") keeps its whole name.
        const std::string_view name = row.fileName();
        const std::string_view stem = name.substr(0, name.size() - rules.extension(name).size());
        row.setTitle(oneLine(std::string(stem.empty() ? name : stem)));
    }
    row.setLengthText(FormatLengthText(tag.seconds));
}

}  // namespace listora
