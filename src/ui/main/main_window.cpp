#include "ui/main/main_window.h"

#include "core/app/options_file.h"
#include "core/app/settings_file.h"
#include "core/errors/errors.h"
#include "ui/common/dropped_paths.h"
#include "ui/common/list_selection_model.h"
#include "ui/common/paint_now.h"
#include "ui/common/text_bridge.h"
#include "ui/common/ui_font.h"
#include "ui/common/view_style.h"
#include "ui/main/playlist_table_model.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace listora {

TForm1::TForm1(FileSystem& fs, Prompts& prompts, const Clock& clock, Shell& shell, ProgramFiles files, QWidget* parent)
    : QMainWindow(parent),
      fs_(fs),
      prompts_(prompts),
      shell_(shell),
      files_(std::move(files)),
      commands_(state_, {fs, prompts, clock, statusLine_, shell, &readProgress_}, PathRules::native(),
                files_.logFolder),
      commandSet_([this](const Handler& handler) {
          paintShownWindowsNow();  // the menu that started a long command is not left drawn over the list
          runReportingErrors(prompts_, handler);
      }) {
    setWindowTitle(QStringLiteral("Listora"));
    setFont(uiFont());
    setGeometry(281, 151, 663, 437);
    setMinimumSize(629, 295);

    commandSet_.addMenus(*menuBar(), menuRows());
    autoSaveAction_ = commandSet_.action("menuAutoSave");
    buildStrip();
    buildList();
    buildPopupMenu();

    setAcceptDrops(true);
    state_.autoSave = readAutoSaveSetting(fs_, prompts_, files_.settingsFile);
    autoSaveAction_->setChecked(state_.autoSave);
    state_.readTagsOnAdd = readOptionFlag(fs_, files_.optionsFile, kReadTagsOnAddKey);
    readTagsOnAddAction_ = commandSet_.action("menuReadTagsOnAdd");
    readTagsOnAddAction_->setChecked(state_.readTagsOnAdd);
    state_.allMusicTypes = readOptionFlag(fs_, files_.optionsFile, kAllMusicTypesKey);
    allMusicTypesAction_ = commandSet_.action("menuAllMusicTypes");
    allMusicTypesAction_->setChecked(state_.allMusicTypes);
}

TForm1::~TForm1() {
    // The model reads the list, which is a member and goes before the
    // window's children do; so the model goes first, after the selection
    // model that reads it.
    delete selection_;
    list_->setModel(nullptr);
    delete model_;
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
    for (const std::vector<ToolRow>& buttons : toolRows()) commandSet_.addToolButtons(*group(0), *strip, buttons);

    QHBoxLayout* target = group(1);
    target->addWidget(new QLabel(QStringLiteral("移動先："), strip));
    destination_ = new QLineEdit(strip);
    destination_->setObjectName("destinationBox");
    destination_->setAcceptDrops(false);  // files dropped there are gathered like anywhere on the window
    connect(destination_, &QLineEdit::textChanged, this,
            [this](const QString& text) { state_.destinationFolder = fromQt(text); });
    target->addWidget(destination_, 1);
    auto* chooseFolder = new QToolButton(strip);
    chooseFolder->setObjectName("buttonChooseFolder");
    chooseFolder->setText(QStringLiteral("…"));
    chooseFolder->setToolTip(QStringLiteral("パス設定"));
    chooseFolder->setFixedSize(22, 20);
    commandSet_.addButton(
        *chooseFolder, [this] { chooseDestination(); }, [this] { return folderPicker_ != nullptr; });
    target->addWidget(chooseFolder);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(strip);
    setCentralWidget(central);
}

void TForm1::buildList() {
    model_ = new PlaylistTableModel(state_.list, this);
    list_ = new RowList(centralWidget());
    list_->setObjectName("mainList");
    list_->setModel(model_);
    setUpRowList(*list_);
    list_->setSortingEnabled(false);
    QHeaderView* header = list_->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(true);
    list_->setColumnWidth(0, 160);
    list_->setColumnWidth(1, 64);
    list_->setColumnWidth(2, 160);
    centralWidget()->layout()->addWidget(list_);

    connect(list_, &QAbstractItemView::doubleClicked, this,
            [this] { runReportingErrors(prompts_, [&] { playEntry(); }); });
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int column) { runReportingErrors(prompts_, [&] { commands_.sortByColumn(column); }); });
    selection_ = new ListSelectionModel(*list_, *model_);
    connect(model_, &PlaylistTableModel::coreSelectionChanged, selection_, &ListSelectionModel::showListSelection);

    status_ = new QLabel(this);
    status_->setObjectName("statusLine");
    statusLine_.setLabel(status_);
    statusBar()->addWidget(status_, 1);

    readBar_ = new QProgressBar(this);
    readBar_->setObjectName("readProgress");
    readBar_->setRange(0, 100);
    readBar_->setMaximumWidth(200);
    statusBar()->addPermanentWidget(readBar_);
    readBar_->hide();
    readProgress_.setBar(readBar_);
}

void TForm1::buildPopupMenu() {
    popup_ = new QMenu(this);
    commandSet_.addRows(*popup_, popupRows());
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(list_->viewport()->mapToGlobal(at)); });
}

void TForm1::setNameAsker(NameAsker* asker) {
    nameAsker_ = asker;
    commandSet_.refresh();
}

void TForm1::setFolderPicker(FolderPicker* picker) {
    folderPicker_ = picker;
    commandSet_.refresh();
}

void TForm1::dropPaths(const std::vector<std::string>& paths) {
    state_.gatherQueue.insert(state_.gatherQueue.end(), paths.begin(), paths.end());
    gather();
}

void TForm1::dropPathsSoon(std::vector<std::string> paths) { dropPathsOnceShown(std::move(paths), kShowWaits); }

// A window not yet on the screen cannot paint, so a long read started before
// it is would show neither the window nor the read's progress until the end.
// The walk waits for the window, a second at most: one shown minimised is
// never on the screen.
void TForm1::dropPathsOnceShown(std::vector<std::string> paths, int waitsLeft) {
    QTimer::singleShot(waitsLeft == kShowWaits ? 0 : 20, this, [this, paths = std::move(paths), waitsLeft]() mutable {
        const QWindow* window = windowHandle();
        if (waitsLeft > 0 && window && !window->isExposed()) return dropPathsOnceShown(std::move(paths), waitsLeft - 1);
        if (readingTags_) return dropPathsOnceShown(std::move(paths), 0);
        dropPaths(paths);
    });
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (holdsLocalFiles(*event->mimeData())) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    // The walk starts once the drop has returned, so the file manager the
    // files came from is not held until a long walk or a question is done.
    dropPathsSoon(droppedPaths(*event->mimeData()));
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (readingTags_) {
        event->ignore();
        return;
    }
    // The list is not saved and nothing is asked; only the setting is kept.
    // When it cannot be written the window stays open, once: the next close
    // ends the program without it, so a setting that can never be written
    // does not keep the window on the screen for good.
    const bool written =
        runReportingErrors(prompts_, [&] { writeAutoSaveSetting(fs_, files_.settingsFile, state_.autoSave); });
    if (!written && !closeRefused_) {
        closeRefused_ = true;
        event->ignore();
        return;
    }
    event->accept();
    // The search and playback windows have no parent, so that the main
    // window can come in front of them; they go with the main window.
    if (QWidget* search = searchWindow_.window()) search->close();
    if (QWidget* play = playWindow_.window()) play->close();
}

}  // namespace listora
