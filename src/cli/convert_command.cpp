// listora-cli convert: a playlist written again with absolute or relative
// paths.

#include "cli/session.h"
#include "core/playlist/convert_playlist.h"

namespace listora::cli {
namespace {

class ConvertCommand : public Command {
public:
    std::string name() const override { return "convert"; }
    std::string usage() const override {
        return "usage: listora-cli convert IN OUT [--relative] [--force]\n"
               "  Reads the playlist IN as the window opens it and writes it to OUT, with\n"
               "  absolute paths or, with --relative, relative ones. A file without the\n"
               "  #EXTM3U header is read only with --force.";
    }
    std::vector<std::string> options() const override { return {"--relative", "--force"}; }

    int run(Session& session, const Options& options) const override {
        if (options.positional.size() != 2 || options.output) return usageError(*this);
        const std::string in = session.absolute(options.positional[0]);
        const std::string out = session.absolute(options.positional[1]);
        const ConversionOutcome outcome =
            convertPlaylist({session.fs, session.prompts, session.rules}, in, out, session.pathMode());
        return outcome == ConversionOutcome::Refused ? kUsage : kOk;
    }
};

}  // namespace

std::unique_ptr<Command> convertCommand() { return std::make_unique<ConvertCommand>(); }

}  // namespace listora::cli
