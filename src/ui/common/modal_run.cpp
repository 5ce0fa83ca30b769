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
    if (owner && owner != parent && owner != &dialog) {
        dialog.createWinId();
        owner->createWinId();
        dialog.windowHandle()->setTransientParent(owner->windowHandle());
        dialog.move(owner->frameGeometry().center() - dialog.rect().center());
    } else if (parent && dialog.windowHandle()) {
        dialog.windowHandle()->setTransientParent(parent->windowHandle());
    }
    PaintAfterClosing painting(dialog);
    const int result = dialog.exec();
    painting.paintNow();
    return result;
}

}  // namespace listora
