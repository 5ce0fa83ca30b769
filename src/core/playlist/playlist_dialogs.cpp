#include "core/playlist/playlist_dialogs.h"

#include "core/text/codepage.h"

namespace listora {

std::optional<FileChoice> PlaylistDialogs::askSaveFile(Prompts& prompts) {
    if (saveFileName_.empty()) saveFileName_ = systemText("新規プレイリスト");
    FileDialogRequest request;
    // Each format has its absolute filter, then its relative one
    // (pathModeOfFilter).
    request.filters = {{systemText("プレイリスト（絶対パス）(*.m3u)"), "*.m3u"},
                       {systemText("プレイリスト（相対パス）（*.m3u）"), "*.m3u"},
                       {systemText("PLS プレイリスト（絶対パス）(*.pls)"), "*.pls"},
                       {systemText("PLS プレイリスト（相対パス）(*.pls)"), "*.pls"},
                       {systemText("XSPF プレイリスト（絶対パス）(*.xspf)"), "*.xspf"},
                       {systemText("XSPF プレイリスト（相対パス）(*.xspf)"), "*.xspf"}};
    request.filterIndex = saveFilterIndex_;
    request.fileName = saveFileName_;
    request.defaultExtension = "m3u";
    std::optional<FileChoice> choice = prompts.askSaveFile(request);
    if (choice) {
        saveFileName_ = choice->path;
        saveFilterIndex_ = choice->filterIndex;
    }
    return choice;
}

namespace {

// An Open dialog for one playlist, starting at `fileName`.
FileDialogRequest openRequest(std::string_view caption, const std::string& fileName) {
    FileDialogRequest request;
    request.filters = {{systemText(caption), "*.m3u"},
                       {systemText("プレイリスト UTF-8(*.m3u8)"), "*.m3u8"},
                       {systemText("PLS プレイリスト(*.pls)"), "*.pls"},
                       {systemText("XSPF プレイリスト(*.xspf)"), "*.xspf"}};
    request.fileName = fileName;
    request.defaultExtension = "m3u";
    return request;
}

}  // namespace

std::optional<FileChoice> PlaylistDialogs::askOpenFile(Prompts& prompts) {
    std::optional<FileChoice> choice = prompts.askOpenFile(openRequest("プレイリスト(*.m3u)", openFileName_));
    if (choice) openFileName_ = choice->path;
    return choice;
}

std::optional<FileChoice> PlaylistDialogs::askComparedFile(Prompts& prompts, const std::string& current) {
    return prompts.askOpenFile(openRequest("プレイリスト（*.m3u）", current));
}

}  // namespace listora
