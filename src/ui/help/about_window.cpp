#include "ui/help/about_window.h"

#include "ui/common/program_icon.h"
#include "ui/common/view_style.h"

#include <QLabel>
#include <QPushButton>

namespace listora {
namespace {

QLabel* line(QWidget* parent, const QString& text, int y) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(64, y, 290, 20);
    return label;
}

}  // namespace

TForm7::TForm7(FileSystem& fs, Shell& shell, std::string helpFile, QWidget* parent)
    : QDialog(parent), fs_(fs), shell_(shell), helpFile_(std::move(helpFile)), about_(builtAboutInfo()) {
    setUpFixedDialog(*this, QStringLiteral("バージョン"), QSize(363, 206));

    auto* icon = new QLabel(this);
    icon->setObjectName("icon");
    icon->setPixmap(programIconPixmap(32));
    icon->setGeometry(16, 16, 32, 32);

    QLabel* name = line(this, QStringLiteral("ソフト名：Listora"), 16);
    name->setObjectName("softwareName");
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPixelSize(19);
    name->setFont(bold);
    name->setGeometry(64, 14, 290, 28);
    line(this, QStringLiteral("バージョン：") + QString::fromUtf8(about_.version), 50);
    line(this, QStringLiteral("作者：") + QString::fromUtf8(about_.author), 74);
    QLabel* page = line(this, QStringLiteral("ホームページ　 ："), 98);
    page->adjustSize();
    link_ = new QLabel(this);
    link_->setObjectName("pageLink");
    // Only the title is a link: blue, underlined, with the hand over it.
    link_->setText(QStringLiteral("<a href=\"page\" style=\"color:#0000ff; text-decoration:underline;\">%1</a>")
                       .arg(QString::fromUtf8(about_.pageTitle).toHtmlEscaped()));
    link_->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    link_->setOpenExternalLinks(false);
    link_->adjustSize();
    link_->move(64 + page->width(), 98);
    line(this, QStringLiteral("連絡先：") + QString::fromUtf8(about_.contact), 122);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setGeometry((363 - 75) / 2, 166, 75, 25);
    ok_->setDefault(true);

    connect(link_, &QLabel::linkActivated, this, [this] { openHomePage(fs_, shell_, about_, helpFile_); });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace listora
