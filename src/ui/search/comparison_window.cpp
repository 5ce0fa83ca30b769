#include "ui/search/comparison_window.h"

#include "core/playlist/playlist_dialogs.h"
#include "ui/common/text_bridge.h"
#include "ui/common/view_style.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace listora {

TForm6::TForm6(Prompts& prompts, PlaylistDialogs& dialogs, QWidget* parent)
    : QDialog(parent), prompts_(prompts), dialogs_(dialogs) {
    setUpFixedDialog(*this, QStringLiteral("比較"), QSize(340, 141));

    a_ = new QLineEdit(this);
    a_->setObjectName("playlistA");
    b_ = new QLineEdit(this);
    b_->setObjectName("playlistB");
    chooseA_ = new QPushButton(QStringLiteral("…"), this);
    chooseB_ = new QPushButton(QStringLiteral("…"), this);
    for (QPushButton* choose : {chooseA_, chooseB_}) choose->setFixedWidth(28);
    method_ = new QComboBox(this);
    method_->addItems({QStringLiteral("AとBの違いを検出"), QStringLiteral("AとBの共通点を検出"),
                       QStringLiteral("Aのみに存在するものを検出")});
    detect_ = new QPushButton(QStringLiteral("検出"), this);
    detect_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("プレイリストA"), this), 0, 0);
    grid->addWidget(a_, 0, 1);
    grid->addWidget(chooseA_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("プレイリストB"), this), 1, 0);
    grid->addWidget(b_, 1, 1);
    grid->addWidget(chooseB_, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("検出方法"), this), 2, 0);
    grid->addWidget(method_, 2, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(detect_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(chooseA_, &QPushButton::clicked, this, [this] { choose(a_); });
    connect(chooseB_, &QPushButton::clicked, this, [this] { choose(b_); });
    connect(detect_, &QPushButton::clicked, this, [this] {
        emit compareRequested(fromQt(a_->text()), fromQt(b_->text()),
                              static_cast<ComparisonMethod>(method_->currentIndex()));
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

// The chosen file's full name replaces the box's text; a cancelled dialog
// leaves it.
void TForm6::choose(QLineEdit* box) {
    if (const std::optional<FileChoice> choice = dialogs_.askComparedFile(prompts_, fromQt(box->text())))
        box->setText(toQt(choice->path));
}

}  // namespace listora
