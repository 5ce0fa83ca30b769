#pragma once
// What the user takes of a search's proposals: which rows to repair, and
// for each the candidate chosen.

#include "core/repair/repair_search.h"
#include "core/repair/row_repairs.h"

#include <vector>

namespace listora {

class RepairChoices {
public:
    // Ticks the proposals whose candidate is taken without asking, each
    // with its first candidate chosen.
    void reset(std::vector<RepairProposal> proposals);
    void clear() { reset({}); }

    const std::vector<RepairProposal>& proposals() const { return proposals_; }
    std::size_t count() const { return proposals_.size(); }
    std::size_t countOf(RepairKind kind) const;

    bool ticked(std::size_t i) const { return ticked_[i]; }
    // A proposal without a candidate cannot be ticked.
    void setTicked(std::size_t i, bool ticked) { ticked_[i] = ticked && !proposals_[i].candidates.empty(); }
    std::size_t chosen(std::size_t i) const { return chosen_[i]; }
    // Choosing a candidate ticks the proposal.
    void choose(std::size_t i, std::size_t candidate);

    // The ticked rows with their chosen candidates' paths, in row order.
    std::vector<RowRepair> repairs() const;

private:
    std::vector<RepairProposal> proposals_;
    std::vector<bool> ticked_;
    std::vector<std::size_t> chosen_;
};

}  // namespace listora
