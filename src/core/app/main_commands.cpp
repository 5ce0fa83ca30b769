#include "core/app/main_commands.h"

#include "core/fileops/entry_file_commands.h"
#include "core/fileops/transfer_engine.h"
#include "core/files/file_system.h"
#include "core/playlist/gatherer.h"
#include "core/playlist/m3u_reader.h"
#include "core/playlist/playlist_folder.h"
#include "core/playlist/playlist_writer.h"
#include "core/ports/prompts.h"
#include "core/ports/status_line.h"
#include "core/repair/duplicates.h"
#include "core/tags/tag_rows.h"
#include "core/text/codepage.h"

#include <system_error>

namespace listora {

MainCommands::MainCommands(MainState& state, CommandPorts ports, PathRules rules, std::string logFolder)
    : state_(state), ports_(ports), rules_(rules), logFolder_(std::move(logFolder)), collator_(rules.codePage()) {
    // The first sort would build the table of sort keys while the user
    // waits; it is built now on a thread of its own (the table is shared and
    // built once), and a sort that comes first waits for it.
    try {
        keyTableBuild_ = std::jthread([this] { collator_.keysFromTable(); });
    } catch (const std::system_error&) {
        // No thread: the first sort builds it.
    }
}

std::optional<FileChoice> MainCommands::askSaveFile() { return state_.dialogs.askSaveFile(ports_.prompts); }

std::optional<FileChoice> MainCommands::askOpenFile() { return state_.dialogs.askOpenFile(ports_.prompts); }

void MainCommands::writePlaylist(PathMode pathMode, const std::string& path) {
    listora::writePlaylist(ports_.fs, state_.list, pathMode, path, rules_);
}

void MainCommands::load(const std::string& path) {
    LoadToFile(state_.list, state_.currentPlaylistFile, {ports_.fs, ports_.prompts, rules_, ports_.progress}, path);
}

MainCommands::SaveOffer MainCommands::offerToSave() {
    const Answer answer =
        ports_.prompts.confirm(Question::SaveFirst, systemText("プレイリストを保存しますか？"), Buttons::YesNoCancel);
    if (answer == Answer::Cancel) return SaveOffer::Cancelled;
    if (answer == Answer::No) return SaveOffer::Declined;
    // Always through the dialog, and the file chosen is not kept as the
    // current playlist: the list is about to be let go.
    const std::optional<FileChoice> choice = askSaveFile();
    if (!choice) return SaveOffer::DialogCancelled;
    writePlaylist(pathModeOfFilter(choice->filterIndex), choice->path);
    return SaveOffer::Saved;
}

void MainCommands::newPlaylist() {
    if (state_.list.empty()) return;
    const SaveOffer offer = offerToSave();
    if (offer == SaveOffer::Cancelled || offer == SaveOffer::DialogCancelled) return;
    state_.list.clear();
    state_.currentPlaylistFile.clear();
}

void MainCommands::open() {
    const Answer answer =
        ports_.prompts.confirm(Question::AddToList, systemText("プレイリストに追加しますか？"), Buttons::YesNoCancel);
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
        writePlaylist(PathMode::Absolute, state_.currentPlaylistFile);
        return;
    }
    const std::optional<FileChoice> choice = askSaveFile();
    if (!choice) return;
    writePlaylist(pathModeOfFilter(choice->filterIndex), choice->path);
    state_.currentPlaylistFile = choice->path;
}

void MainCommands::sortByColumn(int column) {
    state_.sortColumn = column;
    state_.list.sortByColumn(column, collator_);
}

void MainCommands::search(const SearchSettings& settings) {
    const std::size_t hits = searchRows(state_.list, settings, rules_.codePage());
    ports_.status.show(std::to_string(hits) + systemText("個ヒット"));
}

