#include "ui/repair/repair_window.h"

#include "core/playlist/main_list.h"
#include "core/ports/choosers.h"
#include "ui/common/modal_run.h"
#include "ui/common/text_bridge.h"
#include "ui/repair/candidate_delegate.h"
#include "ui/repair/repair_result_model.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace listora {

RepairWindow::RepairWindow(FileSystem& fs, const PathRules& rules, FolderPicker* picker, QWidget* parent)
    : QDialog(parent), fs_(fs), rules_(rules), picker_(picker) {
    setObjectName("repairWindow");
    setWindowTitle(QStringLiteral("リンク切れを修復"));
    resize(760, 520);

    model_ = new RepairResultModel(choices_, this);
    results_ = new QTableView(this);
    results_->setObjectName("repairResults");
    results_->setModel(model_);
    results_->setItemDelegateForColumn(RepairResultModel::NewPath, new CandidateDelegate(results_));
    results_->setSelectionBehavior(QAbstractItemView::SelectRows);
    results_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    results_->verticalHeader()->hide();
    results_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    results_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    results_->horizontalHeader()->setStretchLastSection(true);
    results_->setColumnWidth(RepairResultModel::OldPath, 300);
    results_->setColumnWidth(RepairResultModel::NewPath, 300);

    summary_ = new QLabel(this);
    summary_->setObjectName("repairSummary");
    progress_ = new QProgressBar(this);
    progress_->setObjectName("repairProgress");
    stop_ = new QPushButton(QStringLiteral("中止"), this);
    apply_ = new QPushButton(QStringLiteral("適用"), this);
    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    auto* status = new QHBoxLayout;
    status->addWidget(summary_, 1);
    status->addWidget(progress_);
    status->addWidget(stop_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply_);
    buttons->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addLayout(buildFolders());
    layout->addLayout(status);
    layout->addWidget(results_, 1);
    layout->addLayout(buildReplacement());
    layout->addLayout(buttons);

    connect(stop_, &QPushButton::clicked, this, [this] { stopAsked_ = true; });
    connect(apply_, &QPushButton::clicked, this, [this] {
        const std::vector<RowRepair> repairs = choices_.repairs();
        accept();  // the Save dialog, if one is asked, comes over the main window
        emit repairsChosen(repairs);
    });
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    setSearching(false);
}

QLayout* RepairWindow::buildFolders() {
    folders_ = new QListWidget(this);
    folders_->setObjectName("repairFolders");
    folders_->setMaximumHeight(90);
    addFolder_ = new QPushButton(QStringLiteral("追加…"), this);
    removeFolder_ = new QPushButton(QStringLiteral("削除"), this);
    ignoreCase_ = new QCheckBox(QStringLiteral("大文字と小文字を区別しない"), this);
    closest_ = new QCheckBox(QStringLiteral("似た名前も探す"), this);
    search_ = new QPushButton(QStringLiteral("検索"), this);
    search_->setDefault(true);

    auto* side = new QVBoxLayout;
    side->addWidget(addFolder_);
    side->addWidget(removeFolder_);
    side->addStretch();
    auto* options = new QHBoxLayout;
    options->addWidget(ignoreCase_);
    options->addWidget(closest_);
    options->addStretch();
    options->addWidget(search_);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("検索するフォルダ"), this), 0, 0, 1, 2);
    grid->addWidget(folders_, 1, 0);
    grid->addLayout(side, 1, 1);
    grid->addLayout(options, 2, 0, 1, 2);

    connect(addFolder_, &QPushButton::clicked, this, &RepairWindow::addFolder);
    connect(removeFolder_, &QPushButton::clicked, this, [this] { delete folders_->currentItem(); });
    connect(search_, &QPushButton::clicked, this, &RepairWindow::searchNow);
    addFolder_->setEnabled(picker_ != nullptr);
    return grid;
}

