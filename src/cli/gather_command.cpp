// listora-cli gather: music files and playlists gathered into a playlist,
// as a drop on the window gathers them.

#include "cli/session.h"
#include "core/playlist/gatherer.h"

#include <cstdio>

namespace listora::cli {
namespace {

class GatherCommand : public Command {
public:
    std::string name() const override { return "gather"; }
    std::string usage() const override {
        return "usage: listora-cli gather PATH... -o OUT [--relative] [--force] [--all-types]\n"
               "  Gathers the music files of the paths, in that order, as a drop of them\n"
               "  on the window does, and writes them to the playlist OUT. A playlist among\n"
               "  the paths without the #EXTM3U header is left out unless --force is given;\n"
               "  the rest is still written, and the exit status is 2. When nothing is\n"
               "  found, OUT holds the header only and the exit status is 1. OUT - is\n"
               "  standard output. --all-types also adds .flac .ogg .oga .opus .m4a .aac\n"
               "  .wav .wma .aiff .ape .wv files.";
    }
    std::vector<std::string> options() const override { return {"-o", "--relative", "--force", "--all-types"}; }

    int run(Session& session, const Options& options) const override {
        if (options.positional.empty()) return usageError(*this, "PATH is missing");
        if (!options.output) return usageError(*this, "-o OUT is missing");
        const std::string out = session.output(*options.output);
        // A drop hands over whole absolute paths, in the order given.
        for (const std::string& path : options.positional) session.gatherQueue.push_back(session.absolute(path));
        DragFileAdd(session.list, session.currentFile, session.gatherQueue,
                    {session.fs, session.prompts, session.progress, session.rules, nullptr, nullptr, options.allTypes});
        session.write(out);
        if (session.prompts.refused) return kUsage;
        if (session.list.count() == 0) {
            std::fprintf(stderr, "listora-cli gather: no music files found; %s holds the header only\n",
                         options.output->c_str());
            return kRowsFailed;
        }
        return kOk;
    }
};

}  // namespace

std::unique_ptr<Command> gatherCommand() { return std::make_unique<GatherCommand>(); }

}  // namespace listora::cli
