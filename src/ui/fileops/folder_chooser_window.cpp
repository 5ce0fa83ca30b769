#include "ui/fileops/folder_chooser_window.h"

#include "core/paths/path_rules.h"
#include "ui/common/modal_run.h"
#include "ui/common/text_bridge.h"
#include "ui/common/view_style.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPersistentModelIndex>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace listora {

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setUpFixedDialog(*this, QStringLiteral("選択"), QSize(238, 306));

    // Folders only, read in the background so that a folder of many
    // thousands of entries does not hold the window; the tree is read again
    // only where a folder is made.
    model_ = new QFileSystemModel(this);
    model_->setOption(QFileSystemModel::DontWatchForChanges, true);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setReadOnly(false);  // lets the tree make new folders
    model_->setRootPath(QDir::rootPath());

    tree_ = new QTreeView(this);
    tree_->setObjectName("folderTree");
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);
    tree_->header()->hide();
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex clicked = tree_->indexAt(at);
        if (clicked.isValid()) tree_->setCurrentIndex(clicked);  // a right click selects
    });
    keepSelectionVisible(*tree_);

    newFolder_ = new QPushButton(QStringLiteral("新規フォルダ"), this);
    ok_ = new QPushButton(QStringLiteral("OK."), this);
    no_ = new QPushButton(QStringLiteral("No."), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newFolder_);
    buttons->addWidget(ok_);
    buttons->addWidget(no_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(new QLabel(QStringLiteral("選択パス"), this));
    layout->addWidget(tree_, 1);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &TForm2::confirm);
    connect(no_, &QPushButton::clicked, this, &QDialog::reject);
    connect(newFolder_, &QPushButton::clicked, this, &TForm2::makeNewFolder);
}

void TForm2::preparePick(FolderPurpose purpose) {
    purpose_ = purpose;
    result_.reset();
    if (!shownBefore_) {  // the first time, the user's home folder is at hand
        shownBefore_ = true;
        if (!tree_->currentIndex().isValid()) selectFolder(fromQt(QDir::homePath()));
    }
}

std::optional<std::string> TForm2::pickFolder(FolderPurpose purpose) {
    preparePick(purpose);
    runModal(*this);
    return result_;
}

std::string TForm2::chosenPath() const {
    const QModelIndex current = tree_->currentIndex();
    return current.isValid() ? fromQt(model_->filePath(current)) : std::string();
}

void TForm2::selectFolder(const std::string& path) {
    const QModelIndex folder = model_->index(toQt(path));
    if (!folder.isValid()) return;
    tree_->setCurrentIndex(folder);
    tree_->scrollTo(folder);
}

void TForm2::confirm() {
    result_ = chosenPath();
    purpose_ = FolderPurpose::Destination;
    accept();
}

void TForm2::makeNewFolder() {
    if (!nameAsker_) return;
    // The tree goes on filling while the name is asked, so the parent is
    // held by an index that follows its row; without one nothing is made,
    // rather than a folder in whatever folder is current.
    const QPersistentModelIndex parent = tree_->currentIndex();
    if (!parent.isValid()) return;
    const std::optional<std::string> name = nameAsker_->askName(NameMode::NewFolder, "", "");
    if (!name || !parent.isValid()) return;
    // A folder that cannot be made (a name taken or refused) shows nothing;
    // either way the parent stays selected, now showing its new child. A
    // name with a separator or "..", which would make the folder elsewhere
    // and give the tree a child the parent does not have, is refused alike.
    if (!PathRules::native().isPlainName(*name)) return;
    model_->mkdir(parent, toQt(*name));
    tree_->expand(parent);
    tree_->setCurrentIndex(parent);
}

}  // namespace listora
