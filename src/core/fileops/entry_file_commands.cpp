#include "core/fileops/entry_file_commands.h"

#include "core/fileops/operation_log.h"
#include "core/files/file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/address.h"
#include "core/playlist/main_list.h"
#include "core/ports/choosers.h"
#include "core/ports/prompts.h"
#include "core/ports/shell.h"
#include "core/text/codepage.h"

#include <algorithm>

namespace listora {
bool renameFile(MainList& list, const EntryFilePorts& ports, NameAsker& names) {
    const auto& rows = list.rows();
    const auto first = std::find_if(rows.begin(), rows.end(), [](const PlaylistEntry& row) { return row.selected; });
    if (first == rows.end()) return false;
    const std::size_t index = static_cast<std::size_t>(first - rows.begin());

    const std::string extension = ports.rules.extension(std::string(first->fileName()));
    const std::string baseName(first->fileName().substr(0, first->fileName().size() - extension.size()));
    const std::optional<std::string> name = names.askName(NameMode::Rename, baseName, extension);
    if (!name) return false;

    const std::string newName = *name + extension;
    const std::string newPath = ports.rules.folder(list.at(index).fullPath()) + newName;
    if (!ports.rules.isPlainName(newName) || isAddress(list.at(index).fullPath()) ||
        !ports.fs.moveFile(std::string(list.at(index).fullPath()), newPath)) {
        ports.prompts.information(systemText("ファイル名の変更に失敗しました"));
        return false;
    }
    list.editRow(index).setPath(newName, newPath);
    list.rowsEdited(index, index);
    return true;
}

void deleteWithFile(MainList& list, const EntryFilePorts& ports) {
    const Answer answer = ports.prompts.warn(
        Question::DeleteFiles, systemText("選択ファイルは完全に削除されますが、よろしいですか？"), Buttons::YesCancel);
    OperationLog log = OperationLog::open(ports.fs, ports.clock, ports.logFolder);
    if (answer == Answer::Yes) {
        // Rows go in one change at the end, so the view is told once. If the
        // log cannot be written, the files deleted so far are gone and so
        // are their rows.
        std::vector<bool> deleted(list.count(), false);
        for (std::size_t i = 0; i < list.count(); ++i) {
            const PlaylistEntry& row = list.at(i);
            if (!row.selected || isAddress(row.fullPath()) || !ports.fs.deleteFile(std::string(row.fullPath())))
                continue;
            log.add({std::string(row.fileName()), systemText("削除"), std::string(row.fullPath()), kUnknownText});
            deleted[i] = true;
        }
        std::size_t index = 0;
        list.removeUnless([&](const PlaylistEntry&) { return !deleted[index++]; });
    }
    log.write();
}

void removeMissing(MainList& list, FileSystem& fs, Prompts& prompts) {
    // Nothing local can be checked for an address, so it stays.
    const std::size_t removed = list.removeUnless(
        [&](const PlaylistEntry& row) { return isAddress(row.fullPath()) || fs.isFile(std::string(row.fullPath())); });
    prompts.information(std::to_string(removed) + systemText("個のリストが削除されました"));
}

void openFolder(const MainList& list, Shell& shell) {
    const std::size_t focus = list.focusRow();
    if (focus == MainList::npos || focus >= list.count()) return;
    shell.showInFileManager(std::string(list.at(focus).fullPath()));
}

}  // namespace listora
