#include "ui/logview/log_window.h"

#include "core/errors/errors.h"
#include "ui/common/list_selection_model.h"
#include "ui/common/modal_run.h"
#include "ui/common/text_bridge.h"
#include "ui/common/view_style.h"
#include "ui/logview/log_record_model.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

namespace listora {

TForm5::TForm5(FileSystem& fs, Prompts& prompts, std::string logFolder, QWidget* parent)
    : QDialog(parent), prompts_(prompts), viewer_(fs, prompts, std::move(logFolder)) {
    setWindowTitle(QStringLiteral("ログ"));
    setModal(true);
    resize(640, 420);

    dayBox_ = new QComboBox(this);
    dayBox_->setObjectName("dayBox");
    dayBox_->setEditable(true);
    dayBox_->setFixedWidth(145);
    // Every keystroke loads the name as typed, so nothing completes it, and
    // a typed name is not added to the list.
    dayBox_->setCompleter(nullptr);
    dayBox_->setInsertPolicy(QComboBox::NoInsert);
    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setAutoDefault(false);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("移動日時"), this));
    top->addWidget(dayBox_);
    top->addWidget(close_);
    top->addStretch();

    model_ = new LogRecordModel(viewer_, this);
    list_ = new RowList(this);
    list_->setObjectName("recordList");
    list_->setModel(model_);
    setUpRowList(*list_);
    // The two paths share what the name and the kind leave of the width.
    QHeaderView* header = list_->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    header->setSectionResizeMode(1, QHeaderView::Fixed);
    header->setSectionResizeMode(2, QHeaderView::Stretch);
    header->setSectionResizeMode(3, QHeaderView::Stretch);
    list_->setColumnWidth(0, 110);
    list_->setColumnWidth(1, 50);
    selection_ = new ListSelectionModel(*list_, *model_);

    auto* searchGroup = new QGroupBox(QStringLiteral("検索"), this);
    word_ = new QLineEdit(searchGroup);
    word_->setObjectName("searchWord");
    search_ = new QPushButton(QStringLiteral("検索"), searchGroup);
    search_->setAutoDefault(false);
    auto* positionGroup = new QGroupBox(QStringLiteral("検索位置"), searchGroup);
    auto* positionRow = new QHBoxLayout(positionGroup);
    auto* positionChoice = new QButtonGroup(this);
    const QString captions[] = {QStringLiteral("ファイル名"), QStringLiteral("移動前パス"),
                                QStringLiteral("移動後パス")};
    for (int i = 0; i < 3; ++i) {
        positions_[i] = new QRadioButton(captions[i], positionGroup);
        positionChoice->addButton(positions_[i], i);
        positionRow->addWidget(positions_[i]);
    }
    positions_[0]->setChecked(true);
    refine_ = new QCheckBox(QStringLiteral("絞込み検索"), searchGroup);
    auto* wordRow = new QHBoxLayout;
    wordRow->addWidget(new QLabel(QStringLiteral("検索語"), searchGroup));
    wordRow->addWidget(word_, 1);
    wordRow->addWidget(search_);
    auto* choiceRow = new QHBoxLayout;
    choiceRow->addWidget(positionGroup);
    choiceRow->addWidget(refine_);
    choiceRow->addStretch();
    auto* searchLayout = new QVBoxLayout(searchGroup);
    searchLayout->addLayout(wordRow);
    searchLayout->addLayout(choiceRow);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(list_, 1);
    layout->addWidget(searchGroup);

    // Picking a name and typing one both load it; the program's own changes
    // to the box do not.
    connect(dayBox_, &QComboBox::textActivated, this, &TForm5::loadDay);
    connect(dayBox_->lineEdit(), &QLineEdit::textEdited, this, &TForm5::loadDay);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(search_, &QPushButton::clicked, this, &TForm5::search);
    connect(word_, &QLineEdit::returnPressed, this, &TForm5::search);
}

TForm5::~TForm5() {
    // The model reads the viewer, a member that goes before the children do.
    delete selection_;
    list_->setModel(nullptr);
    delete model_;
}

void TForm5::prepareOpening() {
    {
        const LogRecordModel::Change change(*model_);
        viewer_.clear();
    }
    const std::vector<std::string> names = viewer_.open();  // a listing error is shown over an empty list
    const QSignalBlocker quiet(dayBox_);
    dayBox_->clear();
    for (const std::string& name : names) dayBox_->addItem(toQt(name));
    dayBox_->setEditText(QString());
}

void TForm5::openLog() {
    prepareOpening();
    runModal(*this);
}

void TForm5::loadDay(const QString& name) {
    runReportingErrors(prompts_, [&] {
        const LogRecordModel::Change change(*model_);
        viewer_.loadDay(fromQt(name));
    });
}

void TForm5::search() {
    LogSearchSettings settings;
    settings.word = fromQt(word_->text());
    for (int i = 0; i < 3; ++i)
        if (positions_[i]->isChecked()) settings.column = static_cast<LogColumn>(i);
    settings.refine = refine_->isChecked();
    viewer_.search(settings);
    selection_->showListSelection();
    list_->setFocus();
}

}  // namespace listora
