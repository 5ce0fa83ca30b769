#include "playlist/main_list.h"

#include "playlist/sort_order.h"

#include <cstdint>

namespace listora {

void MainList::append(PlaylistEntry entry) {
    std::vector<PlaylistEntry> one;
    one.push_back(std::move(entry));
    appendAll(std::move(one));
}

void MainList::appendAll(std::vector<PlaylistEntry> entries) { insertAll(rows_.size(), std::move(entries)); }

void MainList::insertAll(std::size_t position, std::vector<PlaylistEntry> entries) {
    if (entries.empty()) return;
    for (auto& entry : entries) entry.checked = entry.selected = false;
    if (observer_) observer_->rowsAboutToBeInserted(position, position + entries.size() - 1);
    if (rows_.empty()) {
        rows_ = std::move(entries);
    } else {
        rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(position), std::make_move_iterator(entries.begin()),
                     std::make_move_iterator(entries.end()));
    }
    if (focusRow_ != npos && focusRow_ >= position) focusRow_ += entries.size();
    if (observer_) observer_->rowsInserted();
}

void MainList::clear() {
    focusRow_ = npos;
    resetWith({});
}

void MainList::setChecked(std::size_t row, bool checked) {
    if (rows_[row].checked == checked) return;
    rows_[row].checked = checked;
    if (observer_) observer_->rowsChanged(row, row);
}

void MainList::resetWith(std::vector<PlaylistEntry> rows) {
    if (observer_) observer_->listAboutToBeReset();
    rows_ = std::move(rows);
    if (observer_) {
        observer_->listReset();
        observer_->selectionChanged();
    }
}

void MainList::sortByColumn(int column, const Collator& collator) {
    std::vector<std::uint32_t> order = sortedOrder(rows_, column, collator);
    if (observer_) observer_->listAboutToBeReset();
    std::size_t newFocus = npos;
    for (std::size_t i = 0; i < order.size() && focusRow_ != npos; ++i) {
        if (order[i] == focusRow_) newFocus = i;
    }
    focusRow_ = newFocus;
    // The rows move along the permutation's cycles, each once: a second
    // vector of rows would cost the list's size in fresh pages per sort.
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start) continue;  // in place, or its cycle is done
        PlaylistEntry held = std::move(rows_[start]);
        std::size_t to = start;
        for (std::size_t from = order[to]; from != start; from = order[to]) {
            rows_[to] = std::move(rows_[from]);
            order[to] = static_cast<std::uint32_t>(to);
            to = from;
        }
        rows_[to] = std::move(held);
        order[to] = static_cast<std::uint32_t>(to);
    }
    if (observer_) {
        observer_->listReset();
        observer_->selectionChanged();
    }
}

}  // namespace listora
