// listora-cli: the main job of Listora from the command line, through the
// same core as the window: converting playlists, gathering music files,
// moving and copying the files of a playlist, comparing two playlists, and
// reading the operation log.

#include "cli/console_ports.h"
#include "fileops/log_reader.h"
#include "fileops/transfer_engine.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/handoff.h"
#include "platform/huge_page_heap.h"
#include "platform/native_file_system.h"
#include "platform/path_rules.h"
#include "platform/program_files.h"
#include "playlist/gatherer.h"
#include "playlist/m3u_reader.h"
#include "playlist/m3u_writer.h"
#include "playlist/main_list.h"
#include "search/playlist_comparison.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace listora {
namespace {

enum ExitStatus { kOk = 0, kRowsFailed = 1, kUsage = 2, kEnded = 3 };

const std::map<std::string, std::string> kUsageTexts = {
    {"convert",
     "usage: listora-cli convert IN OUT [--relative] [--force]\n"
     "  Reads the playlist IN as the window opens it and writes it to OUT, with\n"
     "  absolute paths or, with --relative, relative ones. A file without the\n"
     "  #EXTM3U header is read only with --force."},
    {"gather",
     "usage: listora-cli gather PATH... -o OUT [--relative] [--force]\n"
     "  Gathers the music files of the paths, in that order, as a drop of them\n"
     "  on the window does, and writes them to the playlist OUT. A playlist among\n"
     "  the paths without the #EXTM3U header is left out unless --force is given;\n"
     "  the rest is still written, and the exit status is 2."},
    {"move",
     "usage: listora-cli move PLAYLIST DEST [--save | --save-as OUT [--relative]] [--force]\n"
     "  Moves the files of every entry of PLAYLIST into the folder DEST, logs\n"
     "  each move, and with --save writes PLAYLIST again (absolute paths) or\n"
     "  with --save-as writes OUT."},
    {"copy",
     "usage: listora-cli copy PLAYLIST DEST [--rewrite-paths] [--save | --save-as OUT [--relative]] [--force]\n"
     "  Copies the files of every entry of PLAYLIST into the folder DEST and logs\n"
     "  each copy. With --rewrite-paths the entries name the copies afterwards."},
    {"compare",
     "usage: listora-cli compare A B --method difference|common|only-a -o OUT [--relative]\n"
     "  Compares the playlists A and B by their entries' full paths, as the\n"
     "  window's comparison does, and writes the result to OUT (absolute paths or,\n"
     "  with --relative, relative ones): difference, the entries only one of them\n"
     "  has (A's first, then B's last first); common, A's entries that B has too;\n"
     "  only-a, A's entries that B lacks. Repeated paths count once. When B has no\n"
     "  entries, common writes nothing and the exit status is 1."},
    {"log",
     "usage: listora-cli log [DAY]\n"
     "  Without DAY lists the day files of the operation log; with DAY (such as\n"
     "  2026-12-07) prints its records, one a line: file name, kind, path\n"
     "  before, path after, separated by tabs."},
};

constexpr const char* kOverview =
    "usage: listora-cli COMMAND [ARGUMENTS]\n"
    "commands: convert, gather, move, copy, compare, log; listora-cli COMMAND --help tells more.\n"
    "After -- every argument is a file name, also one that starts with -.\n"
    "Exit status: 0 all went well, 1 some files failed, 2 usage error or a refused\n"
    "file, 3 a file that could not be read or written ended the command.";

// The options each command takes.
const std::map<std::string, std::vector<std::string>> kCommandOptions = {
    {"convert", {"--relative", "--force"}},
    {"gather", {"-o", "--relative", "--force"}},
    {"move", {"--save", "--save-as", "--relative", "--force"}},
    {"copy", {"--rewrite-paths", "--save", "--save-as", "--relative", "--force"}},
    {"compare", {"--method", "-o", "--relative"}},
    {"log", {}},
};

struct Options {
    std::vector<std::string> positional;
    std::optional<std::string> output;  // -o, --save-as
    std::optional<std::string> method;  // --method
    bool relative = false;
    bool force = false;
    bool rewritePaths = false;
    bool save = false;
    bool help = false;
    std::string fault;  // the first thing wrong with the options, for the user
};

Options parseOptions(const std::string& command, int argc, char** argv) {
    Options options;
    const std::vector<std::string>& allowed = kCommandOptions.at(command);
    const auto fault = [&](const std::string& text) {
        if (options.fault.empty()) options.fault = text;
    };
    bool optionsEnded = false;  // after "--", so that a file may be named "-x.m3u"
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            options.help = true;
            continue;
        }
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.positional.push_back(arg);
            continue;
        }
        if (std::find(allowed.begin(), allowed.end(), arg) == allowed.end()) {
            fault("listora-cli " + command + ": no option '" + arg + "'");
        } else if (arg == "-o" || arg == "--save-as" || arg == "--method") {
            if (i + 1 < argc)
                (arg == "--method" ? options.method : options.output) = argv[++i];
            else
                fault("listora-cli " + command + ": option '" + arg + "' needs " +
                      (arg == "--method" ? "a method" : "a file name"));
        } else {
            options.relative |= arg == "--relative";
            options.force |= arg == "--force";
            options.rewritePaths |= arg == "--rewrite-paths";
            options.save |= arg == "--save";
        }
    }
    return options;
}

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

