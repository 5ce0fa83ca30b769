// listora-cli: the main job of Listora from the command line, through the
// same core as the window: converting playlists, gathering music files,
// moving and copying the files of a playlist, comparing two playlists,
// reading the operation log, and repairing broken entries. Each command lives in a file of its own.

#include "cli/command.h"
#include "cli/options.h"
#include "cli/session.h"
#include "core/app/heap_settings.h"
#include "core/app/start_arguments.h"
#include "core/errors/errors.h"
#include "core/text/codepage.h"

#include <cstdio>
#include <string>
#include <vector>

namespace listora::cli {

int usageError(const Command& command, const std::string& what) {
    std::fprintf(stderr, "listora-cli %s: %s\n%s\n", command.name().c_str(), what.c_str(), command.usage().c_str());
    return kUsage;
}

std::optional<int> inAndOutMissing(const Command& command, const Options& options, const std::string& in) {
    const std::size_t count = options.positional.size();
    if (count == 2) return std::nullopt;
    return usageError(command, count == 0   ? in + " and OUT are missing"
                               : count == 1 ? "OUT is missing"
                                            : "too many arguments");
}

namespace {

constexpr const char* kOverview =
    "usage: listora-cli COMMAND [ARGUMENTS]   (or --help, --version)\n"
    "commands: convert, gather, move, copy, compare, log, tags, relink, dedupe; listora-cli COMMAND\n"
    "--help tells more.\n"
    "--opt=value is --opt value. After -- every argument is a file name, also\n"
    "one that starts with -. A playlist named - is standard input or output.\n"
    "Exit status: 0 all went well, 1 some files failed (relink: some entries stay\n"
    "broken), 2 usage error or a refused file, 3 a file that could not be read or\n"
    "written ended the command.";

// A file that could not be opened, read or written, also one whose lines
// could not be taken, ended the command.
int exitStatusOf(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::CannotOpen:
        case ErrorKind::CannotCreate:
        case ErrorKind::BadContent:
            return kEnded;
    }
    return kEnded;
}

int run(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        std::fprintf(argc < 2 ? stderr : stdout, "%s\n", kOverview);
        return argc < 2 ? kUsage : kOk;
    }
    if (std::string(argv[1]) == "--version") {
        std::fputs(versionText().c_str(), stdout);
        return kOk;
    }
    std::vector<std::unique_ptr<Command>> commands;
    for (auto make : {convertCommand, gatherCommand, moveCommand, copyCommand, compareCommand, logCommand, tagsCommand,
                      relinkCommand, dedupeCommand})
        commands.push_back(make());
    const std::string name = argv[1];
    const Command* command = nullptr;
    for (const auto& each : commands)
        if (each->name() == name) command = each.get();
    if (!command) {
        std::fprintf(stderr, "listora-cli: no command '%s'\n%s\n", name.c_str(), kOverview);
        return kUsage;
    }
    const Options options = parseOptions(*command, std::vector<std::string>(argv + 2, argv + argc));
    if (options.help) {
        std::printf("%s\n", command->usage().c_str());
        return kOk;
    }
    if (!options.fault.empty()) return usageError(*command, options.fault);
    try {
        Session session(options);
        return command->run(session, options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", terminalText(standardErrorText(error.what())).c_str());
        // Nothing but a ListoraError should arrive here; if anything else
        // does, the command ended all the same.
        const auto* known = dynamic_cast<const ListoraError*>(&error);
        return known ? exitStatusOf(known->kind()) : kEnded;
    }
}

}  // namespace
}  // namespace listora::cli

int main(int argc, char** argv) {
    listora::applyHeapSettings();
    return listora::cli::run(argc, argv);
}
