#include "app/main_commands.h"

#include "fileops/entry_file_commands.h"
#include "fileops/transfer_engine.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/prompts.h"
#include "playlist/gatherer.h"
#include "playlist/m3u_reader.h"
#include "playlist/m3u_writer.h"

namespace listora {

MainCommands::MainCommands(MainState& state, CommandPorts ports, PathRules rules, std::string logFolder)
    : state_(state), ports_(ports), rules_(rules), logFolder_(std::move(logFolder)), collator_(rules.codePage()) {
    if (state_.dialogs.saveFileName.empty()) state_.dialogs.saveFileName = systemText("新規プレイリスト");
}

std::optional<FileChoice> MainCommands::askSaveFile() {
    FileDialogRequest request;
    request.filters = {{systemText("プレイリスト（絶対パス）(*.m3u)"), "*.m3u"},
                       {systemText("プレイリスト（相対パス）（*.m3u）"), "*.m3u"}};
    request.filterIndex = state_.dialogs.saveFilterIndex;
    request.fileName = state_.dialogs.saveFileName;
    request.defaultExtension = "m3u";
    std::optional<FileChoice> choice = ports_.prompts.askSaveFile(request);
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
    std::optional<FileChoice> choice = ports_.prompts.askOpenFile(request);
    if (choice) state_.dialogs.openFileName = choice->path;
    return choice;
}

void MainCommands::writePlaylist(int pathMode, const std::string& path) {
    writeFileOrThrow(ports_.fs, path, SaveList(state_.list, pathMode, path, rules_));
}

void MainCommands::load(const std::string& path) {
    LoadToFile(state_.list, state_.currentPlaylistFile, {ports_.fs, ports_.prompts, rules_}, path);
}

void MainCommands::newPlaylist() {
    if (state_.list.empty()) return;
    const Answer answer = ports_.prompts.confirm(systemText("プレイリストを保存しますか？"), Buttons::YesNoCancel);
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
    const Answer answer = ports_.prompts.confirm(systemText("プレイリストに追加しますか？"), Buttons::YesNoCancel);
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

void MainCommands::gather() {
    DragFileAdd(state_.list, state_.currentPlaylistFile, state_.gatherQueue,
                {ports_.fs, ports_.prompts, ports_.status, rules_});
}

void MainCommands::removeFromList() {
    removeSelected(state_.list);
    save();  // also when nothing was selected
}

EntryFilePorts MainCommands::entryFilePorts() { return {ports_.fs, ports_.prompts, ports_.clock, rules_, logFolder_}; }

void MainCommands::renameFile(NameAsker& names) {
    if (listora::renameFile(state_.list, entryFilePorts(), names)) save();
}

void MainCommands::deleteWithFile() {
    listora::deleteWithFile(state_.list, entryFilePorts());
    save();  // also after Cancel
}

void MainCommands::removeMissing() { listora::removeMissing(state_.list, ports_.fs, ports_.prompts); }

void MainCommands::openFolder() { listora::openFolder(state_.list, ports_.shell); }

void MainCommands::transfer(std::string_view mode) {
    SaveToFile(state_.list, state_.destinationFolder, mode,
               {ports_.fs, ports_.prompts, ports_.clock, ports_.status, rules_, logFolder_});
}

void MainCommands::transferAndSave(std::string_view mode) {
    if (state_.autoSave && !state_.currentPlaylistFile.empty()) {
        if (state_.destinationFolder.empty()) return;  // nothing to do, and nothing said
        transfer(mode);
        writePlaylist(kAbsolutePaths, state_.currentPlaylistFile);
        return;
    }
    if (state_.destinationFolder.empty()) {
        ports_.prompts.information(noDestinationText());
        return;
    }
    const std::optional<FileChoice> choice = askSaveFile();
    if (!choice) return;
    transfer(mode);
    writePlaylist(choice->filterIndex, choice->path);
    state_.currentPlaylistFile = choice->path;
}

}  // namespace listora
