#include "core/repair/closest_files.h"

#include "core/repair/name_similarity.h"
#include "core/repair/repair_progress.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

namespace listora {
namespace {

constexpr std::size_t kOffered = 3;

void offer(std::vector<ClosestFile>& best, ClosestFile candidate) {
    const auto place =
        std::find_if(best.begin(), best.end(), [&](const ClosestFile& held) { return held.score < candidate.score; });
    if (place == best.end() && best.size() >= kOffered) return;
    best.insert(place, candidate);
    if (best.size() > kOffered) best.pop_back();
}

// Which wanted names hold each trigram, in one flat table: a file's
// trigrams are looked up a million times over.
class TrigramPostings {
public:
    explicit TrigramPostings(std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs) : present_(1u << 24) {
        std::sort(pairs.begin(), pairs.end());
        std::size_t size = 16;
        while (size < pairs.size() * 2) size *= 2;
        slots_.assign(size, {0, 0, 0});
        for (std::size_t begin = 0; begin < pairs.size();) {
            std::size_t end = begin;
            while (end < pairs.size() && pairs[end].first == pairs[begin].first) names_.push_back(pairs[end++].second);
            const std::uint32_t gram = pairs[begin].first;
            std::size_t slot = slotOf(gram);
            while (slots_[slot].key != 0) slot = (slot + 1) & (slots_.size() - 1);
            slots_[slot] = {gram + 1, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end)};
            present_[gram] = true;
            begin = end;
        }
    }

    // The wanted names holding the trigram, as [first, last).
    std::pair<const std::uint32_t*, const std::uint32_t*> namesWith(std::uint32_t gram) const {
        if (!present_[gram]) return {nullptr, nullptr};
        std::size_t slot = slotOf(gram);
        while (slots_[slot].key != gram + 1) slot = (slot + 1) & (slots_.size() - 1);
        return {names_.data() + slots_[slot].begin, names_.data() + slots_[slot].end};
    }

private:
    struct Slot {
        std::uint32_t key;  // the trigram plus one; 0 for an empty slot
        std::uint32_t begin;
        std::uint32_t end;
    };
    std::size_t slotOf(std::uint32_t gram) const { return (gram * 2654435761u) & (slots_.size() - 1); }

    std::vector<bool> present_;
    std::vector<Slot> slots_;
    std::vector<std::uint32_t> names_;
};

// The best files of [first, last) for each wanted name, counting shared
// trigrams through the postings; stops, giving nothing, when `carryOn` does.
std::optional<std::vector<std::vector<ClosestFile>>> scanFiles(const FileIndex& index, const PathRules& rules,
                                                               const TrigramPostings& postings,
                                                               const std::vector<std::uint32_t>& wantedSizes,
                                                               std::size_t first, std::size_t last,
                                                               const std::function<bool()>& carryOn) {
    std::vector<std::vector<ClosestFile>> best(wantedSizes.size());
    std::vector<std::uint16_t> shared(wantedSizes.size(), 0);
    std::vector<std::uint32_t> met;
    std::string name;
    std::vector<std::uint32_t> grams;
    for (std::size_t file = first; file < last; ++file) {
        if ((file & 4095) == 0 && !carryOn()) return std::nullopt;
        const auto id = static_cast<FileIndex::FileId>(file);
        normaliseName(index.name(id), rules, name);
        collectTrigrams(name, grams);
        for (const std::uint32_t gram : grams) {
            const auto [names, end] = postings.namesWith(gram);
            for (const std::uint32_t* i = names; i != end; ++i)
                if (shared[*i]++ == 0) met.push_back(*i);
        }
        for (const std::uint32_t i : met) {
            // 2c/(n+m) ≥ floor, without a division for the many that fall short.
            const double sizes = static_cast<double>(wantedSizes[i] + grams.size());
            if (2.0 * shared[i] >= kOfferedSimilarity * sizes) offer(best[i], {id, 2.0 * shared[i] / sizes});
            shared[i] = 0;
        }
        met.clear();
    }
    return best;
}

}  // namespace

// An index of the wanted names' trigrams: each file's trigrams are looked
// up in it once, counting for each wanted name how many it shares, which is
// all Dice's coefficient needs besides the two counts. The work is the
// number of (file, wanted name) pairs that share a trigram, each a counter's
// step, never a comparison of two names. The files are cut into one part
// per processor (at most eight, at least 65,536 files each), scanned on
// threads of their own; the parts' best are merged as one scan would have
// ranked them (equal scores in the order of the walk).
std::optional<std::vector<std::vector<ClosestFile>>> closestFiles(const FileIndex& index,
                                                                  const std::vector<std::string_view>& wanted,
                                                                  const PathRules& rules, RepairTicker& ticker) {
    std::vector<std::uint32_t> wantedSizes;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
    for (const std::string_view name : wanted) {
        const std::vector<std::uint32_t> grams = nameTrigrams(normalisedName(name, rules));
        for (const std::uint32_t gram : grams) pairs.emplace_back(gram, static_cast<std::uint32_t>(wantedSizes.size()));
        wantedSizes.push_back(static_cast<std::uint32_t>(grams.size()));
    }
    const TrigramPostings postings(std::move(pairs));

    const std::size_t processors = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    const std::size_t parts = std::clamp<std::size_t>(index.size() / 65536, 1, processors);
    const std::size_t perPart = (index.size() + parts - 1) / parts;
    std::atomic<bool> stop = false;
    std::vector<std::optional<std::vector<std::vector<ClosestFile>>>> found(parts);
    {
        std::vector<std::jthread> workers;
        for (std::size_t part = 1; part < parts; ++part)
            workers.emplace_back([&, part] {
                found[part] = scanFiles(index, rules, postings, wantedSizes, part * perPart,
                                        std::min(index.size(), (part + 1) * perPart), [&] { return !stop.load(); });
            });
        // The caller's own part tells the ticker, whose answer stops them all.
        found[0] = scanFiles(index, rules, postings, wantedSizes, 0, std::min(index.size(), perPart), [&] {
            if (!ticker.carryOn({index.size(), 0, 0})) stop = true;
            return !stop.load();
        });
    }
    if (stop) return std::nullopt;
    std::vector<std::vector<ClosestFile>>& best = *found[0];
    for (std::size_t part = 1; part < parts; ++part)
        for (std::size_t i = 0; i < best.size(); ++i)
            for (const ClosestFile& file : (*found[part])[i]) offer(best[i], file);
    return std::move(best);
}

}  // namespace listora
