#include "core/player/play_entry.h"

#include "core/files/file_system.h"
#include "core/playlist/address.h"
#include "core/playlist/main_list.h"
#include "core/ports/prompts.h"
#include "core/text/codepage.h"

#include <algorithm>

namespace listora {

std::optional<std::string> entryToPlay(const MainList& list, FileSystem& fs, Prompts& prompts) {
    const auto& rows = list.rows();
    const auto first = std::find_if(rows.begin(), rows.end(), [](const PlaylistEntry& row) { return row.selected; });
    if (first == rows.end()) return std::nullopt;
    std::string path(first->fullPath());
    // An address goes to the media back end as it is; only a file is looked for.
    if (!isAddress(path) && !fs.isFile(path)) {
        prompts.information(systemText("指定ファイルが見つかりません"));
        return std::nullopt;
    }
    return path;
}

}  // namespace listora
