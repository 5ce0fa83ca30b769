#include "playlist/main_list.h"

#include "platform/collation.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

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

namespace {

// Where one row's sort key lies in the shared key buffer.
struct KeyedRow {
    std::size_t offset;
    std::uint32_t length;
    std::uint32_t row;
};

// One sort key per row, all in one buffer. Texts repeat a lot in a column
// (unknown titles, common lengths, one album's folder), so a small table of
// recent texts lets each repeat reuse its key instead of collating again.
std::vector<KeyedRow> makeSortKeys(const std::vector<PlaylistEntry>& rows, int column, const Collator& collator,
                                   std::string& buffer) {
    constexpr std::size_t kRecentSlots = 4096;
    struct Recent {
        std::uint32_t row = UINT32_MAX;
        std::size_t offset = 0;
        std::uint32_t length = 0;
    };
    std::vector<Recent> recent(kRecentSlots);
    std::vector<KeyedRow> keys(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string& text = rows[i].columnText(column);
        Recent& slot = recent[std::hash<std::string_view>{}(text) % kRecentSlots];
        if (slot.row == UINT32_MAX || rows[slot.row].columnText(column) != text) {
            slot.row = static_cast<std::uint32_t>(i);
            slot.offset = buffer.size();
            collator.appendSortKey(text, buffer);
            slot.length = static_cast<std::uint32_t>(buffer.size() - slot.offset);
        }
        keys[i] = {slot.offset, slot.length, static_cast<std::uint32_t>(i)};
    }
    return keys;
}

}  // namespace

void MainList::sortByColumn(int column, const Collator& collator) {
    std::string buffer;
    std::vector<KeyedRow> keys = makeSortKeys(rows_, column, collator, buffer);
    const auto keyOf = [&](const KeyedRow& k) { return std::string_view(buffer).substr(k.offset, k.length); };
    std::stable_sort(keys.begin(), keys.end(),
                     [&](const KeyedRow& a, const KeyedRow& b) { return keyOf(a) < keyOf(b); });
    buffer = {};

    std::vector<PlaylistEntry> sorted;
    sorted.reserve(rows_.size());
    std::size_t newFocus = npos;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].row == focusRow_) newFocus = i;
        sorted.push_back(std::move(rows_[keys[i].row]));
    }
    focusRow_ = newFocus;
    resetWith(std::move(sorted));
}

}  // namespace listora
