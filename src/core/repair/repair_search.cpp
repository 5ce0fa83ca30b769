#include "core/repair/repair_search.h"

#include "core/files/file_system.h"
#include "core/playlist/address.h"
#include "core/repair/closest_files.h"
#include "core/repair/file_index.h"
#include "core/repair/name_similarity.h"
#include "core/repair/repair_progress.h"
#include "core/text/codepage.h"

#include <algorithm>

namespace listora {
namespace {

// The names of the folders of `path`, the last first.
std::vector<std::string_view> foldersFromLast(std::string_view path, const PathRules& rules) {
    std::vector<std::string_view> folders;
    const char separator[] = {rules.separator()};
    std::string_view rest = path.substr(0, path.size() - rules.fileName(path).size());
    while (!rest.empty()) {
        rest.remove_suffix(1);  // the separator
        const std::size_t cut = findLastCharOf(rest, std::string_view(separator, 1), rules.codePage());
        const std::size_t start = cut == std::string_view::npos ? 0 : cut + 1;
        if (start < rest.size()) folders.push_back(rest.substr(start));
        rest = rest.substr(0, start);
    }
    return folders;
}

RepairProposal sameNameProposal(std::size_t row, std::string_view path, const std::vector<FileIndex::FileId>& files,
                                const FileIndex& index, const PathRules& rules) {
    RepairProposal proposal{row, RepairKind::Found, {}};
    if (files.size() == 1) {
        proposal.candidates.push_back({index.path(files.front())});
        return proposal;
    }
    const std::vector<std::string_view> folders = foldersFromLast(path, rules);
    std::size_t most = 0;
    std::vector<FileIndex::FileId> best;
    for (const FileIndex::FileId file : files) {
        const std::size_t common = index.trailingFoldersInCommon(file, folders);
        if (common > most || best.empty()) best.clear(), most = common;
        if (common == most) best.push_back(file);
    }
    if (best.size() > 1) proposal.kind = RepairKind::Ambiguous;
    for (std::size_t i = 0; i < std::min(best.size(), kMostAmbiguous); ++i)
        proposal.candidates.push_back({index.path(best[i])});
    return proposal;
}

}  // namespace

std::optional<std::vector<RepairProposal>> findRepairs(const std::vector<PlaylistEntry>& rows, FileSystem& fs,
                                                       const PathRules& rules, const RepairSearch& search,
                                                       RepairProgress* progress) {
    RepairTicker ticker(progress);
    std::optional<FileIndex> index = FileIndex::build(fs, rules, search.folders, search.ignoreCase, ticker);
    if (!index) return std::nullopt;

    std::vector<RepairProposal> proposals;
    std::vector<std::size_t> unnamed;  // proposals with no file of the same name
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if ((row & 1023) == 0 && !ticker.carryOn({index->size(), row, rows.size()})) return std::nullopt;
        const std::string_view path = rows[row].fullPath();
        // A file the walk found needs no question to the file system.
        if (isAddress(path) || index->holds(path) || fs.isFile(std::string(path))) continue;
        const std::vector<FileIndex::FileId> files = index->named(rows[row].fileName());
        if (files.empty()) {
            unnamed.push_back(proposals.size());
            proposals.push_back({row, RepairKind::Missing, {}});
        } else {
            proposals.push_back(sameNameProposal(row, path, files, *index, rules));
        }
    }
    if (!search.closest || unnamed.empty()) return proposals;

    std::vector<std::string_view> names;
    for (const std::size_t i : unnamed) names.push_back(rows[proposals[i].row].fileName());
    const auto closest = closestFiles(*index, names, rules, ticker);
    if (!closest) return std::nullopt;
    for (std::size_t q = 0; q < unnamed.size(); ++q) {
        RepairProposal& proposal = proposals[unnamed[q]];
        for (const ClosestFile& file : (*closest)[q])
            proposal.candidates.push_back({index->path(file.file), file.score});
        if (!proposal.candidates.empty()) proposal.kind = RepairKind::Closest;
    }
    return proposals;
}

const RepairCandidate* acceptedCandidate(const RepairProposal& proposal) {
    const auto& candidates = proposal.candidates;
    if (proposal.kind == RepairKind::Found) return &candidates.front();
    if (proposal.kind != RepairKind::Closest || candidates.front().score < kAcceptedSimilarity) return nullptr;
    if (candidates.size() > 1 && candidates[1].score >= candidates.front().score) return nullptr;
    return &candidates.front();
}

}  // namespace listora
