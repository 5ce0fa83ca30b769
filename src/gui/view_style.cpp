#include "gui/view_style.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QPalette>

namespace listora {

void keepSelectionVisible(QAbstractItemView& view) {
    QPalette palette = view.palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view.setPalette(palette);
}

void setUpFixedDialog(QDialog& dialog, const QString& caption, const QSize& size) {
    dialog.setWindowTitle(caption);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setFixedSize(size);
}

}  // namespace listora