int usage(const std::string& command) {
    std::fprintf(stderr, "%s\n", kUsageTexts.at(command).c_str());
    return kUsage;
}

class Cli {
public:
    explicit Cli(const Options& options) : options_(options), start_(fs_.currentDirectory()) {
        prompts_.headerAnswer = options.force ? Answer::Yes : Answer::No;
        prompts_.copyAnswer = options.rewritePaths ? Answer::Yes : Answer::No;
    }

    // The rows go to the new file as they are read, so that a playlist of
    // any size costs a piece of it; a read that is refused or ends in an
    // error leaves nothing written, as when the rows were read first.
    int convert() {
        if (options_.positional.size() != 2 || options_.output) return usage("convert");
        const std::string in = absolute(options_.positional[0]);
        const std::string out = absolute(options_.positional[1]);
        struct Refused {};
        try {
            writeFileInPiecesOrThrow(fs_, out, [&](ByteSink& sink) {
                PlaylistWriter writer(pathMode(), out, rules_, sink);
                // The rows of one piece are written on a second thread while
                // the next piece is read.
                Handoff<std::vector<PlaylistEntry>> writing([&](std::vector<PlaylistEntry>& rows) {
                    // A row without a file name is dropped, as the window drops it.
                    for (const PlaylistEntry& row : rows)
                        if (hasFileName(row)) writer.add(row);
                });
                const PlaylistPass read = readPlaylistInPieces(
                    {fs_, prompts_, rules_}, in, HeaderPolicy::Ask,
                    [&](std::vector<PlaylistEntry>& rows) { writing.hand(std::exchange(rows, {})); });
                // Thrown out of the writing, which then leaves no file.
                if (read.error) throw *read.error;
                if (read.refused) throw Refused{};
                writing.finish();
                writer.finish();
            });
        } catch (const Refused&) {
            return kUsage;
        }
        return kOk;
    }

    int gather() {
        if (options_.positional.empty() || !options_.output) return usage("gather");
        const std::string out = absolute(*options_.output);
        // A drop hands over whole absolute paths, in the order given.
        for (const std::string& path : options_.positional) queue_.push_back(absolute(path));
        DragFileAdd(list_, currentFile_, queue_, {fs_, prompts_, progress_, rules_});
        write(out);
        return prompts_.refused ? kUsage : kOk;
    }

    int transfer(const std::string& command) {
        if (options_.positional.size() != 2 || (options_.save && options_.output)) return usage(command);
        const TransferMode mode = command == "move" ? TransferMode::Move : TransferMode::Copy;
        if (options_.positional[1].empty()) {  // as the window, which then writes nothing either
            std::fprintf(stderr, "%s\n", terminalText(noDestinationText()).c_str());
            return kUsage;
        }
        const std::string playlist = absolute(options_.positional[0]);
        const std::string destination = absolute(options_.positional[1]);
        const std::optional<std::string> out =
            options_.output ? std::optional(absolute(*options_.output)) : std::nullopt;
        if (const int refused = read(playlist)) return refused;
        list_.updateChecks([](const PlaylistEntry&) { return true; });
        TransferPorts ports{fs_, prompts_, clock_, progress_, rules_, files_.logFolder, &progress_};
        const long long errors = SaveToFile(list_, destination, mode, ports);
        if (options_.save) write(playlist, PathMode::Absolute);
        if (out) write(*out);
        return errors > 0 ? kRowsFailed : kOk;
    }

