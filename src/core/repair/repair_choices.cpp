#include "core/repair/repair_choices.h"

#include <algorithm>

namespace listora {

void RepairChoices::reset(std::vector<RepairProposal> proposals) {
    proposals_ = std::move(proposals);
    ticked_.assign(proposals_.size(), false);
    chosen_.assign(proposals_.size(), 0);
    for (std::size_t i = 0; i < proposals_.size(); ++i) ticked_[i] = acceptedCandidate(proposals_[i]) != nullptr;
}

std::size_t RepairChoices::countOf(RepairKind kind) const {
    return static_cast<std::size_t>(std::count_if(
        proposals_.begin(), proposals_.end(), [&](const RepairProposal& proposal) { return proposal.kind == kind; }));
}

void RepairChoices::choose(std::size_t i, std::size_t candidate) {
    if (candidate >= proposals_[i].candidates.size()) return;
    chosen_[i] = candidate;
    ticked_[i] = true;
}

std::vector<RowRepair> RepairChoices::repairs() const {
    std::vector<RowRepair> repairs;
    for (std::size_t i = 0; i < proposals_.size(); ++i)
        if (ticked_[i]) repairs.push_back({proposals_[i].row, proposals_[i].candidates[chosen_[i]].path});
    return repairs;
}

}  // namespace listora
