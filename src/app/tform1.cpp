#include "app/tform1.h"

#include "app/settings_file.h"
#include "app/text_bridge.h"
#include "app/ui_font.h"
#include "platform/errors.h"
#include "playlist/playlist_table_model.h"
#include "search/selection_commands.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace listora {

void LabelStatusLine::show(const std::string& text) {
    label_->setText(toQt(text));
    label_->repaint();
}

TForm1::TForm1(FileSystem& fs, Prompts& prompts, const Clock& clock, Shell& shell, ProgramFiles files, QWidget* parent)
    : QMainWindow(parent),
      fs_(fs),
      prompts_(prompts),
      files_(std::move(files)),
      commands_(state_, {fs, prompts, clock, statusLine_, shell}, PathRules::native(), files_.logFolder) {
    setWindowTitle(QStringLiteral("Listora"));
    setFont(uiFont());
    setGeometry(281, 151, 663, 437);
    setMinimumSize(629, 295);

    buildMenus();
    buildStrip();
    buildList();
    buildPopupMenu();

    setAcceptDrops(true);
    state_.autoSave = readAutoSaveSetting(fs_, prompts_, files_.settingsFile);
    autoSaveAction_->setChecked(state_.autoSave);
}

TForm1::~TForm1() {
    // The model reads the list, which is a member and goes before the
    // window's children do; so the model goes first.
    list_->setModel(nullptr);
    delete model_;
}

template <typename Command>
void TForm1::run(Command&& command) {
    runReportingErrors(prompts_, std::forward<Command>(command));
}

