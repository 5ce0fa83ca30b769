#include "ui/common/view_style.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QHeaderView>
#include <QPalette>
#include <QTableView>
#include <algorithm>

namespace listora {
RowList::RowList(QWidget* parent) : QTableView(parent) {}

// Home and End go to the first and the last row, in the current column, as
// in a report list; the view's key handling then selects as for any move.
QModelIndex RowList::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if ((action == MoveHome || action == MoveEnd) && model() && model()->rowCount() > 0) {
        const int column = std::max(currentIndex().column(), 0);
        return model()->index(action == MoveHome ? 0 : model()->rowCount() - 1, column);
    }
    return QTableView::moveCursor(action, modifiers);
}

void keepSelectionVisible(QAbstractItemView& view) {
    QPalette palette = view.palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view.setPalette(palette);
}

void setUpRowList(QTableView& list) {
    list.setShowGrid(true);
    list.setSelectionBehavior(QAbstractItemView::SelectRows);
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list.setEditTriggers(QAbstractItemView::NoEditTriggers);
    list.setWordWrap(false);
    list.verticalHeader()->hide();
    list.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list.verticalHeader()->setDefaultSectionSize(list.fontMetrics().height() + 4);
    list.horizontalHeader()->setHighlightSections(false);
    keepSelectionVisible(list);
}

void setUpFixedDialog(QDialog& dialog, const QString& caption, const QSize& size) {
    dialog.setWindowTitle(caption);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setFixedSize(size);
}

}  // namespace listora
