#include "cli/options.h"

#include <algorithm>

namespace listora::cli {

Options parseOptions(const Command& command, const std::vector<std::string>& arguments) {
    Options options;
    const std::vector<std::string> allowed = command.options();
    const std::string prefix = "listora-cli " + command.name() + ": ";
    const auto fault = [&](const std::string& text) {
        if (options.fault.empty()) options.fault = prefix + text;
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
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
            fault("no option '" + arg + "'");
        } else if (arg == "-o" || arg == "--save-as" || arg == "--method") {
            if (i + 1 < arguments.size())
                (arg == "--method" ? options.method : options.output) = arguments[++i];
            else
                fault("option '" + arg + "' needs " + (arg == "--method" ? "a method" : "a file name"));
        } else {
            options.relative |= arg == "--relative";
            options.force |= arg == "--force";
            options.rewritePaths |= arg == "--rewrite-paths";
            options.save |= arg == "--save";
            options.all |= arg == "--all";
        }
    }
    return options;
}

}  // namespace listora::cli
