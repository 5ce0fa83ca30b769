#include "ui/common/modal_run.h"

#include "ui/common/paint_now.h"

#include <QApplication>
#include <QDialog>
#include <QWindow>

namespace listora {

QWidget* askingWindow(QWidget* fallback) {
    QWidget* active = QApplication::activeWindow();
    return active && active->isVisible() ? active : fallback;
}

int runModal(QDialog& dialog) {
    // A dialog kept for the program's life (the choosers) stays its owner's
    // child, as another window may be destroyed while it lives; it is only
    // placed over the asking window and made its transient for this time.
    QWidget* parent = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    QWidget* owner = askingWindow(parent);
    if (owner && owner != &dialog) {
        dialog.createWinId();
        owner->createWinId();
        dialog.windowHandle()->setTransientParent(owner->windowHandle());
        // A dialog of a set size is centred by its inside over the owner's
        // inside: the same place every time, also the first, when the window
        // manager's frame is not known yet (Qt centres the frame, and places
        // a dialog shown the first time higher than later). A box sizes
        // itself as it is shown, and Qt centres it.
        if (dialog.testAttribute(Qt::WA_Resized)) {
            QRect inside(QPoint(), dialog.size());
            inside.moveCenter(owner->geometry().center());
            dialog.setGeometry(inside);
        }
    }
    PaintAfterClosing painting(dialog);
    const int result = dialog.exec();
    painting.paintNow();
    return result;
}

}  // namespace listora
