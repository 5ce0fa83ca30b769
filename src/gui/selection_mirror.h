#pragma once
// Keeps a view's selection and a list's selection the same in both
// directions. The list is the source of truth: what the user selects in the
// view is written into it, and what a command selects in the list is shown
// by the view. A guard keeps the two from feeding back.

#include <QObject>
#include <cstddef>

class QAbstractItemView;
class QItemSelection;
class QModelIndex;

namespace listora {

// The list side: its rows' selection marks and its focus row.
class RowSelection {
public:
    static constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);

    virtual ~RowSelection() = default;
    virtual std::size_t size() const = 0;
    virtual bool isSelected(std::size_t row) const = 0;
    virtual void setSelected(std::size_t row, bool selected) = 0;
    virtual std::size_t focusRow() const = 0;  // kNoRow when none
    virtual void setFocusRow(std::size_t row) = 0;
};

class SelectionMirror : public QObject {
    Q_OBJECT
public:
    // The view must have its model; the mirror lives as long as the view.
    SelectionMirror(QAbstractItemView& view, RowSelection& rows);

    // Shows the list's selection and focus row in the view, after a command
    // changed them.
    void showListSelection();

private:
    void takeViewSelection(const QItemSelection& selected, const QItemSelection& deselected);
    void takeViewFocus(const QModelIndex& current);

    QAbstractItemView& view_;
    RowSelection& rows_;
    bool mirroring_ = false;
};

}  // namespace listora
