// listora-cli compare: two playlists compared by their entries' full paths,
// as the window's comparison does.

#include "cli/session.h"
#include "core/search/playlist_comparison.h"

#include <cstdio>
#include <map>

namespace listora::cli {
namespace {

class CompareCommand : public Command {
public:
    std::string name() const override { return "compare"; }
    std::string usage() const override {
        return "usage: listora-cli compare A B --method difference|common|only-a -o OUT [--relative]\n"
               "  Compares the playlists A and B by their entries' full paths, as the\n"
               "  window's comparison does, and writes the result to OUT (absolute paths or,\n"
               "  with --relative, relative ones): difference, the entries only one of them\n"
               "  has (A's first, then B's last first); common, A's entries that B has too;\n"
               "  only-a, A's entries that B lacks. Repeated paths count once. When B has no\n"
               "  entries, common writes nothing and the exit status is 1. OUT - is\n"
               "  standard output.";
    }
    std::vector<std::string> options() const override { return {"--method", "-o", "--relative"}; }

    int run(Session& session, const Options& options) const override {
        static const std::map<std::string, ComparisonMethod> kMethods = {
            {"difference", ComparisonMethod::Difference},
            {"common", ComparisonMethod::Common},
            {"only-a", ComparisonMethod::OnlyInA},
        };
        if (options.positional.size() != 2)
            return usageError(*this, options.positional.size() < 2 ? "A and B are needed" : "too many arguments");
        if (!options.method) return usageError(*this, "--method is missing");
        if (!kMethods.count(*options.method)) return usageError(*this, "no method '" + *options.method + "'");
        if (!options.output) return usageError(*this, "-o OUT is missing");
        const std::string a = session.absolute(options.positional[0]);
        const std::string b = session.absolute(options.positional[1]);
        const std::string out = session.output(*options.output);
        CutBuffer fromA;
        std::vector<PlaylistEntry> fromB;
        switch (ComparePlaylists({session.list, session.currentFile, fromA, fromB},
                                 {session.fs, session.prompts, session.rules}, a, b, kMethods.at(*options.method))) {
            case ComparisonOutcome::NotChosen:
                return kUsage;
            case ComparisonOutcome::NothingToDo:
                std::fprintf(stderr, "listora-cli compare: %s has no entries, so none are common; nothing written\n",
                             options.positional[1].c_str());
                return kRowsFailed;
            case ComparisonOutcome::Result:
                break;
        }
        session.write(out);
        return kOk;
    }
};

}  // namespace

std::unique_ptr<Command> compareCommand() { return std::make_unique<CompareCommand>(); }

}  // namespace listora::cli
