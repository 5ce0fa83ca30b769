#include "ui/common/list_selection_model.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <algorithm>

namespace listora {
namespace {

// Paints each row's mark as the list has it: the table asks Qt's own
// isSelected for every cell it paints, which knows the probe row only.
class ListMarksDelegate : public QStyledItemDelegate {
public:
    ListMarksDelegate(const RowSelection& rows, QObject* parent) : QStyledItemDelegate(parent), rows_(rows) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem shown(option);
        const auto row = static_cast<std::size_t>(index.row());
        shown.state.setFlag(QStyle::State_Selected, index.isValid() && row < rows_.size() && rows_.isSelected(row));
        QStyledItemDelegate::paint(painter, shown, index);
    }

private:
    const RowSelection& rows_;
};

}  // namespace

ListSelectionModel::ListSelectionModel(QAbstractItemView& view, RowSelection& rows)
    : QItemSelectionModel(view.model(), &view), view_(view), rows_(rows) {
    QItemSelectionModel* replaced = view.selectionModel();
    view.setSelectionModel(this);
    delete replaced;
    view.setItemDelegate(new ListMarksDelegate(rows_, &view));
    view.viewport()->installEventFilter(this);
    QAbstractItemModel* shown = view.model();
    connect(shown, &QAbstractItemModel::rowsInserted, this, &ListSelectionModel::rowsMoved);
    connect(shown, &QAbstractItemModel::rowsRemoved, this, &ListSelectionModel::rowsMoved);
    connect(shown, &QAbstractItemModel::rowsMoved, this, &ListSelectionModel::rowsMoved);
    connect(shown, &QAbstractItemModel::layoutChanged, this, &ListSelectionModel::rowsMoved);
    assumeAnyMarked();
}

ListSelectionModel* ListSelectionModel::of(const QAbstractItemView& view) {
    return qobject_cast<ListSelectionModel*>(view.selectionModel());
}

void ListSelectionModel::showListSelection() {
    // A command's marks count as the part put in last, over nothing
    // selected: a Shift+click or Shift+arrow after a command selects from
    // the anchor alone, as after a plain click.
    const std::size_t count = rows_.size();
    forgetCurrent();
    assumeAnyMarked();
    Touched all;
    if (count != 0) {
        currentSpans_.push_back({0, count - 1});
        marksBeforeCurrent_.assign(count, 0);
        all.selected = all.deselected = {0, count - 1};
    }
    copyProbeRow();
    const std::size_t focus = rows_.focusRow();
    QItemSelectionModel::setCurrentIndex(focus < count ? model()->index(static_cast<int>(focus), 0) : QModelIndex(),
                                         NoUpdate);
    announce(all);
}

std::vector<std::size_t> ListSelectionModel::selectedRowNumbers() const {
    std::vector<std::size_t> selected;
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (rows_.isSelected(row)) selected.push_back(row);
    return selected;
}

std::size_t ListSelectionModel::selectedRowCount() const {
    std::size_t selected = 0;
    for (std::size_t row = 0; row < rows_.size(); ++row) selected += rows_.isSelected(row);
    return selected;
}

// Qt's order: Clear empties both parts; without Current the part put in
// last joins what stands; Toggle, Select or Deselect then put in a new part,
// with Current in place of the last one.
void ListSelectionModel::select(const QItemSelection& selection, SelectionFlags command) {
    if (command == NoUpdate) return;
    Touched touched;
    if (command & Clear) {
        forgetCurrent();
        if (maybeMarked_.first != kNone) markRows(maybeMarked_.first, maybeMarked_.last, false, touched);
    }
    if (command & (Toggle | Select | Deselect)) {
        if (command & Current) markCurrentAsBefore(false, touched);
        forgetCurrent();
        startCurrent(rowSpans(selection), command, touched);
    } else if (!(command & Current)) {
        forgetCurrent();
    }
    copyProbeRow();
    announce(touched);
}

void ListSelectionModel::setCurrentIndex(const QModelIndex& index, SelectionFlags command) {
    rows_.setFocusRow(index.isValid() ? static_cast<std::size_t>(index.row()) : RowSelection::kNoRow);
    QItemSelectionModel::setCurrentIndex(index, command);  // selects through select()
}

void ListSelectionModel::clearCurrentIndex() {
    rows_.setFocusRow(RowSelection::kNoRow);
    QItemSelectionModel::clearCurrentIndex();
}

void ListSelectionModel::reset() {
    // The model was rebuilt (a sort, a cut, a day loaded): the list's marks
    // and focus row stand as the core left them. Only what this model holds
    // of rows goes, quietly, as in Qt's own reset.
    forgetCurrent();
    assumeAnyMarked();
    probe_ = QPersistentModelIndex();
    const QSignalBlocker quiet(this);
    QItemSelectionModel::select(QItemSelection(), Clear);
    QItemSelectionModel::clearCurrentIndex();
}

