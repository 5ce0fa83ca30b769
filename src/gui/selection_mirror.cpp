#include "gui/selection_mirror.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace listora {

SelectionMirror::SelectionMirror(QAbstractItemView& view, RowSelection& rows)
    : QObject(&view), view_(view), rows_(rows) {
    QItemSelectionModel* selection = view_.selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this, &SelectionMirror::takeViewSelection);
    connect(selection, &QItemSelectionModel::currentChanged, this, &SelectionMirror::takeViewFocus);
    // A reset of the model empties the view's selection without a signal
    // (the selection model blocks its own), so the list keeps its selection
    // across a rebuild and shows it when the command is done.
}

void SelectionMirror::showListSelection() {
    mirroring_ = true;
    QAbstractItemModel* model = view_.model();
    const int lastColumn = model->columnCount() - 1;
    const std::size_t count = rows_.size();
    QItemSelection selection;
    for (std::size_t i = 0; i < count;) {
        if (!rows_.isSelected(i)) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end + 1 < count && rows_.isSelected(end + 1)) ++end;
        selection.select(model->index(static_cast<int>(i), 0), model->index(static_cast<int>(end), lastColumn));
        i = end + 1;
    }
    // Clearing first: ClearAndSelect weighs every old range against every new
    // one, which takes minutes for scattered selections on a million rows.
    QItemSelectionModel* selectionModel = view_.selectionModel();
    selectionModel->clearSelection();
    selectionModel->select(selection, QItemSelectionModel::Select);
    const std::size_t focus = rows_.focusRow();
    selectionModel->setCurrentIndex(
        focus == RowSelection::kNoRow ? QModelIndex() : model->index(static_cast<int>(focus), 0),
        QItemSelectionModel::NoUpdate);
    mirroring_ = false;
}

void SelectionMirror::takeViewSelection(const QItemSelection& selected, const QItemSelection& deselected) {
    if (mirroring_) return;
    const auto apply = [this](const QItemSelection& ranges, bool value) {
        for (const QItemSelectionRange& range : ranges)
            for (int row = range.top(); row <= range.bottom(); ++row)
                rows_.setSelected(static_cast<std::size_t>(row), value);
    };
    apply(deselected, false);
    apply(selected, true);
}

void SelectionMirror::takeViewFocus(const QModelIndex& current) {
    if (mirroring_) return;
    rows_.setFocusRow(current.isValid() ? static_cast<std::size_t>(current.row()) : RowSelection::kNoRow);
}

}  // namespace listora
