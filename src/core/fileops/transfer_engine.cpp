#include "core/fileops/transfer_engine.h"

#include "core/fileops/operation_log.h"
#include "core/files/file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/address.h"
#include "core/playlist/main_list.h"
#include "core/ports/prompts.h"
#include "core/ports/status_line.h"
#include "core/text/codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_set>

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

// Why a transfer from `source` to `target` failed, told apart by what stands
// there now; `error` is the system's errno for the failed call, 0 for none.
RowNotDone whyNotDone(FileSystem& fs, const std::string& source, const std::string& target, int error) {
    if (!fs.entrySize(source)) return {source, target, RowFailure::NoSuchFile, ""};
    if (fs.entrySize(target)) return {source, target, RowFailure::AlreadyExists, ""};
    return {source, target, RowFailure::SystemError, error != 0 ? std::strerror(error) : ""};
}

// What can be told before trying: a copy needs a file to read (a link to
// one), and neither kind replaces an entry at the target.
std::optional<RowNotDone> foreseenFailure(FileSystem& fs, TransferMode mode, const std::string& source,
                                          const std::string& target) {
    if (isAddress(source)) return RowNotDone{source, target, RowFailure::NotLocalFile, ""};
    if (mode == TransferMode::Copy ? !fs.isFile(source) : !fs.entrySize(source))
        return RowNotDone{source, target, RowFailure::NoSuchFile, ""};
    if (fs.entrySize(target)) return RowNotDone{source, target, RowFailure::AlreadyExists, ""};
    return std::nullopt;
}

}  // namespace

long long planTransfer(const MainList& list, const std::string& destination, TransferMode mode, FileSystem& fs,
                       const PathRules& rules,
                       const std::function<void(const std::string& source, const std::string& target,
                                                const std::optional<RowNotDone>& failure)>& planned) {
    long long failures = 0;
    std::unordered_set<std::string> taken;  // targets the rows before would have made
    for (const PlaylistEntry& row : list.rows()) {
        if (!row.checked) continue;
        const std::string source(row.fullPath());
        const std::string target = targetPathFor(destination, row.fileName(), rules);
        std::optional<RowNotDone> failure = foreseenFailure(fs, mode, source, target);
        if (!failure && !taken.insert(target).second)
            failure = RowNotDone{source, target, RowFailure::AlreadyExists, ""};
        failures += failure ? 1 : 0;
        planned(source, target, failure);
    }
    return failures;
}

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
            const auto notDone = [&](const RowNotDone& why) {
                ++errors;
                if (ports.progress) ports.progress->rowNotDone(why);
            };
            if (moving) {
                if (isAddress(source)) {
                    notDone(RowNotDone{source, target, RowFailure::NotLocalFile, ""});
                    continue;
                }
                errno = 0;
                if (!ports.fs.moveFile(source, target)) {
                    notDone(whyNotDone(ports.fs, source, target, errno));
                    continue;
                }
                row.setPath(fileName, target);
            } else {
                // A cancelled copy fails every row untried, as the window
                // has always counted it; no row has a reason of its own.
                if (copyAnswer == Answer::Cancel) {
                    ++errors;
                    continue;
                }
                if (const std::optional<RowNotDone> why = foreseenFailure(ports.fs, mode, source, target)) {
                    notDone(*why);
                    continue;
                }
                errno = 0;
                if (!ports.fs.copyFile(source, target)) {
                    notDone(whyNotDone(ports.fs, source, target, errno));
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