QAction* TForm1::addCommand(QMenu* menu, const QString& caption, const char* name, void (TForm1::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

// A command whose window or engine is not built yet shows, but cannot be used.
QAction* TForm1::addLaterCommand(QMenu* menu, const QString& caption, const char* name) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(false);
    return action;
}

void TForm1::buildMenus() {
    QMenu* main = menuBar()->addMenu(QStringLiteral("メイン"));
    addCommand(main, QStringLiteral("新規プレイリストの作成"), "menuNew", &TForm1::newPlaylist);
    QMenu* load = main->addMenu(QStringLiteral("プレイリストの読み込み"));
    addCommand(load, QStringLiteral("新規"), "menuLoadReplacing", &TForm1::loadReplacing);
    addCommand(load, QStringLiteral("追加"), "menuLoadAppending", &TForm1::loadAppending);
    gatherFolderAction_ =
        addCommand(main, QStringLiteral("下層フォルダの音楽ファイルを追加"), "menuGatherFolder", &TForm1::gatherFolder);
    gatherFolderAction_->setEnabled(false);  // until the chooser is there
    addCommand(main, QStringLiteral("保存"), "menuSave", &TForm1::savePlaylist);
    addLaterCommand(main, QStringLiteral("二つのプレイリストを比較"), "menuCompare");
    addCommand(main, QStringLiteral("終了"), "menuExit", &TForm1::exitProgram);

    QMenu* action = menuBar()->addMenu(QStringLiteral("アクション"));
    addCommand(action, QStringLiteral("移動"), "menuMove", &TForm1::move);
    addCommand(action, QStringLiteral("コピー"), "menuCopy", &TForm1::copy);
    addCommand(action, QStringLiteral("移動＋保存"), "menuMoveSave", &TForm1::moveAndSave);
    addCommand(action, QStringLiteral("コピー＋保存"), "menuCopySave", &TForm1::copyAndSave);
    addListCommand(action, QStringLiteral("ファイルの存在しないものを削除"), "menuRemoveMissing",
                   [this] { commands_.removeMissing(); });
    addListCommand(action, QStringLiteral("チェックされたリストを選択"), "menuSelectChecked",
                   [this] { selectChecked(state_.list); });
    addListCommand(action, QStringLiteral("全選択"), "menuSelectAll", [this] { selectAll(state_.list); });

    QMenu* settings = menuBar()->addMenu(QStringLiteral("設定"));
    autoSaveAction_ =
        addCommand(settings, QStringLiteral("プレイリストに自動的に保存"), "menuAutoSave", &TForm1::toggleAutoSave);
    autoSaveAction_->setCheckable(true);

    QMenu* windows = menuBar()->addMenu(QStringLiteral("サブウインド"));
    addLaterCommand(windows, QStringLiteral("検索"), "menuSearchWindow");
    addLaterCommand(windows, QStringLiteral("再生"), "menuPlayWindow");
    addLaterCommand(windows, QStringLiteral("ログ"), "menuLogWindow");

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ"));
    addLaterCommand(help, QStringLiteral("ヘルプ"), "menuHelp");
    addLaterCommand(help, QStringLiteral("バージョン情報"), "menuAbout");
}

void TForm1::buildStrip() {
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);

    const auto group = [&](int stretch) {
        auto* frame = new QFrame(strip);
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
        auto* layout = new QHBoxLayout(frame);
        layout->setContentsMargins(2, 1, 2, 1);
        layout->setSpacing(1);
        row->addWidget(frame, stretch);
        return layout;
    };
    const auto button = [&](QHBoxLayout* layout, QStyle::StandardPixmap icon, const QString& hint, const char* name,
                            void (TForm1::*handler)()) {
        auto* tool = new QToolButton(strip);
        tool->setObjectName(QString::fromLatin1(name));
        tool->setAutoRaise(true);
        tool->setFixedSize(23, 22);
        tool->setIconSize(QSize(16, 16));
        tool->setIcon(style()->standardIcon(icon));
        tool->setToolTip(hint);
        if (handler)
            connect(tool, &QToolButton::clicked, this, handler);
        else
            tool->setEnabled(false);
        layout->addWidget(tool);
    };

    QHBoxLayout* files = group(0);
    button(files, QStyle::SP_FileIcon, QStringLiteral("新規"), "buttonNew", &TForm1::newPlaylist);
    button(files, QStyle::SP_DialogOpenButton, QStringLiteral("開く"), "buttonOpen", &TForm1::openPlaylist);
    button(files, QStyle::SP_DialogSaveButton, QStringLiteral("保存"), "buttonSave", &TForm1::savePlaylist);
    QHBoxLayout* moves = group(0);
    button(moves, QStyle::SP_ArrowForward, QStringLiteral("移動"), "buttonMove", &TForm1::move);
    button(moves, QStyle::SP_DialogApplyButton, QStringLiteral("移動＋保存"), "buttonMoveSave", &TForm1::moveAndSave);
    QHBoxLayout* copies = group(0);
    button(copies, QStyle::SP_FileDialogNewFolder, QStringLiteral("コピー"), "buttonCopy", &TForm1::copy);
    button(copies, QStyle::SP_DriveFDIcon, QStringLiteral("コピー＋保存"), "buttonCopySave", &TForm1::copyAndSave);
    QHBoxLayout* windows = group(0);
    button(windows, QStyle::SP_MediaPlay, QStringLiteral("再生ウインド"), "buttonPlayWindow", nullptr);
    button(windows, QStyle::SP_FileDialogContentsView, QStringLiteral("検索ウインド"), "buttonSearchWindow", nullptr);
    button(windows, QStyle::SP_FileDialogDetailedView, QStringLiteral("ログウインド"), "buttonLogWindow", nullptr);

    QHBoxLayout* target = group(1);
    target->addWidget(new QLabel(QStringLiteral("移動先："), strip));
    destination_ = new QLineEdit(strip);
    destination_->setObjectName("destinationBox");
    destination_->setAcceptDrops(false);  // files dropped there are gathered like anywhere on the window
    connect(destination_, &QLineEdit::textChanged, this,
            [this](const QString& text) { state_.destinationFolder = fromQt(text); });
    target->addWidget(destination_, 1);
    chooseFolderButton_ = new QToolButton(strip);
    chooseFolderButton_->setObjectName("buttonChooseFolder");
    chooseFolderButton_->setText(QStringLiteral("…"));
    chooseFolderButton_->setToolTip(QStringLiteral("パス設定"));
    chooseFolderButton_->setFixedSize(22, 20);
    chooseFolderButton_->setEnabled(false);  // until the chooser is there
    connect(chooseFolderButton_, &QToolButton::clicked, this, &TForm1::chooseDestination);
    target->addWidget(chooseFolderButton_);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(strip);
    setCentralWidget(central);
}

