#pragma once
// The Open and Save dialogs of playlists. Each starts with the values of its
// last confirmed use: the file chosen and, for saving, the kind of paths.

#include "core/ports/prompts.h"

#include <optional>
#include <string>

namespace listora {

class PlaylistDialogs {
public:
    // "プレイリスト（絶対パス）(*.m3u)" (filter 1) or "プレイリスト（相対パス）（*.m3u）"
    // (filter 2), then PLS and XSPF, each absolute and relative; the first
    // time the name is "新規プレイリスト". The name's extension picks the format.
    std::optional<FileChoice> askSaveFile(Prompts& prompts);
    // "プレイリスト(*.m3u)", then "プレイリスト UTF-8(*.m3u8)", PLS and XSPF.
    std::optional<FileChoice> askOpenFile(Prompts& prompts);
    // A playlist to compare, "プレイリスト（*.m3u）" and the other formats, starting
    // at the box's name.
    std::optional<FileChoice> askComparedFile(Prompts& prompts, const std::string& current);

private:
    std::string saveFileName_;  // in the system code page; empty until first asked
    int saveFilterIndex_ = 1;
    std::string openFileName_;
};

}  // namespace listora
