#include "app/main_commands.h"

#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/prompts.h"
#include "playlist/m3u_reader.h"
#include "playlist/m3u_writer.h"

namespace listora {

MainCommands::MainCommands(MainState& state, FileSystem& fs, Prompts& prompts, PathRules rules)
    : state_(state), fs_(fs), prompts_(prompts), rules_(rules), collator_(rules.codePage()) {
    if (state_.dialogs.saveFileName.empty()) state_.dialogs.saveFileName = systemText("新規プレイリスト");
}

std::optional<FileChoice> MainCommands::askSaveFile() {
    FileDialogRequest request;
    request.filters = {{systemText("プレイリスト（絶対パス）(*.m3u)"), "*.m3u"},
                       {systemText("プレイリスト（相対パス）（*.m3u）"), "*.m3u"}};
    request.filterIndex = state_.dialogs.saveFilterIndex;
    request.fileName = state_.dialogs.saveFileName;
    request.defaultExtension = "m3u";
    std::optional<FileChoice> choice = prompts_.askSaveFile(request);
    if (choice) {
        state_.dialogs.saveFileName = choice->path;
        state_.dialogs.saveFilterIndex = choice->filterIndex;
    }
    return choice;
}

std::optional<FileChoice> MainCommands::askOpenFile() {
    FileDialogRequest request;
    request.filters = {{systemText("プレイリスト(*.m3u)"), "*.m3u"}};
    request.fileName = state_.dialogs.openFileName;
    request.defaultExtension = "m3u";
    std::optional<FileChoice> choice = prompts_.askOpenFile(request);
    if (choice) state_.dialogs.openFileName = choice->path;
    return choice;
}

void MainCommands::writePlaylist(int pathMode, const std::string& path) {
    writeFileOrThrow(fs_, path, SaveList(state_.list, pathMode, path, rules_));
}

void MainCommands::load(const std::string& path) {
    LoadToFile(state_.list, state_.currentPlaylistFile, {fs_, prompts_, rules_}, path);
}

void MainCommands::newPlaylist() {
    if (state_.list.empty()) return;
    const Answer answer = prompts_.confirm(systemText("プレイリストを保存しますか？"), Buttons::YesNoCancel);
    if (answer == Answer::Cancel) return;
    if (answer == Answer::Yes) {
        // Always through the dialog, and the file chosen is not kept as the
        // current playlist: the list is about to be emptied.
        const std::optional<FileChoice> choice = askSaveFile();
        if (!choice) return;
        writePlaylist(choice->filterIndex, choice->path);
    }
    state_.list.clear();
    state_.currentPlaylistFile.clear();
}

void MainCommands::open() {
    const Answer answer = prompts_.confirm(systemText("プレイリストに追加しますか？"), Buttons::YesNoCancel);
    if (answer == Answer::Cancel) return;
    const std::optional<FileChoice> choice = askOpenFile();
    if (!choice) return;
    if (answer == Answer::No) state_.list.clear();
    load(choice->path);
}

void MainCommands::loadReplacing() {
    const std::optional<FileChoice> choice = askOpenFile();
    if (!choice) return;
    state_.list.clear();
    load(choice->path);
}

void MainCommands::loadAppending() {
    if (const std::optional<FileChoice> choice = askOpenFile()) load(choice->path);
}

void MainCommands::save() {
    if (state_.autoSave && !state_.currentPlaylistFile.empty()) {
        writePlaylist(kAbsolutePaths, state_.currentPlaylistFile);
        return;
    }
    const std::optional<FileChoice> choice = askSaveFile();
    if (!choice) return;
    writePlaylist(choice->filterIndex, choice->path);
    state_.currentPlaylistFile = choice->path;
}

void MainCommands::sortByColumn(int column) {
    state_.sortColumn = column;
    state_.list.sortByColumn(column, collator_);
}

}  // namespace listora
