#include "ui/main/tag_read_dialog.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <algorithm>
#include <climits>

namespace listora {

TagReadDialog::TagReadDialog(QWidget& window) : window_(window) {}

TagReadDialog::~TagReadDialog() = default;

bool TagReadDialog::carryOn(std::size_t filesRead, std::size_t files) {
    if (!dialog_) {
        dialog_ = std::make_unique<QProgressDialog>(QStringLiteral("タグから曲名と長さを読んでいます…"),
                                                    QStringLiteral("キャンセル"), 0, 0, &window_);
        dialog_->setObjectName("tagReadProgress");
        dialog_->setWindowTitle(QStringLiteral("Listora"));
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setMinimumDuration(500);
        dialog_->setMaximum(static_cast<int>(std::min<std::size_t>(files, INT_MAX)));
        dialog_->setValue(0);  // starts the half second
    }
    dialog_->setValue(static_cast<int>(std::min<std::size_t>(filesRead, INT_MAX)));
    // Paints, and shows the dialog when its time has come; the dialog's own
    // button is the only input once it is up.
    QCoreApplication::processEvents(dialog_->isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    return !dialog_->wasCanceled();
}

}  // namespace listora
