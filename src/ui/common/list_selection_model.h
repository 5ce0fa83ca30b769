#pragma once
// A view's selection model whose selection is the list's own: the rows'
// marks and the focus row in a RowSelection. What the user selects is
// written into the list as it happens, a range at a time, and the view
// paints each row's mark as the list has it. Qt's own range list stays
// empty but for the row the mouse went down on, so a scattered selection on
// a million rows costs the view nothing to paint or to change.
//
// QItemSelectionModel's queries (isSelected, selection, selectedRows,
// hasSelection) are not virtual; through a QItemSelectionModel they answer
// for that one row only. Ask this class instead.

#include "ui/common/row_selection.h"

#include <QItemSelectionModel>
#include <QPersistentModelIndex>
#include <cstddef>
#include <vector>

class QAbstractItemView;

namespace listora {

class ListSelectionModel : public QItemSelectionModel {
    Q_OBJECT
public:
    // Becomes the selection model of the view, which must have its model,
    // and gives it a delegate that paints the list's marks. The view owns
    // both; the list must outlive them or be taken from the view first.
    ListSelectionModel(QAbstractItemView& view, RowSelection& rows);

    // The view's selection model, when it is one of these.
    static ListSelectionModel* of(const QAbstractItemView& view);

    // Shows the list's marks and focus row after a command changed them.
    void showListSelection();

    // The list's answers.
    std::vector<std::size_t> selectedRowNumbers() const;
    std::size_t selectedRowCount() const;

    using QItemSelectionModel::select;
    void select(const QItemSelection& selection, SelectionFlags command) override;
    void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override;
    void clearCurrentIndex() override;
    void reset() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Span {
        std::size_t first;
        std::size_t last;
    };
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    // The rows a change may have selected and deselected, for the signal.
    struct Touched {
        Span selected{kNone, 0};
        Span deselected{kNone, 0};
    };
    static void widen(Span& span, std::size_t first, std::size_t last);

    std::vector<Span> rowSpans(const QItemSelection& selection) const;
    void markRows(std::size_t first, std::size_t last, bool selected, Touched& touched);
    void markCurrentAsBefore(bool invert, Touched& touched);
    void startCurrent(std::vector<Span> spans, SelectionFlags command, Touched& touched);
    void forgetCurrent();
    void rowsMoved();
    void assumeAnyMarked();
    void copyProbeRow();
    void announce(const Touched& touched);

    QAbstractItemView& view_;
    RowSelection& rows_;
    // Qt's selection has two parts: what stands, and what the last select()
    // put in, which a select() with Current replaces (a Shift+click, a drag,
    // Shift+arrows). The list holds both merged; these are the rows of the
    // second part and each one's mark before it was put in.
    std::vector<Span> currentSpans_;
    std::vector<char> marksBeforeCurrent_;
    // No row outside these is selected: a click clears only them, and after
    // one click the next clears one row instead of a million.
    Span maybeMarked_{kNone, 0};
    // The row the mouse went down on: QAbstractItemView asks Qt's
    // isSelected about it between the press and the release.
    QPersistentModelIndex probe_;
};

}  // namespace listora
