#include "ui/search/search_window.h"

#include "core/ports/choosers.h"
#include "ui/common/text_bridge.h"
#include "ui/common/view_style.h"
#include "ui/search/time_box.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace listora {

TForm3::TForm3(FolderPicker* picker, QWidget* parent) : QDialog(parent), picker_(picker) {
    setUpFixedDialog(*this, QStringLiteral("検索"), QSize(388, 183));
    setModal(false);

    auto* group = new QGroupBox(QStringLiteral("検索位置"), this);
    auto* positionRow = new QHBoxLayout(group);
    auto* positionChoice = new QButtonGroup(this);
    const QString captions[] = {QStringLiteral("曲名"), QStringLiteral("長さ"), QStringLiteral("ファイル名"),
                                QStringLiteral("フルパス")};
    for (int i = 0; i < 4; ++i) {
        positions_[i] = new QRadioButton(captions[i], group);
        positionChoice->addButton(positions_[i], i);
        positionRow->addWidget(positions_[i]);
    }
    positions_[0]->setChecked(true);

    prompt_ = new QLabel(this);
    text_ = new QLineEdit(this);
    text_->setObjectName("searchText");
    chooseFolder_ = new QPushButton(QStringLiteral("・・・"), this);
    chooseFolder_->setFixedWidth(40);
    chooseFolder_->setEnabled(picker_ != nullptr);
    minutes_ = new TimeBox(this);
    minutes_->setObjectName("minutes");
    minutesLabel_ = new QLabel(QStringLiteral("分"), this);
    seconds_ = new TimeBox(this);
    seconds_->setObjectName("seconds");
    secondsLabel_ = new QLabel(QStringLiteral("秒"), this);
    comparison_ = new QComboBox(this);
    comparison_->addItems({QStringLiteral("以上"), QStringLiteral("以下")});
    caseSensitive_ = new QCheckBox(QStringLiteral("大文字と小文字を区別する"), this);
    refine_ = new QCheckBox(QStringLiteral("絞込み検索"), this);
    search_ = new QPushButton(QStringLiteral("検索"), this);
    search_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);

    auto* input = new QHBoxLayout;
    input->addWidget(text_, 1);
    input->addWidget(chooseFolder_);
    input->addWidget(minutes_);
    input->addWidget(minutesLabel_);
    input->addWidget(seconds_);
    input->addWidget(secondsLabel_);
    input->addWidget(comparison_);
    input->addStretch();
    auto* checks = new QHBoxLayout;
    checks->addWidget(caseSensitive_);
    checks->addWidget(refine_);
    checks->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(search_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    layout->addWidget(group);
    layout->addWidget(prompt_);
    layout->addLayout(input);
    layout->addLayout(checks);
    layout->addLayout(buttons);

    connect(positionChoice, &QButtonGroup::idClicked, this,
            [this](int id) { showInputsFor(static_cast<SearchPosition>(id)); });
    connect(chooseFolder_, &QPushButton::clicked, this, &TForm3::chooseFolder);
    connect(search_, &QPushButton::clicked, this, [this] { emit searchRequested(settings()); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::close);
    // Closing by "キャンセル", the close box or Escape destroys the window.
    connect(this, &QDialog::rejected, this, &QDialog::close);
    showInputsFor(SearchPosition::Title);
}

QRadioButton* TForm3::positionButton(SearchPosition position) const { return positions_[static_cast<int>(position)]; }

SearchPosition TForm3::position() const {
    for (int i = 0; i < 4; ++i)
        if (positions_[i]->isChecked()) return static_cast<SearchPosition>(i);
    return SearchPosition::Title;
}

// Only what the position needs shows; every value stays as it was.
void TForm3::showInputsFor(SearchPosition position) {
    const bool byLength = position == SearchPosition::Length;
    prompt_->setText(byLength ? QStringLiteral("検索する時間") : QStringLiteral("検索する文字列"));
    text_->setVisible(!byLength);
    for (QWidget* time :
         {static_cast<QWidget*>(minutes_), static_cast<QWidget*>(minutesLabel_), static_cast<QWidget*>(seconds_),
          static_cast<QWidget*>(secondsLabel_), static_cast<QWidget*>(comparison_)})
        time->setVisible(byLength);
    chooseFolder_->setVisible(position == SearchPosition::FullPath);
    caseSensitive_->setEnabled(!byLength);
}

SearchSettings TForm3::settings() const {
    SearchSettings settings;
    settings.position = position();
    settings.text = fromQt(text_->text());
    settings.minutes = minutes_->value();
    settings.seconds = seconds_->value();
    settings.comparison = static_cast<LengthComparison>(comparison_->currentIndex());
    settings.caseSensitive = caseSensitive_->isChecked();
    settings.refine = refine_->isChecked();
    return settings;
}

void TForm3::chooseFolder() {
    if (const std::optional<std::string> path = picker_->pickFolder(FolderPurpose::SearchText))
        text_->setText(toQt(*path));
}

}  // namespace listora
