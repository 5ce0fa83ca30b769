#pragma once
// The main list: ordered rows with their check marks, the selection and the
// focus row. It is the one source of truth; a view registers an observer and
// is told of each command's changes in one batch.

#include "core/playlist/playlist_entry.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace listora {

class Collator;

class MainListObserver {
public:
    virtual ~MainListObserver() = default;
    // Rows first..last are about to stand there, the rows from first on
    // moving down.
    virtual void rowsAboutToBeInserted(std::size_t first, std::size_t last) = 0;
    virtual void rowsInserted() = 0;
    // Any other change of order or count.
    virtual void listAboutToBeReset() = 0;
    virtual void listReset() = 0;
    // Texts or check marks of rows first..last changed.
    virtual void rowsChanged(std::size_t first, std::size_t last) = 0;
    // Selection or focus row changed by a command (not by the view itself).
    virtual void selectionChanged() = 0;
};

class MainList {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    void setObserver(MainListObserver* observer) { observer_ = observer; }

    std::size_t count() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const PlaylistEntry& at(std::size_t row) const { return rows_[row]; }
    const std::vector<PlaylistEntry>& rows() const { return rows_; }

    // Appended rows stand last, unchecked and not selected.
    void append(PlaylistEntry entry);
    void appendAll(std::vector<PlaylistEntry> entries);
    // New rows before `position`, unchecked and not selected; the focus row
    // moves down with its row.
    void insertAll(std::size_t position, std::vector<PlaylistEntry> entries);
    void clear();
    // Removes every row for which keep(row) is false, in one change; keep is
    // called once for each row, first to last.
    template <typename Keep>
    std::size_t removeUnless(Keep keep);

    void setChecked(std::size_t row, bool checked);

    // Changes texts and check marks of many rows without a word to the view
    // per row; the command tells it once with rowsEdited.
    PlaylistEntry& editRow(std::size_t row) { return rows_[row]; }
    void rowsEdited(std::size_t first, std::size_t last) {
        if (observer_) observer_->rowsChanged(first, last);
    }

    // Sets every row's check mark to checked(row), telling the view once.
    template <typename Checked>
    void updateChecks(Checked checked);
    // Sets every row's selection to selected(row), telling the view once.
    template <typename Selected>
    void updateSelection(Selected selected);

    // Selection as the view reports it; no observer call, the view knows.
    void setSelected(std::size_t row, bool selected) { rows_[row].selected = selected; }
    void setFocusRow(std::size_t row) { focusRow_ = row; }
    std::size_t focusRow() const { return focusRow_; }

    // Sorts ascending by a column's text (0 title, 1 length, 2 file name,
    // 3 full path) as the collator orders it. Check marks, selection and the
    // focus row travel with their rows; equal keys keep their order.
    void sortByColumn(int column, const Collator& collator);

private:
    void resetWith(std::vector<PlaylistEntry> rows);

    std::vector<PlaylistEntry> rows_;
    std::size_t focusRow_ = npos;
    MainListObserver* observer_ = nullptr;
};

template <typename Checked>
void MainList::updateChecks(Checked checked) {
    std::size_t first = npos;
    std::size_t last = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const bool value = checked(rows_[i]);
        if (rows_[i].checked == value) continue;
        rows_[i].checked = value;
        first = std::min(first, i);
        last = i;
    }
    if (first != npos) rowsEdited(first, last);
}

template <typename Selected>
void MainList::updateSelection(Selected selected) {
    for (PlaylistEntry& row : rows_) row.selected = selected(row);
    if (observer_) observer_->selectionChanged();
}

template <typename Keep>
std::size_t MainList::removeUnless(Keep keep) {
    std::size_t kept = 0;
    while (kept < rows_.size() && keep(rows_[kept])) ++kept;
    if (kept == rows_.size()) return 0;

    // Rows are moved up in place: a second vector would double the list's
    // memory for a moment.
    if (observer_) observer_->listAboutToBeReset();
    std::size_t newFocus = focusRow_ < kept ? focusRow_ : npos;
    for (std::size_t i = kept + 1; i < rows_.size(); ++i) {
        if (!keep(rows_[i])) continue;
        if (i == focusRow_) newFocus = kept;
        rows_[kept++] = std::move(rows_[i]);
    }
    const std::size_t removed = rows_.size() - kept;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(kept), rows_.end());
    focusRow_ = newFocus;
    if (observer_) {
        observer_->listReset();
        observer_->selectionChanged();
    }
    return removed;
}

}  // namespace listora