    int compare() {
        static const std::map<std::string, ComparisonMethod> kMethods = {
            {"difference", ComparisonMethod::Difference},
            {"common", ComparisonMethod::Common},
            {"only-a", ComparisonMethod::OnlyInA},
        };
        if (options_.positional.size() != 2 || !options_.output || !options_.method ||
            !kMethods.count(*options_.method))
            return usage("compare");
        const std::string a = absolute(options_.positional[0]);
        const std::string b = absolute(options_.positional[1]);
        const std::string out = absolute(*options_.output);
        CutBuffer fromA;
        std::vector<PlaylistEntry> fromB;
        switch (ComparePlaylists({list_, currentFile_, fromA, fromB}, {fs_, prompts_, rules_}, a, b,
                                 kMethods.at(*options_.method))) {
            case ComparisonOutcome::NotChosen:
                return kUsage;
            case ComparisonOutcome::NothingToDo:
                std::fprintf(stderr, "listora-cli compare: %s has no entries, so none are common; nothing written\n",
                             options_.positional[1].c_str());
                return kRowsFailed;
            case ComparisonOutcome::Result:
                break;
        }
        write(out);
        return kOk;
    }

    int log() {
        if (options_.positional.size() > 1 || options_.output) return usage("log");
        if (options_.positional.empty()) {
            std::vector<std::string> names;
            if (listDayFiles(fs_, files_.logFolder, names) == Listing::BrokenOff)
                std::fprintf(stderr, "%s\n", terminalText(systemText("ファイルの取得に失敗しました。")).c_str());
            for (const std::string& name : names) std::printf("%s\n", terminalText(name).c_str());
            return kOk;
        }
        std::string day = options_.positional[0];
        if (!day.ends_with(".txt")) day += ".txt";
        // Printed as read, so a day of any size costs one record's memory;
        // a NUL in a damaged record is printed as the byte it is.
        forEachDayRecord(fs_, files_.logFolder, day, [](LogRecord&& record) {
            const std::string line =
                terminalText(record.fileName + '\t' + record.kind + '\t' + record.before + '\t' + record.after + '\n');
            std::fwrite(line.data(), 1, line.size(), stdout);
        });
        return kOk;
    }

private:
    // Paths given on the command line are taken against the folder the
    // command was started in (reading a playlist may change the current
    // one), and come in the file system's code page.
    std::string absolute(const std::string& path) const {
        const std::optional<std::string> held = convertCodePageExactly(path, fileNameCodePage(), systemCodePage());
        // A name the program's code page cannot hold would reach another file.
        if (!held) throw cannotOpenError(convertCodePage(path, fileNameCodePage(), systemCodePage()));
        return rules_.makeAbsolute(*held, start_);
    }

    int read(const std::string& path) {
        LoadToFile(list_, currentFile_, {fs_, prompts_, rules_}, absolute(path));
        return prompts_.refused ? kUsage : kOk;
    }

    PathMode pathMode() const { return options_.relative ? PathMode::Relative : PathMode::Absolute; }

    void write(const std::string& path, std::optional<PathMode> mode = std::nullopt) {
        writePlaylist(fs_, list_, mode.value_or(pathMode()), path, rules_);
    }

    const Options& options_;
    NativeFileSystem fs_;
    ConsoleProgress progress_;
    ConsolePrompts prompts_{progress_};
    NativeClock clock_;
    PathRules rules_ = PathRules::native();
    ProgramFiles files_ = locateProgramFiles(executableFolder());
    std::string start_;
    MainList list_;
    std::string currentFile_;
    std::deque<std::string> queue_;
};

int run(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        std::fprintf(argc < 2 ? stderr : stdout, "%s\n", kOverview);
        return argc < 2 ? kUsage : kOk;
    }
    const std::string command = argv[1];
    if (!kUsageTexts.count(command)) {
        std::fprintf(stderr, "listora-cli: no command '%s'\n%s\n", command.c_str(), kOverview);
        return kUsage;
    }
    const Options options = parseOptions(command, argc, argv);
    if (options.help) {
        std::printf("%s\n", kUsageTexts.at(command).c_str());
        return kOk;
    }
    if (!options.fault.empty()) {
        std::fprintf(stderr, "%s\n", options.fault.c_str());
        return usage(command);
    }
    Cli cli(options);
    try {
        if (command == "convert") return cli.convert();
        if (command == "gather") return cli.gather();
        if (command == "log") return cli.log();
        if (command == "compare") return cli.compare();
        return cli.transfer(command);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", terminalText(standardErrorText(error.what())).c_str());
        // Nothing but a ListoraError should arrive here; if anything else
        // does, the command ended all the same.
        const auto* known = dynamic_cast<const ListoraError*>(&error);
        return known ? exitStatusOf(known->kind()) : kEnded;
    }
}

}  // namespace
}  // namespace listora

int main(int argc, char** argv) {
    listora::restartWithHugePageHeap(argv);
    return listora::run(argc, argv);
}
