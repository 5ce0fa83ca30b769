// The main window's commands as rows: the menus, the toolbar and the list's
// popup menu. A row without a handler is shown disabled.

#include "core/app/options_file.h"
#include "core/errors/errors.h"
#include "core/help/help_command.h"
#include "core/player/media_player.h"
#include "core/player/play_entry.h"
#include "core/search/selection_commands.h"
#include "ui/common/busy_cursor.h"
#include "ui/common/modal_run.h"
#include "ui/common/text_bridge.h"
#include "ui/help/about_window.h"
#include "ui/logview/log_window.h"
#include "ui/main/main_window.h"
#include "ui/main/playlist_table_model.h"
#include "ui/main/tag_read_dialog.h"
#include "ui/player/player_window.h"
#include "ui/repair/repair_window.h"
#include "ui/search/comparison_window.h"
#include "ui/search/search_window.h"

#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTableView>
#include <algorithm>

namespace listora {

Handler TForm1::call(void (TForm1::*handler)()) {
    return [this, handler] { (this->*handler)(); };
}

// The commands the menus and the strip share.
void TForm1::newPlaylist() { commands_.newPlaylist(); }
void TForm1::openPlaylist() { commands_.open(); }
void TForm1::savePlaylist() { commands_.save(); }
void TForm1::moveFiles() { transferFiles(TransferMode::Move, false); }
void TForm1::copyFiles() { transferFiles(TransferMode::Copy, false); }
void TForm1::moveFilesAndSave() { transferFiles(TransferMode::Move, true); }
void TForm1::copyFilesAndSave() { transferFiles(TransferMode::Copy, true); }

void TForm1::transferFiles(TransferMode mode, bool thenSave) {
    const BusyCursor busy;
    if (thenSave)
        commands_.transferAndSave(mode);
    else
        commands_.transfer(mode);
}

std::vector<MenuRow> TForm1::menuRows() {
    const Condition hasPicker = [this] { return folderPicker_ != nullptr; };
    MenuRow readTagsOnAdd = checkableCommand(QStringLiteral("追加時にタグを読む"), "menuReadTagsOnAdd", [this] {
        toggleOption(kReadTagsOnAddKey, state_.readTagsOnAdd, *readTagsOnAddAction_);
    });
    readTagsOnAdd.enabledWhen = [this] { return commands_.canReadTags(); };
    const Condition hasLogWindow = [this] { return logWindow_ != nullptr; };
    const Condition hasPlayer = [this] { return makePlayer_ != nullptr; };
    return {
        submenu(
            QStringLiteral("メイン"),
            {
                command(QStringLiteral("新規プレイリストの作成"), "menuNew", call(&TForm1::newPlaylist)),
                submenu(QStringLiteral("プレイリストの読み込み"),
                        {
                            command(QStringLiteral("新規"), "menuLoadReplacing", [this] { commands_.loadReplacing(); }),
                            command(QStringLiteral("追加"), "menuLoadAppending", [this] { commands_.loadAppending(); }),
                        }),
                command(
                    QStringLiteral("下層フォルダの音楽ファイルを追加"), "menuGatherFolder", [this] { gatherFolder(); },
                    hasPicker),
                command(QStringLiteral("保存"), "menuSave", call(&TForm1::savePlaylist)),
                command(QStringLiteral("二つのプレイリストを比較"), "menuCompare", call(&TForm1::comparePlaylists),
                        [this] { return comparisonWindow_ != nullptr; }),
                command(QStringLiteral("終了"), "menuExit", [this] { close(); }),
            }),
        submenu(QStringLiteral("アクション"),
                {
                    command(QStringLiteral("移動"), "menuMove", call(&TForm1::moveFiles)),
                    command(QStringLiteral("コピー"), "menuCopy", call(&TForm1::copyFiles)),
                    command(QStringLiteral("移動＋保存"), "menuMoveSave", call(&TForm1::moveFilesAndSave)),
                    command(QStringLiteral("コピー＋保存"), "menuCopySave", call(&TForm1::copyFilesAndSave)),
                    command(QStringLiteral("ファイルの存在しないものを削除"), "menuRemoveMissing",
                            [this] { commands_.removeMissing(); }),
                    command(QStringLiteral("リンク切れを修復"), "menuRepairLinks", call(&TForm1::openRepairWindow)),
                    command(QStringLiteral("チェックされたリストを選択"), "menuSelectChecked",
                            [this] { selectChecked(state_.list); }),
                    command(QStringLiteral("全選択"), "menuSelectAll", [this] { selectAll(state_.list); }),
                }),
        submenu(
            QStringLiteral("設定"),
            {
                checkableCommand(QStringLiteral("プレイリストに自動的に保存"), "menuAutoSave",
                                 [this] { toggleAutoSave(); }),
                readTagsOnAdd,
                checkableCommand(
                    QStringLiteral("その他の音楽ファイルも追加（flac, ogg, opus, m4a, wav など）"), "menuAllMusicTypes",
                    [this] { toggleOption(kAllMusicTypesKey, state_.allMusicTypes, *allMusicTypesAction_); }),
            }),
        submenu(QStringLiteral("サブウインド"),
                {
                    command(QStringLiteral("検索"), "menuSearchWindow", call(&TForm1::openSearchWindow)),
                    command(QStringLiteral("再生"), "menuPlayWindow", call(&TForm1::openPlayWindow), hasPlayer),
                    command(QStringLiteral("ログ"), "menuLogWindow", call(&TForm1::openLogWindow), hasLogWindow),
                }),
        submenu(
            QStringLiteral("ヘルプ"),
            {
                command(QStringLiteral("ヘルプ"), "menuHelp", [this] { openHelpText(fs_, shell_, files_.helpFile); }),
                command(
                    QStringLiteral("バージョン情報"), "menuAbout", [this] { runModal(*aboutWindow_); },
                    [this] { return aboutWindow_ != nullptr; }),
            }),
    };
}

// The strip's groups, left to right.
std::vector<std::vector<ToolRow>> TForm1::toolRows() {
    return {
        {
            {"document-new", "new", QStringLiteral("新規"), "buttonNew", call(&TForm1::newPlaylist), {}},
            {"document-open", "open", QStringLiteral("開く"), "buttonOpen", call(&TForm1::openPlaylist), {}},
            {"document-save", "save", QStringLiteral("保存"), "buttonSave", call(&TForm1::savePlaylist), {}},
        },
        {
            {"go-jump", "move", QStringLiteral("移動"), "buttonMove", call(&TForm1::moveFiles), {}},
            {"document-save-as",
             "move-save",
             QStringLiteral("移動＋保存"),
             "buttonMoveSave",
             call(&TForm1::moveFilesAndSave),
             {}},
        },
        {
            {"edit-copy", "copy", QStringLiteral("コピー"), "buttonCopy", call(&TForm1::copyFiles), {}},
            {"document-save-all",
             "copy-save",
             QStringLiteral("コピー＋保存"),
             "buttonCopySave",
             call(&TForm1::copyFilesAndSave),
             {}},
        },
        {
            {"media-playback-start", "play", QStringLiteral("再生ウインド"), "buttonPlayWindow",
             call(&TForm1::openPlayWindow), [this] { return makePlayer_ != nullptr; }},
            {"edit-find",
             "find",
             QStringLiteral("検索ウインド"),
             "buttonSearchWindow",
             call(&TForm1::openSearchWindow),
             {}},
            {"document-open-recent", "log", QStringLiteral("ログウインド"), "buttonLogWindow",
             call(&TForm1::openLogWindow), [this] { return logWindow_ != nullptr; }},
        },
    };
}

std::vector<MenuRow> TForm1::popupRows() {
    const Condition hasNameAsker = [this] { return nameAsker_ != nullptr; };
    // "貼り付け" can be used exactly when rows wait in the cut buffer.
    const Condition rowsAreCut = [this] { return !state_.cutBuffer.empty(); };
    return {
        command(QStringLiteral("再生"), "popupPlay", call(&TForm1::playEntry),
                [this] { return makePlayer_ != nullptr; }),
        command(QStringLiteral("検索"), "popupSearch", call(&TForm1::openSearchWindow)),
        separator(),
        command(QStringLiteral("フォルダを開く"), "popupOpenFolder", [this] { commands_.openFolder(); }),
        command(
            QStringLiteral("ファイル名の変更"), "popupRename", [this] { renameFile(); }, hasNameAsker),
        separator(),
        submenu(
            QStringLiteral("選択"),
            {
                command(QStringLiteral("切り取り"), "popupCut", [this] { cutSelected(state_.list, state_.cutBuffer); }),
                command(
                    QStringLiteral("貼り付け"), "popupPaste", [this] { pasteCut(state_.list, state_.cutBuffer); },
                    rowsAreCut),
                separator(),
                command(QStringLiteral("選択反転"), "popupInvertSelection", [this] { invertSelection(state_.list); }),
                command(QStringLiteral("リストから削除"), "popupRemoveFromList",
                        [this] { commands_.removeFromList(); }),
                command(QStringLiteral("ファイルごと削除"), "popupDeleteWithFile",
                        [this] { commands_.deleteWithFile(); }),
                command(QStringLiteral("重複を削除"), "popupRemoveDuplicates",
                        [this] { commands_.removeDuplicates(); }),
                separator(),
                command(QStringLiteral("タグから曲名と長さを読む"), "popupReadTags", call(&TForm1::readTags),
                        [this] { return commands_.canReadTags(); }),
            }),
        submenu(QStringLiteral("チェック"),
                {
                    command(QStringLiteral("チェック"), "popupCheck", [this] { checkSelected(state_.list); }),
                    command(QStringLiteral("チェック反転"), "popupInvertCheck",
                            [this] { invertCheckOfSelected(state_.list); }),
                    command(QStringLiteral("チェック解除"), "popupUncheck", [this] { uncheckSelected(state_.list); }),
                }),
    };
}

void TForm1::toggleAutoSave() {
    commands_.toggleAutoSave();
    autoSaveAction_->setChecked(state_.autoSave);
}

// The setting is written as it changes, so another window's or program's
// settings in the same file are read first and kept.
void TForm1::toggleOption(std::string_view key, bool& setting, QAction& action) {
    const bool wanted = !setting;
    action.setChecked(setting);  // until it is written
    writeOptionFlag(fs_, files_.optionsFile, key, wanted);
    setting = wanted;
    action.setChecked(wanted);
}

void TForm1::readTags() {
    const QScopedValueRollback reading(readingTags_, true);
    TagReadDialog progress(*this);
    commands_.readTagsOfSelection(&progress);
}

void TForm1::setTagReader(std::shared_ptr<TagReader> reader) {
    commands_.setTagReader(std::move(reader));
    commandSet_.refresh();
}

void TForm1::renameFile() {
    if (nameAsker_) commands_.renameFile(*nameAsker_);
}

// One search window at a time: a new one with the defaults, or the open one
// brought to the front with its settings as they are.
void TForm1::openSearchWindow() {
    searchWindow_.openOrRaise([this] {
        auto* window = new TForm3(folderPicker_);
        connect(window, &TForm3::searchRequested, this, &TForm1::search);
        return window;
    });
}

// The comparison window opens once the list is saved or let go; "検出"
// closes it when the comparison gives a result.
void TForm1::comparePlaylists() {
    if (commands_.prepareComparison()) runModal(*comparisonWindow_);
}

void TForm1::openLogWindow() { logWindow_->openLog(); }

// Made at its first opening and kept, so its folders stay while the program
// runs. What it decides comes back by its signals; each change is saved.
void TForm1::openRepairWindow() {
    if (!repairWindow_) {
        repairWindow_ = new RepairWindow(fs_, commands_.pathRules(), folderPicker_, this);
        connect(repairWindow_, &RepairWindow::repairsChosen, this, [this](const std::vector<RowRepair>& repairs) {
            runReportingErrors(prompts_, [&] { commands_.repairRows(repairs); });
        });
        connect(repairWindow_, &RepairWindow::folderReplaceRequested, this,
                [this](const FolderReplacement& replacement) {
                    runReportingErrors(prompts_,
                                       [&] { repairWindow_->showReplaced(commands_.replaceFolder(replacement)); });
                });
    }
    // Its search handles events; a drop waits meanwhile, as during a read
    // of tags, so the rows its proposals name stay where they are.
    const QScopedValueRollback busy(readingTags_, true);
    repairWindow_->openFor(state_.list);
}

// One playback window at a time, each with a player of its own; opening
// plays nothing.
void TForm1::openPlayWindow() {
    playWindow_.openOrRaise([this] { return new TForm4(prompts_, makePlayer_()); });
}

// The first selected row's file, in the playback window brought to the front.
void TForm1::playEntry() {
    if (!makePlayer_) return;
    const std::optional<std::string> path = entryToPlay(state_.list, fs_, prompts_);
    if (!path) return;
    openPlayWindow();
    static_cast<TForm4*>(playWindow_.window())->playFile(*path);
}

void TForm1::setPlayerFactory(MediaPlayerFactory factory) {
    makePlayer_ = std::move(factory);
    commandSet_.refresh();
}

void TForm1::setAboutWindow(TForm7* window) {
    aboutWindow_ = window;
    commandSet_.refresh();
}

void TForm1::setLogWindow(TForm5* window) {
    logWindow_ = window;
    commandSet_.refresh();
}

void TForm1::setComparisonWindow(TForm6* window) {
    comparisonWindow_ = window;
    connect(window, &TForm6::compareRequested, this,
            [this](const std::string& a, const std::string& b, ComparisonMethod method) {
                runReportingErrors(prompts_, [&] {
                    if (commands_.compare(a, b, method) == ComparisonOutcome::Result) comparisonWindow_->accept();
                });
            });
    commandSet_.refresh();
}

void TForm1::search(const SearchSettings& settings) {
    runReportingErrors(prompts_, [&] { commands_.search(settings); });
    const std::vector<PlaylistEntry>& rows = state_.list.rows();
    const auto first = std::find_if(rows.begin(), rows.end(), [](const PlaylistEntry& row) { return row.selected; });
    if (first != rows.end()) list_->scrollTo(model_->index(static_cast<int>(first - rows.begin()), 0));
    show();
    raise();
    activateWindow();
    list_->setFocus();
}

void TForm1::chooseDestination() {
    const std::optional<std::string> path = folderPicker_->pickFolder(FolderPurpose::Destination);
    if (!path) return;
    // The folder's own bytes become the destination; the box only shows them.
    const QSignalBlocker quiet(destination_);
    destination_->setText(toQt(*path));
    state_.destinationFolder = *path;
}

void TForm1::gatherFolder() {
    if (const std::optional<std::string> path = folderPicker_->pickFolder(FolderPurpose::Gather))
        state_.gatherQueue.push_back(*path);
    gather();  // also after "No.": paths an earlier error left are gathered
}

void TForm1::gather() {
    if (state_.gatherQueue.empty()) return;
    // A long walk holds the window; the cursor says so, and the status line
    // counts what it finds.
    const BusyCursor busy;
    const QScopedValueRollback reading(readingTags_, true);
    TagReadDialog progress(*this);
    runReportingErrors(prompts_, [&] { commands_.gather(&progress); });
}

}  // namespace listora
