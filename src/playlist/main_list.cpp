#include "playlist/main_list.h"

#include "platform/collation.h"

#include <algorithm>
#include <numeric>

namespace listora {

void MainList::append(PlaylistEntry entry) {
    std::vector<PlaylistEntry> one;
    one.push_back(std::move(entry));
    appendAll(std::move(one));
}

void MainList::appendAll(std::vector<PlaylistEntry> entries) {
    if (entries.empty()) return;
    for (auto& entry : entries) entry.checked = entry.selected = false;
    const std::size_t first = rows_.size();
    if (observer_) observer_->rowsAboutToBeAppended(first, first + entries.size() - 1);
    if (rows_.empty()) {
        rows_ = std::move(entries);
    } else {
        rows_.reserve(rows_.size() + entries.size());
        std::move(entries.begin(), entries.end(), std::back_inserter(rows_));
    }
    if (observer_) observer_->rowsAppended();
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
    std::vector<std::string> keys(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) keys[i] = collator.sortKey(rows_[i].columnText(column));

    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    keys = {};

    std::vector<PlaylistEntry> sorted;
    sorted.reserve(rows_.size());
    std::size_t newFocus = npos;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] == focusRow_) newFocus = i;
        sorted.push_back(std::move(rows_[order[i]]));
    }
    focusRow_ = newFocus;
    resetWith(std::move(sorted));
}

}  // namespace listora
