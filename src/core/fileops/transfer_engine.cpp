#include "core/fileops/transfer_engine.h"

#include "core/fileops/operation_log.h"
#include "core/files/file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/main_list.h"
#include "core/ports/prompts.h"
#include "core/ports/status_line.h"
#include "core/text/codepage.h"

#include <algorithm>

namespace listora {

std::string noDestinationText() { return systemText("移動先を選択してくたさい"); }

std::string targetPathFor(std::string_view destination, std::string_view fileName, const PathRules& rules) {
    const char separator = rules.separator();
    std::string target(destination);
    if (!target.empty() &&
        findLastCharOf(target, std::string_view(&separator, 1), rules.codePage()) == target.size() - 1)
        target.pop_back();
    target += separator;
    target += fileName;
    return target;
}

namespace {

// The rows a run changed, told to the view once at the end, also when the
// run ends early with an error.
class ChangedRows {
public:
    explicit ChangedRows(MainList& list) : list_(list) {}
    ~ChangedRows() {
        if (first_ <= last_) list_.rowsEdited(first_, last_);
    }
    void add(std::size_t row) {
        first_ = std::min(first_, row);
        last_ = std::max(last_, row);
    }

private:
    MainList& list_;
    std::size_t first_ = MainList::npos;
    std::size_t last_ = 0;
};

}  // namespace

long long SaveToFile(MainList& list, const std::string& destination, TransferMode mode, const TransferPorts& ports) {
    if (destination.empty()) {
        ports.prompts.information(noDestinationText());
        return 0;
    }
    const bool moving = mode == TransferMode::Move;
    const std::string kind = systemText(moving ? "移動" : "コピー");
    OperationLog log = OperationLog::open(ports.fs, ports.clock, ports.logFolder);

    Answer copyAnswer = Answer::Cancel;
    if (!moving)
        copyAnswer = ports.prompts.confirm(
            Question::RewriteCopiedPaths, systemText("プレイリストのフルパスを書き換えますか？"), Buttons::YesNoCancel);

    long long errors = 0;
    long long copied = 0;
    std::size_t checked = 0;
    if (ports.progress)
        for (const PlaylistEntry& row : list.rows()) checked += row.checked ? 1 : 0;
    std::size_t finished = 0;
    {
        ChangedRows changed(list);
        for (std::size_t i = 0; i < list.count(); ++i) {
            if (!list.at(i).checked) continue;
            if (ports.progress) ports.progress->rowStarting(finished++, checked);
            PlaylistEntry& row = list.editRow(i);
            const std::string source(row.fullPath());
            const std::string fileName(row.fileName());
            const std::string target = targetPathFor(destination, fileName, ports.rules);
            if (moving) {
                if (!ports.fs.moveFile(source, target)) {
                    ++errors;
                    continue;
                }
                row.setPath(fileName, target);
            } else {
                if (copyAnswer == Answer::Cancel || !ports.fs.isFile(source) || ports.fs.isFile(target) ||
                    !ports.fs.copyFile(source, target)) {
                    ++errors;
                    continue;
                }
                ++copied;
                ports.status.show(std::to_string(copied) + systemText("ファイルをコピー"));
                if (copyAnswer == Answer::Yes) row.setPath(fileName, target);
            }
            row.checked = false;
            changed.add(i);
            log.add({fileName, kind, source, target});
        }
    }
    // When the end is announced, every copy is on disk, not only in the
    // system's cache: the user may unplug the drive then. When that cannot
    // be made sure, the end says so; every row was still done.
    const bool synced = copied == 0 || ports.fs.syncToDisk(destination);
    log.write();

    std::string end = kind + systemText("が終了しました");
    if (errors > 0) {
        ports.status.show(std::to_string(errors) + systemText("個のエラーがあります"));
        end += systemText("（エラー：") + std::to_string(errors) + systemText("個）");
    } else {
        ports.status.show("");
    }
    if (!synced) end += systemText("。ただし ") + destination + systemText(" のディスクへの書き込みを確かめられません");
    ports.prompts.information(end);
    return errors;
}

}  // namespace listora
