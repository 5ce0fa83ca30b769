#pragma once
// One command of listora-cli: its name, its usage text, the options it
// takes, and what it does with the parsed arguments.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace listora::cli {

enum ExitStatus { kOk = 0, kRowsFailed = 1, kUsage = 2, kEnded = 3 };

struct Options {
    std::vector<std::string> positional;
    std::optional<std::string> output;  // -o, --save-as
    std::optional<std::string> method;  // --method
    bool relative = false;
    bool force = false;
    bool rewritePaths = false;
    bool save = false;
    bool all = false;
    bool help = false;
    bool dryRun = false;
    bool allTypes = false;  // gather: also the other music types
    // relink
    std::vector<std::string> searchFolders;                         // --in
    std::vector<std::pair<std::string, std::string>> replacements;  // --replace OLD NEW
    bool ignoreCase = false;
    bool closest = false;
    std::string fault;  // the first thing wrong with the options, for the user
};

class Session;

class Command {
public:
    virtual ~Command() = default;
    virtual std::string name() const = 0;
    virtual std::string usage() const = 0;
    virtual std::vector<std::string> options() const = 0;
    virtual int run(Session& session, const Options& options) const = 0;
};

// Prints what was wrong ("listora-cli convert: OUT is missing") and the
// command's usage on standard error; the usage error's status.
int usageError(const Command& command, const std::string& what);

// For a command of two arguments, a playlist `in` ("IN", "PLAYLIST") and
// OUT: the usage error when there are not exactly two, else nothing.
std::optional<int> inAndOutMissing(const Command& command, const Options& options, const std::string& in = "IN");

// Every command, in the order the overview names them.
std::unique_ptr<Command> convertCommand();
std::unique_ptr<Command> gatherCommand();
std::unique_ptr<Command> moveCommand();
std::unique_ptr<Command> copyCommand();
std::unique_ptr<Command> compareCommand();
std::unique_ptr<Command> logCommand();
std::unique_ptr<Command> tagsCommand();
std::unique_ptr<Command> relinkCommand();
std::unique_ptr<Command> dedupeCommand();

}  // namespace listora::cli