bool MainCommands::prepareComparison() {
    if (!state_.list.empty()) {
        // A cancelled Save dialog goes on; the list stays until "検出".
        const SaveOffer offer = offerToSave();
        if (offer == SaveOffer::Cancelled) return false;
        if (offer == SaveOffer::Declined) state_.list.clear();
    }
    state_.currentPlaylistFile.clear();
    return true;
}

ComparisonOutcome MainCommands::compare(const std::string& playlistA, const std::string& playlistB,
                                        ComparisonMethod method) {
    return ComparePlaylists({state_.list, state_.currentPlaylistFile, state_.cutBuffer, state_.compareBuffer},
                            {ports_.fs, ports_.prompts, rules_}, playlistA, playlistB, method);
}

void MainCommands::gather(TagReadProgress* progress) {
    const std::size_t firstNew = state_.list.count();
    const auto fillNewRows = [&] {
        if (!state_.readTagsOnAdd || !tagReader_) return;
        const std::vector<std::size_t> rows = fileRowsFrom(state_.list, firstNew, true);
        if (!rows.empty()) fillFromTags(rows, progress);
    };
    try {
        DragFileAdd(state_.list, state_.currentPlaylistFile, state_.gatherQueue,
                    {ports_.fs, ports_.prompts, ports_.status, rules_, ports_.progress, &state_.playlistsByName,
                     state_.allMusicTypes});
    } catch (...) {
        fillNewRows();  // the rows gathered before the error stay, filled as the others would be
        throw;
    }
    fillNewRows();
}

void MainCommands::readTagsOfSelection(TagReadProgress* progress) {
    if (tagReader_) fillFromTags(selectedOrAllFileRows(state_.list), progress);
}

void MainCommands::fillFromTags(const std::vector<std::size_t>& rows, TagReadProgress* progress) {
    const TagFillOutcome outcome = fillRowsFromTags(state_.list, rows, tagReader_, rules_, progress);
    std::string text = std::to_string(outcome.filled) + systemText("個の曲名と長さを読み込みました");
    if (!outcome.unreadable.empty())
        text += systemText("（読めないファイル：") + std::to_string(outcome.unreadable.size()) + systemText("個）");
    if (outcome.cancelled) text += systemText("（中止）");
    ports_.status.show(text);
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

void MainCommands::repairRows(const std::vector<RowRepair>& repairs) {
    if (repairs.empty()) return;
    applyRepairs(state_.list, repairs, rules_);
    save();
}

std::size_t MainCommands::replaceFolder(const FolderReplacement& replacement) {
    const std::string base = state_.currentPlaylistFile.empty()
                                 ? ports_.fs.currentDirectory()
                                 : playlistFolder(ports_.fs, state_.currentPlaylistFile, rules_);
    const std::size_t changed = listora::replaceFolder(
        state_.list, {folderAsPlaylistLine(replacement.from, base, rules_), replacement.to}, rules_);
    if (changed > 0) save();
    return changed;
}

void MainCommands::removeDuplicates() {
    listora::removeDuplicates(state_.list);
    save();
}

void MainCommands::transfer(TransferMode mode) {
    SaveToFile(state_.list, state_.destinationFolder, mode,
               {ports_.fs, ports_.prompts, ports_.clock, ports_.status, rules_, logFolder_});
}

void MainCommands::transferAndSave(TransferMode mode) {
    if (state_.autoSave && !state_.currentPlaylistFile.empty()) {
        if (state_.destinationFolder.empty()) return;  // nothing to do, and nothing said
        transfer(mode);
        writePlaylist(PathMode::Absolute, state_.currentPlaylistFile);
        return;
    }
    if (state_.destinationFolder.empty()) {
        ports_.prompts.information(noDestinationText());
        return;
    }
    const std::optional<FileChoice> choice = askSaveFile();
    if (!choice) return;
    transfer(mode);
    writePlaylist(pathModeOfFilter(choice->filterIndex), choice->path);
    state_.currentPlaylistFile = choice->path;
}

}  // namespace listora
