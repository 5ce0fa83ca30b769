// listora-cli relink: a playlist's broken entries repaired from the files
// under the folders named, and old folders replaced by new ones.

#include "cli/session.h"
#include "core/playlist/playlist_folder.h"
#include "core/repair/folder_replacement.h"
#include "core/repair/repair_search.h"
#include "core/repair/row_repairs.h"
#include "core/text/codepage.h"

#include <cstdio>

namespace listora::cli {
namespace {

// One tab-separated line for a row that was missing.
std::string reportLine(const RepairProposal& proposal, std::string_view oldPath) {
    static const char* const kKinds[] = {"found", "closest", "ambiguous", "missing"};
    std::string line = kKinds[static_cast<int>(proposal.kind)];
    const auto addField = [&](std::string_view text) {
        line += '\t';
        line += terminalText(text);
    };
    addField(oldPath);
    const std::size_t shown = proposal.kind == RepairKind::Ambiguous ? proposal.candidates.size() : 1;
    for (std::size_t i = 0; i < std::min(shown, proposal.candidates.size()); ++i) addField(proposal.candidates[i].path);
    if (proposal.kind == RepairKind::Closest) {
        char score[16];
        std::snprintf(score, sizeof score, "\t%.2f", proposal.candidates.front().score);
        line += score;
    }
    return line;
}

class RelinkCommand : public Command {
public:
    std::string name() const override { return "relink"; }
    std::string usage() const override {
        return "usage: listora-cli relink PLAYLIST OUT --in FOLDER [--in FOLDER ...]\n"
               "         [--replace OLD NEW ...] [--ignore-case] [--closest] [--relative] [--force]\n"
               "  Reads PLAYLIST, replaces each folder OLD by NEW in every entry's path (OLD\n"
               "  is read as a line of PLAYLIST would be, so C:\\Music\\ matches its Windows\n"
               "  lines), then looks for the file of each entry that is still missing under\n"
               "  the folders given, by its file name (--ignore-case: in any case). Where\n"
               "  several files have the name, the one whose folders match most of the old\n"
               "  path's last folders is taken. With --closest, an entry whose name no file\n"
               "  has takes the file of the most similar name when it scores 0.60 or more\n"
               "  and no other scores as high. OUT gets the repaired playlist; a line per\n"
               "  missing entry goes to standard output (standard error when OUT is -):\n"
               "  found OLD NEW, closest OLD BEST SCORE, ambiguous OLD CANDIDATE...,\n"
               "  missing OLD, separated by tabs. Exit status 1 when an entry stays broken.";
    }
    std::vector<std::string> options() const override {
        return {"--in", "--replace", "--ignore-case", "--closest", "--relative", "--force"};
    }

    int run(Session& session, const Options& options) const override {
        if (const std::optional<int> missing = inAndOutMissing(*this, options, "PLAYLIST")) return *missing;
        if (options.searchFolders.empty() && options.replacements.empty())
            return usageError(*this, "--in FOLDER is missing");
        const std::string in = session.absolute(options.positional[0]);
        const std::string out = session.output(options.positional[1]);
        RepairSearch search{{}, options.ignoreCase, options.closest};
        for (const std::string& folder : options.searchFolders) {
            search.folders.push_back(session.absolute(folder));
            // A mistyped folder would only leave every entry missing.
            if (!session.fs.exists(search.folders.back()) || session.fs.isFile(search.folders.back()))
                return usageError(*this, "no folder " + folder);
        }
        if (const int refused = session.read(in)) return refused;

        const std::string base = playlistFolder(session.fs, in, session.rules);
        for (const auto& [from, to] : options.replacements)
            replaceFolder(session.list,
                          {folderAsPlaylistLine(session.held(from), base, session.rules), session.absolute(to)},
                          session.rules);
        const std::vector<RepairProposal> proposals =
            *findRepairs(session.list.rows(), session.fs, session.rules, search);

        std::FILE* report = out == "/dev/stdout" ? stderr : stdout;
        std::vector<RowRepair> repairs;
        for (const RepairProposal& proposal : proposals) {
            std::fprintf(report, "%s\n", reportLine(proposal, session.list.at(proposal.row).fullPath()).c_str());
            if (const RepairCandidate* taken = acceptedCandidate(proposal))
                repairs.push_back({proposal.row, taken->path});
        }
        applyRepairs(session.list, repairs, session.rules);
        session.write(out);
        return repairs.size() == proposals.size() ? kOk : kRowsFailed;
    }
};

}  // namespace

std::unique_ptr<Command> relinkCommand() { return std::make_unique<RelinkCommand>(); }

}  // namespace listora::cli
