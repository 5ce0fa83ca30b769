#include "core/search/selection_commands.h"

#include <algorithm>

namespace listora {

void checkSelected(MainList& list) {
    list.updateChecks([](const PlaylistEntry& row) { return row.selected || row.checked; });
}

void invertCheckOfSelected(MainList& list) {
    list.updateChecks([](const PlaylistEntry& row) { return row.selected ? !row.checked : row.checked; });
}

void uncheckSelected(MainList& list) {
    list.updateChecks([](const PlaylistEntry& row) { return !row.selected && row.checked; });
}

void invertSelection(MainList& list) {
    list.updateSelection([](const PlaylistEntry& row) { return !row.selected; });
}

void selectAll(MainList& list) {
    list.updateSelection([](const PlaylistEntry&) { return true; });
}

void selectChecked(MainList& list) {
    list.updateSelection([](const PlaylistEntry& row) { return row.checked; });
}

void cutSelected(MainList& list, CutBuffer& buffer) {
    const auto& rows = list.rows();
    if (std::none_of(rows.begin(), rows.end(), [](const PlaylistEntry& row) { return row.selected; })) return;
    buffer.clear();
    // The texts move into the buffer; their rows go right after.
    for (std::size_t i = 0; i < list.count(); ++i) {
        if (!list.at(i).selected) continue;
        // The row left behind keeps its marks, by which it is removed; the
        // texts come back without them.
        PlaylistEntry& held = buffer.emplace_back(std::move(list.editRow(i)));
        held.checked = held.selected = false;
    }
    removeSelected(list);
}

void pasteCut(MainList& list, CutBuffer& buffer) {
    const auto& rows = list.rows();
    const bool anySelected =
        std::any_of(rows.begin(), rows.end(), [](const PlaylistEntry& row) { return row.selected; });
    const std::size_t focus = list.focusRow();
    if (anySelected && focus != MainList::npos)
        list.insertAll(focus, std::move(buffer));
    else
        list.appendAll(std::move(buffer));
    buffer.clear();
}

void removeSelected(MainList& list) {
    list.removeUnless([](const PlaylistEntry& row) { return !row.selected; });
}

}  // namespace listora