QLayout* RepairWindow::buildReplacement() {
    replaceFrom_ = new QLineEdit(this);
    replaceFrom_->setObjectName("replaceFrom");
    replaceTo_ = new QLineEdit(this);
    replaceTo_->setObjectName("replaceTo");
    chooseReplaceTo_ = new QPushButton(QStringLiteral("…"), this);
    chooseReplaceTo_->setFixedWidth(28);
    chooseReplaceTo_->setEnabled(picker_ != nullptr);
    replace_ = new QPushButton(QStringLiteral("置き換え"), this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("フォルダの置き換え"), this), 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("置き換え前"), this), 1, 0);
    grid->addWidget(replaceFrom_, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("置き換え後"), this), 2, 0);
    grid->addWidget(replaceTo_, 2, 1);
    grid->addWidget(chooseReplaceTo_, 2, 2);
    grid->addWidget(replace_, 2, 3);

    connect(chooseReplaceTo_, &QPushButton::clicked, this, [this] {
        if (const std::optional<std::string> path = picker_->pickFolder(FolderPurpose::Repair))
            replaceTo_->setText(toQt(*path));
    });
    connect(replace_, &QPushButton::clicked, this, [this] {
        const std::string from = fromQt(replaceFrom_->text());
        const std::string to = fromQt(replaceTo_->text());
        if (from.empty() || to.empty()) return;
        clearResults();  // the paths they were about change
        emit folderReplaceRequested({from, to});
    });
    return grid;
}

void RepairWindow::openFor(const MainList& list) {
    list_ = &list;
    clearResults();
    runModal(*this);
    clearResults();  // the rows may change before the next opening
}

void RepairWindow::clearResults() {
    model_->reset(list_ ? &list_->rows() : nullptr, {});
    summary_->clear();
}

void RepairWindow::showReplaced(std::size_t count) {
    summary_->setText(QStringLiteral("%1個のパスを置き換えました").arg(count));
}

void RepairWindow::addFolder() {
    const std::optional<std::string> path = picker_->pickFolder(FolderPurpose::Repair);
    if (!path || path->empty()) return;
    const QString folder = toQt(*path);
    if (folders_->findItems(folder, Qt::MatchExactly).isEmpty()) folders_->addItem(folder);
}

void RepairWindow::searchNow() {
    if (!list_) return;
    RepairSearch search{{}, ignoreCase_->isChecked(), closest_->isChecked()};
    for (int i = 0; i < folders_->count(); ++i) search.folders.push_back(fromQt(folders_->item(i)->text()));
    if (search.folders.empty()) {
        summary_->setText(QStringLiteral("検索するフォルダを追加してください"));
        return;
    }
    clearResults();
    setSearching(true);
    std::optional<std::vector<RepairProposal>> found = findRepairs(list_->rows(), fs_, rules_, search, this);
    setSearching(false);
    if (!found) {
        summary_->setText(QStringLiteral("中止しました"));
        return;
    }
    model_->reset(&list_->rows(), std::move(*found));
    showSummary();
}

void RepairWindow::showSummary() {
    if (choices_.count() == 0) {
        summary_->setText(QStringLiteral("リンク切れはありません"));
        return;
    }
    summary_->setText(QStringLiteral("見つかった：%1個　候補あり：%2個　見つからない：%3個")
                          .arg(choices_.countOf(RepairKind::Found))
                          .arg(choices_.countOf(RepairKind::Closest) + choices_.countOf(RepairKind::Ambiguous))
                          .arg(choices_.countOf(RepairKind::Missing)));
}

// While the search runs, only "中止" takes input.
void RepairWindow::setSearching(bool searching) {
    searching_ = searching;
    stopAsked_ = false;
    for (QWidget* control :
         std::initializer_list<QWidget*>{folders_, removeFolder_, ignoreCase_, closest_, search_, results_,
                                         replaceFrom_, replaceTo_, replace_, apply_, close_})
        control->setEnabled(!searching);
    addFolder_->setEnabled(!searching && picker_);
    chooseReplaceTo_->setEnabled(!searching && picker_);
    progress_->setVisible(searching);
    stop_->setVisible(searching);
    progress_->setRange(0, 0);
}

bool RepairWindow::carryOn(const RepairStep& step) {
    if (step.rows == 0) {
        summary_->setText(QStringLiteral("フォルダを読んでいます…（%1個のファイル）").arg(step.filesIndexed));
    } else {
        summary_->setText(QStringLiteral("照合しています…"));
        progress_->setRange(0, static_cast<int>(std::min<std::size_t>(step.rows, INT_MAX)));
        progress_->setValue(static_cast<int>(std::min<std::size_t>(step.rowsChecked, INT_MAX)));
    }
    QCoreApplication::processEvents();
    return !stopAsked_;
}

void RepairWindow::reject() {
    if (searching_) {
        stopAsked_ = true;
        return;
    }
    QDialog::reject();
}

}  // namespace listora
