#include "gui/window_slot.h"

namespace listora {

QWidget* WindowSlot::openOrRaise(const std::function<QWidget*()>& make) {
    if (window_) {
        window_->showNormal();
        window_->raise();
        window_->activateWindow();
        return window_;
    }
    QWidget* made = make();
    made->setAttribute(Qt::WA_DeleteOnClose);
    window_ = made;
    made->show();
    return made;
}

}  // namespace listora
