#include "core/repair/repair_search.h"

#include "core/files/file_system.h"
#include "core/playlist/address.h"
#include "core/repair/closest_files.h"
#include "core/repair/file_index.h"
#include "core/repair/name_similarity.h"
#include "core/repair/repair_progress.h"
#include "core/text/codepage.h"

#include <algorithm>
#include <unordered_map>

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

// The files of a name that many files have (a CD's "Track01.mp3" in every
// album), grouped by the name of their own folder once per search: without
// it each entry of that name would look at every one of them.
class CommonNames {
public:
    static constexpr std::size_t kMany = 64;

    explicit CommonNames(const FileIndex& index) : index_(index) {}

    // The files of the entry's name, known already when the name is common.
    const std::vector<FileIndex::FileId>& filesNamed(std::string_view name) {
        const auto known = groups_.find(index_.nameKey(name));
        if (known != groups_.end()) return known->second.files;
        found_ = index_.named(name);
        if (found_.size() < kMany) return found_;
        Group& group = groups_[index_.nameKey(name)];
        group.files = std::move(found_);
        for (const FileIndex::FileId file : group.files)
            group.byFolder[index_.nameKey(index_.ownFolderName(file))].push_back(file);
        return group.files;
    }

    // Of those files, the ones whose own folder has the name `folder`: only
    // they can share any folder with the entry. Nothing for a name that is
    // not common.
    const std::vector<FileIndex::FileId>* inFolderNamed(std::string_view name, std::string_view folder) const {
        const auto group = groups_.find(index_.nameKey(name));
        if (group == groups_.end()) return nullptr;
        const auto files = group->second.byFolder.find(index_.nameKey(folder));
        return files == group->second.byFolder.end() ? &none_ : &files->second;
    }

private:
    struct Group {
        std::vector<FileIndex::FileId> files;
        std::unordered_map<std::string, std::vector<FileIndex::FileId>> byFolder;
    };
    const FileIndex& index_;
    std::unordered_map<std::string, Group> groups_;
    std::vector<FileIndex::FileId> found_;
    const std::vector<FileIndex::FileId> none_;
};

RepairProposal sameNameProposal(std::size_t row, const PlaylistEntry& entry,
                                const std::vector<FileIndex::FileId>& files, const FileIndex& index,
                                const CommonNames& common, const PathRules& rules) {
    RepairProposal proposal{row, RepairKind::Found, {}};
    if (files.size() == 1) {
        proposal.candidates.push_back({index.path(files.front())});
        return proposal;
    }
    std::vector<std::string_view> folders = foldersFromLast(entry.fullPath(), rules);
    // Where only some can share a folder, the others share none and lose;
    // where none can, all tie.
    const std::vector<FileIndex::FileId>* sharing =
        folders.empty() ? nullptr : common.inFolderNamed(entry.fileName(), folders.front());
    const std::vector<FileIndex::FileId>& scored = sharing && !sharing->empty() ? *sharing : files;
    if (sharing && sharing->empty()) folders.clear();
    std::size_t most = 0;
    std::vector<FileIndex::FileId> best;
    for (const FileIndex::FileId file : scored) {
        const std::size_t shared = index.trailingFoldersInCommon(file, folders);
        if (shared > most || best.empty()) best.clear(), most = shared;
        if (shared == most) best.push_back(file);
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

    CommonNames common(*index);
    std::vector<RepairProposal> proposals;
    std::vector<std::size_t> unnamed;  // proposals with no file of the same name
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if ((row & 1023) == 0 && !ticker.carryOn({index->size(), row, rows.size()})) return std::nullopt;
        const std::string_view path = rows[row].fullPath();
        // A file the walk found needs no question to the file system.
        if (isAddress(path) || index->holds(path) || fs.isFile(std::string(path))) continue;
        const std::vector<FileIndex::FileId>& files = common.filesNamed(rows[row].fileName());
        if (files.empty()) {
            unnamed.push_back(proposals.size());
            proposals.push_back({row, RepairKind::Missing, {}});
        } else {
            proposals.push_back(sameNameProposal(row, rows[row], files, *index, common, rules));
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
