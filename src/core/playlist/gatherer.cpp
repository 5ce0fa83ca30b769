#include "core/playlist/gatherer.h"

#include "core/files/file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/folder_walk.h"
#include "core/playlist/m3u_reader.h"
#include "core/playlist/main_list.h"
#include "core/playlist/playlist_format.h"
#include "core/ports/prompts.h"
#include "core/ports/status_line.h"
#include "core/text/codepage.h"

#include <chrono>
#include <utility>
#include <vector>

namespace listora {
namespace {

// Rows found are handed to the list in batches, so the view takes one
// insertion per batch; a long walk shows its count now and then.
class RowSink {
public:
    RowSink(MainList& list, StatusLine& status) : list_(list), status_(status) {}
    ~RowSink() {
        if (shownProgress_) status_.show("");
    }

    void add(std::string fileName, std::string fullPath) {
        pending_.push_back({kUnknownText, kUnknownText, std::move(fileName), std::move(fullPath)});
        ++found_;
        if (pending_.size() >= 4096) flush();
        if ((found_ & 255) == 0) showProgress();
    }
    // Before a playlist's rows arrive, and at the end.
    void flush() { list_.appendAll(std::exchange(pending_, {})); }

    // Called now and then during a walk, also when nothing is found.
    void showProgress() {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastShown_ < std::chrono::milliseconds(200)) return;
        lastShown_ = now;
        shownProgress_ = true;
        status_.show(std::to_string(found_) + systemText("ファイルを追加"));
    }

private:
    MainList& list_;
    StatusLine& status_;
    std::vector<PlaylistEntry> pending_;
    std::size_t found_ = 0;
    std::chrono::steady_clock::time_point lastShown_ = std::chrono::steady_clock::now();
    bool shownProgress_ = false;
};

}  // namespace

bool isMusicFile(std::string_view name, const PathRules& rules) {
    const std::string extension = foldAsciiCase(rules.extension(name), rules.codePage());
    return extension.find("mp3") != std::string::npos || extension.find("wave") != std::string::npos;
}

bool isOtherMusicFile(std::string_view name, const PathRules& rules) {
    static constexpr std::string_view kTypes[] = {".flac", ".ogg", ".oga",  ".opus", ".m4a", ".aac",
                                                  ".wav",  ".wma", ".aiff", ".ape",  ".wv"};
    const std::string extension = foldAsciiCase(rules.extension(name), rules.codePage());
    return std::find(std::begin(kTypes), std::end(kTypes), extension) != std::end(kTypes);
}

bool isPlaylistFile(std::string_view name, const PathRules& rules) {
    const PlaylistFormat format = formatOfPath(name);
    return rules.extension(name).find("m3u") != std::string::npos || format == PlaylistFormat::Pls ||
           format == PlaylistFormat::Xspf;
}

void DragFileAdd(MainList& list, std::string& currentPlaylistFile, std::deque<std::string>& queue,
                 const GatherPorts& ports) {
    RowSink rows(list, ports.status);
    const char separator = ports.rules.separator();
    std::vector<FolderEntry> entries;
    std::size_t leftOut = 0;
    const auto isGathered = [&](std::string_view name) {
        return isMusicFile(name, ports.rules) || (ports.allMusicTypes && isOtherMusicFile(name, ports.rules));
    };
    while (!queue.empty()) {
        const std::string path = std::move(queue.front());
        queue.pop_front();
        if (cannotBeWalked(path)) {
            ++leftOut;
            continue;
        }

        // A file is what has an extension and a size; anything else is
        // taken for a folder, and a folder that cannot be listed gives
        // nothing.
        const std::string name(ports.rules.fileName(path));
        const std::optional<std::uint64_t> size = ports.fs.entrySize(path);
        if (!ports.rules.extension(name).empty() && size && *size != 0) {
            if (isGathered(name)) rows.add(name, path);
            if (isPlaylistFile(name, ports.rules) || (ports.playlistsByName && ports.playlistsByName->contains(path))) {
                rows.flush();
                LoadToFile(list, currentPlaylistFile, {ports.fs, ports.prompts, ports.rules, ports.progress}, path);
            }
            continue;
        }

        // A folder named "x.mp3" is a row too: the name decides.
        const Listing listing =
            walkFolder(ports.fs, ports.rules, path, entries, queue, leftOut, [&](const FolderEntry& entry) {
                if (isGathered(entry.name)) rows.add(entry.name, joinedPath(path, entry.name, separator));
            });
        rows.showProgress();
        if (listing == Listing::BrokenOff) {
            rows.flush();
            ports.prompts.information(systemText("ファイルの取得に失敗しました。"));
        }
    }
    rows.flush();
    if (leftOut > 0) ports.prompts.information(leftOutNamesText(leftOut));
}

}  // namespace listora
