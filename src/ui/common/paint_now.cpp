#include "ui/common/paint_now.h"

#include <QApplication>
#include <QWidget>

namespace listora {

void paintShownWindowsNow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible()) window->repaint();
}

}  // namespace listora