bool ListSelectionModel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        probe_ = view_.indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        copyProbeRow();
    }
    return QItemSelectionModel::eventFilter(watched, event);
}

void ListSelectionModel::widen(Span& span, std::size_t first, std::size_t last) {
    span = span.first == kNone ? Span{first, last} : Span{std::min(span.first, first), std::max(span.last, last)};
}

// The selection's rows, in order, overlapping ranges joined.
std::vector<ListSelectionModel::Span> ListSelectionModel::rowSpans(const QItemSelection& selection) const {
    const std::size_t count = rows_.size();
    std::vector<Span> spans;
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid() || range.model() != model() || range.parent().isValid()) continue;
        const auto first = static_cast<std::size_t>(range.top());
        if (first >= count) continue;
        spans.push_back({first, std::min(static_cast<std::size_t>(range.bottom()), count - 1)});
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.first < b.first; });
    std::vector<Span> joined;
    for (const Span& span : spans) {
        if (!joined.empty() && span.first <= joined.back().last + 1)
            joined.back().last = std::max(joined.back().last, span.last);
        else
            joined.push_back(span);
    }
    return joined;
}

void ListSelectionModel::markRows(std::size_t first, std::size_t last, bool selected, Touched& touched) {
    rows_.setSelected(first, last, selected);
    widen(selected ? touched.selected : touched.deselected, first, last);
    if (selected)
        widen(maybeMarked_, first, last);
    else if (first <= maybeMarked_.first && last >= maybeMarked_.last)
        maybeMarked_ = {kNone, 0};
}

// Gives the rows of the part put in last the marks they had before it, or
// with `invert` the opposite ones, a run of equal marks at a time.
void ListSelectionModel::markCurrentAsBefore(bool invert, Touched& touched) {
    std::size_t offset = 0;  // of the span's first row in marksBeforeCurrent_
    for (const Span& span : currentSpans_) {
        const auto before = [&](std::size_t row) { return marksBeforeCurrent_[offset + row - span.first] != 0; };
        for (std::size_t row = span.first; row <= span.last;) {
            const bool mark = before(row);
            std::size_t end = row;
            while (end < span.last && before(end + 1) == mark) ++end;
            markRows(row, end, mark != invert, touched);
            row = end + 1;
        }
        offset += span.last - span.first + 1;
    }
}

void ListSelectionModel::startCurrent(std::vector<Span> spans, SelectionFlags command, Touched& touched) {
    currentSpans_ = std::move(spans);
    for (const Span& span : currentSpans_)
        for (std::size_t row = span.first; row <= span.last; ++row)
            marksBeforeCurrent_.push_back(rows_.isSelected(row) ? 1 : 0);
    if (command & Toggle && !(command & Deselect)) {
        markCurrentAsBefore(true, touched);
        return;
    }
    for (const Span& span : currentSpans_) markRows(span.first, span.last, !(command & Deselect), touched);
}

void ListSelectionModel::forgetCurrent() {
    currentSpans_.clear();
    marksBeforeCurrent_.clear();
}

// When rows come or go the part put in last stands as it is: its row
// numbers no longer name its rows.
void ListSelectionModel::rowsMoved() {
    forgetCurrent();
    assumeAnyMarked();
}

void ListSelectionModel::assumeAnyMarked() {
    maybeMarked_ = rows_.size() == 0 ? Span{kNone, 0} : Span{0, rows_.size() - 1};
}

// Qt's range list holds the probe row when it is selected, and nothing else.
void ListSelectionModel::copyProbeRow() {
    const QSignalBlocker quiet(this);  // the view hears of changes from announce()
    QItemSelectionModel::select(QItemSelection(), Clear);
    if (probe_.isValid() && static_cast<std::size_t>(probe_.row()) < rows_.size() &&
        rows_.isSelected(static_cast<std::size_t>(probe_.row())))
        QItemSelectionModel::select(QItemSelection(probe_, probe_), Select | Rows);
}

// The signal names the span of rows each side of a change lies in, not the
// rows one by one: a scattered change would be a range a row, and the view
// walks every range to find what to repaint.
void ListSelectionModel::announce(const Touched& touched) {
    const int lastColumn = model()->columnCount() - 1;
    if (lastColumn < 0 || (touched.selected.first == kNone && touched.deselected.first == kNone)) return;
    const auto rangeOf = [&](const Span& span) {
        if (span.first == kNone) return QItemSelection();
        return QItemSelection(model()->index(static_cast<int>(span.first), 0),
                              model()->index(static_cast<int>(span.last), lastColumn));
    };
    emit selectionChanged(rangeOf(touched.selected), rangeOf(touched.deselected));
}

}  // namespace listora
