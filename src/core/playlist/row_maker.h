#pragma once
// Rows as a playlist names them, the same for every playlist format: the
// path as written becomes the row's full path and file name, and the row's
// texts go to slabs shared by the read.

#include "core/paths/path_rules.h"
#include "core/playlist/playlist_entry.h"
#include "core/playlist/text_slabs.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace listora {

class RowMaker {
public:
    // `base` is the playlist's folder as an absolute path.
    RowMaker(const PathRules& rules, std::string base);

    // A row of the path as written (see takePath), with its title and
    // length text. `unconvertible` tells that a text of the row did not
    // convert from the file's code page: the row is left without a file
    // name, to be dropped and counted as gathering counts such names.
    PlaylistEntry make(std::string_view title, std::string_view lengthText, std::string_view path,
                       std::size_t nameAt = std::string_view::npos, bool unconvertible = false);

    // A path as written: an address stays as written, a "file://" address
    // becomes the local path it names, anything else is a path, relative
    // ones taken against the playlist's folder. `nameAt` is
    // PathRules::nameAsWritten's of `written` when known, npos otherwise.
    // The results are views valid until the next call; a path without a
    // name (a folder, or a "file://" name the code page cannot hold) has an
    // empty file name.
    void takePath(std::string_view written, std::size_t nameAt = std::string_view::npos);
    std::string_view fullPath() const { return fullPath_; }
    std::string_view fileName() const { return fileName_; }

    // Rows made without a file name, and those of them left so because a
    // text did not convert.
    std::size_t nameless() const { return nameless_; }
    std::size_t unconvertible() const { return unconvertible_; }

private:
    const PathRules& rules_;
    std::string base_;
    std::string converted_;  // a path read with other separators
    std::string absolute_;   // a relative path made absolute
    std::string decoded_;    // a "file://" address's local path
    std::string name_;       // an address's file name
    std::string_view fullPath_;
    std::string_view fileName_;
    std::size_t nameless_ = 0;
    std::size_t unconvertible_ = 0;
    TextSlabs slabs_;
};

}  // namespace listora
