#include "ui/common/window_slot.h"

namespace listora {

QWidget* WindowSlot::openOrRaise(const std::function<QWidget*()>& make) {
    if (window_) {
        if (window_->isMinimized())
            window_->showNormal();
        else
            window_->show();
        window_->raise();
        window_->activateWindow();
        return window_;
    }
    QWidget* made = make();
    if (!made) return nullptr;
    made->setAttribute(Qt::WA_DeleteOnClose);
    window_ = made;
    made->show();
    return made;
}

}  // namespace listora
