#include "core/playlist/row_maker.h"

#include "core/playlist/address.h"
#include "core/playlist/playlist_line.h"

#include <optional>

namespace listora {

RowMaker::RowMaker(const PathRules& rules, std::string base) : rules_(rules), base_(std::move(base)) {}

PlaylistEntry RowMaker::make(std::string_view title, std::string_view lengthText, std::string_view path,
                             std::size_t nameAt, bool unconvertible) {
    takePath(path, nameAt);
    std::string_view fileName = fileName_;
    if (unconvertible) {
        fileName = {};
        ++unconvertible_;
    }
    nameless_ += fileName.empty();
    return PlaylistEntry(slabs_, title, lengthText, fileName, fullPath_);
}

void RowMaker::takePath(std::string_view written, std::size_t nameAt) {
    if (isAddress(written)) {
        fullPath_ = written;
        name_ = addressName(written, rules_.codePage());
        fileName_ = name_;
        return;
    }
    if (std::optional<std::string> local = localPathOfFileAddress(written, rules_)) {
        decoded_ = std::move(*local);
        if (decoded_.empty()) {  // not a name of this code page
            fullPath_ = written;
            fileName_ = {};
            return;
        }
        written = decoded_;
        nameAt = std::string_view::npos;
    }
    if (nameAt != std::string_view::npos) {
        fullPath_ = written;
        fileName_ = written.substr(nameAt);
        return;
    }
    // Every relative path resolves against the playlist's own folder, so a
    // playlist names the same files from whatever folder it is read: a bare
    // relative line before the first #EXTINF once resolved against the
    // current directory and named an unrelated file.
    fullPath_ = rules_.makeAbsolute(pathOfPlaylistLine(rules_, written, converted_), base_, absolute_);
    fileName_ = rules_.fileName(fullPath_);
}

}  // namespace listora
