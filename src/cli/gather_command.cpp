// listora-cli gather: music files and playlists gathered into a playlist,
// as a drop on the window gathers them.

#include "cli/session.h"
#include "core/playlist/gatherer.h"

namespace listora::cli {
namespace {

class GatherCommand : public Command {
public:
    std::string name() const override { return "gather"; }
    std::string usage() const override {
        return "usage: listora-cli gather PATH... -o OUT [--relative] [--force]\n"
               "  Gathers the music files of the paths, in that order, as a drop of them\n"
               "  on the window does, and writes them to the playlist OUT. A playlist among\n"
               "  the paths without the #EXTM3U header is left out unless --force is given;\n"
               "  the rest is still written, and the exit status is 2.";
    }
    std::vector<std::string> options() const override { return {"-o", "--relative", "--force"}; }

    int run(Session& session, const Options& options) const override {
        if (options.positional.empty() || !options.output) return usageError(*this);
        const std::string out = session.absolute(*options.output);
        // A drop hands over whole absolute paths, in the order given.
        for (const std::string& path : options.positional) session.gatherQueue.push_back(session.absolute(path));
        DragFileAdd(session.list, session.currentFile, session.gatherQueue,
                    {session.fs, session.prompts, session.progress, session.rules});
        session.write(out);
        return session.prompts.refused ? kUsage : kOk;
    }
};

}  // namespace

std::unique_ptr<Command> gatherCommand() { return std::make_unique<GatherCommand>(); }

}  // namespace listora::cli
