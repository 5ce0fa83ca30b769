#include "ui/fileops/name_input_window.h"

#include "core/ports/prompts.h"
#include "core/text/codepage.h"
#include "ui/common/modal_run.h"
#include "ui/common/text_bridge.h"
#include "ui/common/view_style.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace listora {

TForm8::TForm8(Prompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
    setUpFixedDialog(*this, QStringLiteral("入力"), QSize(373, 107));

    prompt_ = new QLabel(this);
    auto* forbiddenCaption = new QLabel(QStringLiteral("左の文字は使えません"), this);
    auto* forbidden = new QLabel(QStringLiteral("\\ / : * ? \" < > ||"), this);
    forbidden->setObjectName("forbiddenCharacters");
    QFont bold = forbidden->font();
    bold.setBold(true);
    forbidden->setFont(bold);
    nameBox_ = new QLineEdit(this);
    nameBox_->setObjectName("nameBox");
    extension_ = new QLabel(this);
    extension_->setObjectName("extensionLabel");
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    ok_->setDefault(true);
    ok_->setFixedWidth(64);
    cancel_->setFixedWidth(72);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addWidget(prompt_, 0, 0, 1, 2);
    layout->addWidget(nameBox_, 1, 0);
    layout->addWidget(extension_, 1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(forbiddenCaption);
    bottom->addWidget(forbidden);
    bottom->addStretch();
    bottom->addWidget(ok_);
    bottom->addWidget(cancel_);
    layout->addLayout(bottom, 2, 0, 1, 2);
    layout->setColumnStretch(0, 1);

    connect(ok_, &QPushButton::clicked, this, &TForm8::confirm);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm8::prepare(NameMode mode, const std::string& name, const std::string& extension) {
    mode_ = mode;
    nameBox_->setText(toQt(name));
    extension_->setText(toQt(extension));
}

std::optional<std::string> TForm8::askName(NameMode mode, const std::string& name, const std::string& extension) {
    prepare(mode, name, extension);
    runModal(*this);
    if (mode_ != NameMode::Confirmed) return std::nullopt;
    return fromQt(nameBox_->text());
}

void TForm8::showEvent(QShowEvent* event) {
    // The prompt is the same in both modes; a new folder has no extension.
    prompt_->setText(QStringLiteral("新規フォルダの名前を入力してください"));
    if (mode_ == NameMode::NewFolder) extension_->clear();
    QDialog::showEvent(event);
}

void TForm8::confirm() {
    if (nameBox_->text().isEmpty()) {
        prompts_.information(systemText("新規フォルダ名を入力してください"));
        return;
    }
    mode_ = NameMode::Confirmed;
    accept();
}

}  // namespace listora