void TForm1::buildList() {
    model_ = new PlaylistTableModel(state_.list, this);
    list_ = new QTableView(centralWidget());
    list_->setObjectName("mainList");
    list_->setModel(model_);
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setWordWrap(false);
    list_->setSortingEnabled(false);
    list_->verticalHeader()->hide();
    // One height for every row keeps a million rows cheap to lay out.
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
    QHeaderView* header = list_->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(true);
    list_->setColumnWidth(0, 160);
    list_->setColumnWidth(1, 64);
    list_->setColumnWidth(2, 160);
    // The selection stays visible while another window has the focus.
    QPalette palette = list_->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    list_->setPalette(palette);
    centralWidget()->layout()->addWidget(list_);

    connect(header, &QHeaderView::sectionClicked, this,
            [this](int column) { run([&] { commands_.sortByColumn(column); }); });
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TForm1::takeSelectionFromView);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (!mirroringSelection_)
            state_.list.setFocusRow(current.isValid() ? static_cast<std::size_t>(current.row()) : MainList::npos);
    });
    connect(model_, &PlaylistTableModel::coreSelectionChanged, this, &TForm1::mirrorSelectionFromCore);
    // Whatever the view's selection does while rows are rebuilt says nothing
    // about the core's; the core's is mirrored once the rebuild is done.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { mirroringSelection_ = true; });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { mirroringSelection_ = false; });

    status_ = new QLabel(this);
    status_->setObjectName("statusLine");
    statusLine_.setLabel(status_);
    statusBar()->addWidget(status_, 1);
}

void TForm1::buildPopupMenu() {
    popup_ = new QMenu(this);
    addLaterCommand(popup_, QStringLiteral("再生"), "popupPlay");
    addLaterCommand(popup_, QStringLiteral("検索"), "popupSearch");
    popup_->addSeparator();
    addListCommand(popup_, QStringLiteral("フォルダを開く"), "popupOpenFolder", [this] { commands_.openFolder(); });
    renameAction_ = addListCommand(popup_, QStringLiteral("ファイル名の変更"), "popupRename", [this] { renameFile(); });
    renameAction_->setEnabled(false);  // until the name input window is there
    popup_->addSeparator();
    QMenu* selection = popup_->addMenu(QStringLiteral("選択"));
    addListCommand(selection, QStringLiteral("切り取り"), "popupCut",
                   [this] { cutSelected(state_.list, state_.cutBuffer); });
    pasteAction_ = addListCommand(selection, QStringLiteral("貼り付け"), "popupPaste",
                                  [this] { pasteCut(state_.list, state_.cutBuffer); });
    selection->addSeparator();
    addListCommand(selection, QStringLiteral("選択反転"), "popupInvertSelection",
                   [this] { invertSelection(state_.list); });
    addListCommand(selection, QStringLiteral("リストから削除"), "popupRemoveFromList",
                   [this] { commands_.removeFromList(); });
    addListCommand(selection, QStringLiteral("ファイルごと削除"), "popupDeleteWithFile",
                   [this] { commands_.deleteWithFile(); });
    QMenu* check = popup_->addMenu(QStringLiteral("チェック"));
    addListCommand(check, QStringLiteral("チェック"), "popupCheck", [this] { checkSelected(state_.list); });
    addListCommand(check, QStringLiteral("チェック反転"), "popupInvertCheck",
                   [this] { invertCheckOfSelected(state_.list); });
    addListCommand(check, QStringLiteral("チェック解除"), "popupUncheck", [this] { uncheckSelected(state_.list); });
    connect(popup_, &QMenu::aboutToShow, this, &TForm1::updatePopupMenu);
    updatePopupMenu();
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(list_->viewport()->mapToGlobal(at)); });
}

void TForm1::mirrorSelectionFromCore() {
    mirroringSelection_ = true;
    QItemSelection selection;
    const auto& rows = state_.list.rows();
    const int lastColumn = model_->columnCount() - 1;
    for (std::size_t i = 0; i < rows.size();) {
        if (!rows[i].selected) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end + 1 < rows.size() && rows[end + 1].selected) ++end;
        selection.select(model_->index(static_cast<int>(i), 0), model_->index(static_cast<int>(end), lastColumn));
        i = end + 1;
    }
    // Clearing first: ClearAndSelect weighs every old range against every new
    // one, which takes minutes for scattered selections on a million rows.
    QItemSelectionModel* selectionModel = list_->selectionModel();
    selectionModel->clearSelection();
    selectionModel->select(selection, QItemSelectionModel::Select);
    const std::size_t focus = state_.list.focusRow();
    selectionModel->setCurrentIndex(focus == MainList::npos ? QModelIndex() : model_->index(static_cast<int>(focus), 0),
                                    QItemSelectionModel::NoUpdate);
    mirroringSelection_ = false;
}

