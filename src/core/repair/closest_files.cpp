#include "core/repair/closest_files.h"

#include "core/repair/name_similarity.h"
#include "core/repair/repair_progress.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace listora {
namespace {

constexpr std::size_t kOffered = 3;

// How often each trigram of the wanted names occurs among the files' names,
// estimated from an even sample of at most 65,536 files.
std::unordered_map<std::uint32_t, std::uint32_t> trigramCounts(const FileIndex& index,
                                                               const std::vector<std::vector<std::uint32_t>>& wanted,
                                                               const PathRules& rules) {
    std::unordered_map<std::uint32_t, std::uint32_t> counts;
    for (const auto& grams : wanted)
        for (const std::uint32_t gram : grams) counts.emplace(gram, 0);
    const std::size_t step = std::max<std::size_t>(1, index.size() / 65536);
    std::string name;
    std::vector<std::uint32_t> grams;
    for (std::size_t file = 0; file < index.size(); file += step) {
        normaliseName(index.name(static_cast<FileIndex::FileId>(file)), rules, name);
        collectTrigrams(name, grams);
        for (const std::uint32_t gram : grams)
            if (const auto counted = counts.find(gram); counted != counts.end()) ++counted->second;
    }
    return counts;
}

void offer(std::vector<ClosestFile>& best, ClosestFile candidate) {
    const auto place =
        std::find_if(best.begin(), best.end(), [&](const ClosestFile& held) { return held.score < candidate.score; });
    if (place == best.end() && best.size() >= kOffered) return;
    best.insert(place, candidate);
    if (best.size() > kOffered) best.pop_back();
}

}  // namespace

// A file scoring at least t against a wanted name of n trigrams shares at
// least t·n/(2−t) of them (its own count m is at least what it shares, and
// 2c/(n+m) ≥ t). So it shares at least one of the wanted name's n − that + 1
// rarest trigrams: each wanted name is filed under those only, each file's
// trigrams are looked up there, and only the wanted names found are scored.
std::optional<std::vector<std::vector<ClosestFile>>> closestFiles(const FileIndex& index,
                                                                  const std::vector<std::string_view>& wanted,
                                                                  const PathRules& rules, RepairTicker& ticker) {
    std::vector<std::vector<std::uint32_t>> wantedGrams;
    for (const std::string_view name : wanted) wantedGrams.push_back(nameTrigrams(normalisedName(name, rules)));
    const auto counts = trigramCounts(index, wantedGrams, rules);

    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> filed;
    std::vector<bool> isFiled(1u << 24);
    for (std::size_t i = 0; i < wantedGrams.size(); ++i) {
        std::vector<std::uint32_t> grams = wantedGrams[i];
        const double n = static_cast<double>(grams.size());
        const auto shared =
            static_cast<std::size_t>(std::ceil(kOfferedSimilarity * n / (2.0 - kOfferedSimilarity) - 1e-9));
        const std::size_t rarest = grams.size() - std::min(grams.size(), std::max<std::size_t>(shared, 1)) + 1;
        std::sort(grams.begin(), grams.end(), [&](std::uint32_t a, std::uint32_t b) {
            return std::pair(counts.at(a), a) < std::pair(counts.at(b), b);
        });
        for (std::size_t g = 0; g < std::min(rarest, grams.size()); ++g) {
            filed[grams[g]].push_back(static_cast<std::uint32_t>(i));
            isFiled[grams[g]] = true;
        }
    }

    std::vector<std::vector<ClosestFile>> best(wanted.size());
    std::vector<std::uint32_t> lastScored(wanted.size(), 0);
    std::string name;
    std::vector<std::uint32_t> grams;
    for (std::size_t file = 0; file < index.size(); ++file) {
        if ((file & 4095) == 0 && !ticker.carryOn({index.size(), 0, 0})) return std::nullopt;
        const auto id = static_cast<FileIndex::FileId>(file);
        normaliseName(index.name(id), rules, name);
        collectTrigrams(name, grams);
        for (const std::uint32_t gram : grams) {
            if (!isFiled[gram]) continue;
            for (const std::uint32_t i : filed.at(gram)) {
                if (lastScored[i] == file + 1) continue;
                lastScored[i] = static_cast<std::uint32_t>(file + 1);
                const double score = diceSimilarity(wantedGrams[i], grams);
                if (score >= kOfferedSimilarity) offer(best[i], {id, score});
            }
        }
    }
    return best;
}

}  // namespace listora
