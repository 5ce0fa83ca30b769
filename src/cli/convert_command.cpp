// listora-cli convert: a playlist written again, in another format or with
// absolute or relative paths.

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
               "  absolute paths or, with --relative, relative ones. Each file's extension\n"
               "  names its format: .pls, .xspf, .m3u8 (M3U in UTF-8), M3U for any other.\n"
               "  An M3U file without the #EXTM3U header is read only with --force. IN - is\n"
               "  standard input, OUT - standard output, both M3U; relative paths there are\n"
               "  the current folder's.";
    }
    std::vector<std::string> options() const override { return {"--relative", "--force"}; }

    int run(Session& session, const Options& options) const override {
        if (const std::optional<int> missing = inAndOutMissing(*this, options)) return *missing;
        const std::string in = session.input(options.positional[0]);
        const std::string out = session.output(options.positional[1]);
        // Forced, the file is read once: standard input cannot be read again
        // after a question.
        const ConversionOutcome outcome =
            convertPlaylist({session.fs, session.prompts, session.rules}, in, out, session.pathMode(),
                            options.force ? HeaderPolicy::Force : HeaderPolicy::Ask);
        return outcome == ConversionOutcome::Refused ? kUsage : kOk;
    }
};

}  // namespace

std::unique_ptr<Command> convertCommand() { return std::make_unique<ConvertCommand>(); }

}  // namespace listora::cli