void TForm1::takeSelectionFromView(const QItemSelection& selected, const QItemSelection& deselected) {
    if (mirroringSelection_) return;
    const auto apply = [this](const QItemSelection& ranges, bool value) {
        for (const QItemSelectionRange& range : ranges)
            for (int row = range.top(); row <= range.bottom(); ++row)
                state_.list.setSelected(static_cast<std::size_t>(row), value);
    };
    apply(deselected, false);
    apply(selected, true);
}

void TForm1::newPlaylist() {
    run([&] { commands_.newPlaylist(); });
}
void TForm1::openPlaylist() {
    run([&] { commands_.open(); });
}
void TForm1::loadReplacing() {
    run([&] { commands_.loadReplacing(); });
}
void TForm1::loadAppending() {
    run([&] { commands_.loadAppending(); });
}
void TForm1::savePlaylist() {
    run([&] { commands_.save(); });
}
void TForm1::exitProgram() { close(); }
void TForm1::move() {
    run([&] { commands_.transfer("move"); });
}
void TForm1::copy() {
    run([&] { commands_.transfer("copy"); });
}
void TForm1::moveAndSave() {
    run([&] { commands_.transferAndSave("move"); });
}
void TForm1::copyAndSave() {
    run([&] { commands_.transferAndSave("copy"); });
}

void TForm1::toggleAutoSave() {
    commands_.toggleAutoSave();
    autoSaveAction_->setChecked(state_.autoSave);
}

template <typename Command>
QAction* TForm1::addListCommand(QMenu* menu, const QString& caption, const char* name, Command command) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, command] { run(command); });
    return action;
}

// "貼り付け" can be used exactly when rows wait in the cut buffer.
void TForm1::updatePopupMenu() { pasteAction_->setEnabled(!state_.cutBuffer.empty()); }

void TForm1::setNameAsker(NameAsker* asker) {
    nameAsker_ = asker;
    renameAction_->setEnabled(asker != nullptr);
}

void TForm1::renameFile() {
    if (nameAsker_) commands_.renameFile(*nameAsker_);
}

void TForm1::setFolderPicker(FolderPicker* picker) {
    folderPicker_ = picker;
    chooseFolderButton_->setEnabled(picker != nullptr);
    gatherFolderAction_->setEnabled(picker != nullptr);
}

void TForm1::chooseDestination() {
    const std::optional<std::string> path = folderPicker_->pickFolder(kPurposeDestination);
    if (!path) return;
    // The folder's own bytes become the destination; the box only shows them.
    const QSignalBlocker quiet(destination_);
    destination_->setText(toQt(*path));
    state_.destinationFolder = *path;
}

void TForm1::gatherFolder() {
    if (const std::optional<std::string> path = folderPicker_->pickFolder(kPurposeGather))
        state_.gatherQueue.push_back(*path);
    gather();  // also after "No.": paths an earlier error left are gathered
}

void TForm1::dropPaths(const std::vector<std::string>& paths) {
    state_.gatherQueue.insert(state_.gatherQueue.end(), paths.begin(), paths.end());
    gather();
}

void TForm1::gather() {
    if (state_.gatherQueue.empty()) return;
    // A long walk holds the window; the cursor says so, and the status line
    // counts what it finds.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    run([&] { commands_.gather(); });
    QApplication::restoreOverrideCursor();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

std::vector<std::string> droppedPaths(const QMimeData& data) {
    std::vector<std::string> paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) continue;
        // The file system's own bytes, whole, from the URL's escapes: a name
        // that is no valid UTF-8 would not survive a QString.
        const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        paths.push_back(convertCodePage(bytes.toStdString(), fileNameCodePage(), systemCodePage()));
    }
    return paths;
}

void TForm1::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    // The walk starts once the drop has returned, so the file manager the
    // files came from is not held until a long walk or a question is done.
    QTimer::singleShot(0, this, [this, paths = droppedPaths(*event->mimeData())] { dropPaths(paths); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    // The list is not saved and nothing is asked; only the setting is kept.
    const bool written =
        runReportingErrors(prompts_, [&] { writeAutoSaveSetting(fs_, files_.settingsFile, state_.autoSave); });
    if (written)
        event->accept();
    else
        event->ignore();
}

}  // namespace listora
