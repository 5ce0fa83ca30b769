// listora-cli move and copy: the files of every entry of a playlist moved
// or copied into a folder, each logged, the playlist saved on request.
// The two commands differ only in the transfer's mode and texts.

#include "cli/session.h"
#include "core/fileops/transfer_engine.h"
#include "core/text/codepage.h"

#include <cstdio>

namespace listora::cli {
namespace {

// "SOURCE: no such file": the row and why it was not done.
std::string notDoneText(const RowNotDone& row) {
    switch (row.reason) {
        case RowFailure::NoSuchFile:
            return row.source + ": no such file";
        case RowFailure::AlreadyExists:
            return row.source + ": " + row.target + " already exists";
        case RowFailure::SystemError:
            return row.source + ": " + (row.systemText.empty() ? std::string("failed") : row.systemText);
        case RowFailure::NotLocalFile:
            return row.source + ": not a local file";
    }
    return row.source;
}

// The console's progress line, and a line on standard error for each row
// not done.
class RowReport : public TransferProgress {
public:
    RowReport(ConsoleProgress& progress, std::string command) : progress_(progress), command_(std::move(command)) {}
    void rowStarting(std::size_t finished, std::size_t checked) override { progress_.rowStarting(finished, checked); }
    void rowNotDone(const RowNotDone& row) override {
        progress_.clear();
        std::fprintf(stderr, "listora-cli %s: not done: %s\n", command_.c_str(),
                     terminalText(notDoneText(row)).c_str());
    }

private:
    ConsoleProgress& progress_;
    std::string command_;
};

class TransferCommand : public Command {
public:
    explicit TransferCommand(TransferMode mode) : mode_(mode) {}

    std::string name() const override { return mode_ == TransferMode::Move ? "move" : "copy"; }
    std::string usage() const override {
        const std::string common =
            "  A row not done is named on standard error with the reason. With --dry-run\n"
            "  each row's move or copy, or why it would not be done, is printed and\n"
            "  nothing changes. OUT - is standard output.";
        if (mode_ == TransferMode::Move)
            return "usage: listora-cli move PLAYLIST DEST [--save | --save-as OUT [--relative]] [--force] [--dry-run]\n"
                   "  Moves the files of every entry of PLAYLIST into the folder DEST, logs\n"
                   "  each move, and with --save writes PLAYLIST again (absolute paths) or\n"
                   "  with --save-as writes OUT.\n" +
                   common;
        return "usage: listora-cli copy PLAYLIST DEST [--rewrite-paths] [--save | --save-as OUT [--relative]] "
               "[--force] [--dry-run]\n"
               "  Copies the files of every entry of PLAYLIST into the folder DEST and logs\n"
               "  each copy. With --rewrite-paths the entries name the copies afterwards.\n" +
               common;
    }
    std::vector<std::string> options() const override {
        if (mode_ == TransferMode::Move) return {"--save", "--save-as", "--relative", "--force", "--dry-run"};
        return {"--rewrite-paths", "--save", "--save-as", "--relative", "--force", "--dry-run"};
    }

    int run(Session& session, const Options& options) const override {
        if (options.positional.size() != 2)
            return usageError(*this,
                              options.positional.size() < 2 ? "PLAYLIST and DEST are needed" : "too many arguments");
        if (options.save && options.output) return usageError(*this, "--save and --save-as exclude each other");
        if (options.positional[1].empty()) {  // as the window, which then writes nothing either
            std::fprintf(stderr, "%s\n", terminalText(noDestinationText()).c_str());
            return kUsage;
        }
        const std::string playlist = session.absolute(options.positional[0]);
        const std::string destination = session.absolute(options.positional[1]);
        const std::optional<std::string> out =
            options.output ? std::optional(session.output(*options.output)) : std::nullopt;
        // Every row would fail the same way; the folder is what to mend.
        if (!session.fs.exists(destination) || session.fs.isFile(destination)) {
            std::fprintf(stderr, "listora-cli %s: %s is not a folder\n", name().c_str(), options.positional[1].c_str());
            return kEnded;
        }
        if (const int refused = session.read(playlist)) return refused;
        session.list.updateChecks([](const PlaylistEntry&) { return true; });
        if (options.dryRun) return plan(session, destination);
        RowReport report(session.progress, name());
        TransferPorts ports{session.fs,    session.prompts,         session.clock, session.progress,
                            session.rules, session.files.logFolder, &report};
        const long long errors = SaveToFile(session.list, destination, mode_, ports);
        if (options.save) session.write(playlist, PathMode::Absolute);
        if (out) session.write(*out);
        return errors > 0 ? kRowsFailed : kOk;
    }

private:
    // One line a row on standard output: "move SOURCE -> TARGET", or
    // "not done: SOURCE: why".
    int plan(Session& session, const std::string& destination) const {
        const long long failures = planTransfer(
            session.list, destination, mode_, session.fs, session.rules,
            [&](const std::string& source, const std::string& target, const std::optional<RowNotDone>& failure) {
                const std::string line =
                    failure ? "not done: " + notDoneText(*failure) : name() + " " + source + " -> " + target;
                std::printf("%s\n", terminalText(line).c_str());
            });
        return failures > 0 ? kRowsFailed : kOk;
    }

    TransferMode mode_;
};

}  // namespace

std::unique_ptr<Command> moveCommand() { return std::make_unique<TransferCommand>(TransferMode::Move); }
std::unique_ptr<Command> copyCommand() { return std::make_unique<TransferCommand>(TransferMode::Copy); }

}  // namespace listora::cli
