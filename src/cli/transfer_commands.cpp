// listora-cli move and copy: the files of every entry of a playlist moved
// or copied into a folder, each logged, the playlist saved on request.
// The two commands differ only in the transfer's mode and texts.

#include "cli/session.h"
#include "core/fileops/transfer_engine.h"

#include <cstdio>

namespace listora::cli {
namespace {

class TransferCommand : public Command {
public:
    explicit TransferCommand(TransferMode mode) : mode_(mode) {}

    std::string name() const override { return mode_ == TransferMode::Move ? "move" : "copy"; }
    std::string usage() const override {
        if (mode_ == TransferMode::Move)
            return "usage: listora-cli move PLAYLIST DEST [--save | --save-as OUT [--relative]] [--force]\n"
                   "  Moves the files of every entry of PLAYLIST into the folder DEST, logs\n"
                   "  each move, and with --save writes PLAYLIST again (absolute paths) or\n"
                   "  with --save-as writes OUT.";
        return "usage: listora-cli copy PLAYLIST DEST [--rewrite-paths] [--save | --save-as OUT [--relative]] "
               "[--force]\n"
               "  Copies the files of every entry of PLAYLIST into the folder DEST and logs\n"
               "  each copy. With --rewrite-paths the entries name the copies afterwards.";
    }
    std::vector<std::string> options() const override {
        if (mode_ == TransferMode::Move) return {"--save", "--save-as", "--relative", "--force"};
        return {"--rewrite-paths", "--save", "--save-as", "--relative", "--force"};
    }

    int run(Session& session, const Options& options) const override {
        if (options.positional.size() != 2 || (options.save && options.output)) return usageError(*this);
        if (options.positional[1].empty()) {  // as the window, which then writes nothing either
            std::fprintf(stderr, "%s\n", terminalText(noDestinationText()).c_str());
            return kUsage;
        }
        const std::string playlist = session.absolute(options.positional[0]);
        const std::string destination = session.absolute(options.positional[1]);
        const std::optional<std::string> out =
            options.output ? std::optional(session.absolute(*options.output)) : std::nullopt;
        if (const int refused = session.read(playlist)) return refused;
        session.list.updateChecks([](const PlaylistEntry&) { return true; });
        TransferPorts ports{session.fs,    session.prompts,         session.clock,    session.progress,
                            session.rules, session.files.logFolder, &session.progress};
        const long long errors = SaveToFile(session.list, destination, mode_, ports);
        if (options.save) session.write(playlist, PathMode::Absolute);
        if (out) session.write(*out);
        return errors > 0 ? kRowsFailed : kOk;
    }

private:
    TransferMode mode_;
};

}  // namespace

std::unique_ptr<Command> moveCommand() { return std::make_unique<TransferCommand>(TransferMode::Move); }
std::unique_ptr<Command> copyCommand() { return std::make_unique<TransferCommand>(TransferMode::Copy); }

}  // namespace listora::cli
