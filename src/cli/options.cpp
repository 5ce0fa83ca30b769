#include "cli/options.h"

#include <algorithm>

namespace listora::cli {

Options parseOptions(const Command& command, const std::vector<std::string>& arguments) {
    Options options;
    const std::vector<std::string> allowed = command.options();
    const auto fault = [&](const std::string& text) {
        if (options.fault.empty()) options.fault = text;
    };
    const auto takesValue = [](const std::string& name) {
        return name == "-o" || name == "--save-as" || name == "--method" || name == "--in";
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
        // "--save-as=x" is "--save-as x"; the value may itself hold "=".
        const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        std::optional<std::string> value;
        if (equals != std::string::npos) value = arg.substr(equals + 1);
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
            fault("no option '" + name + "'");
        } else if (name == "--replace") {
            // Two values: the old folder and the new one.
            if (!value && i + 1 < arguments.size()) value = arguments[++i];
            if (value && i + 1 < arguments.size())
                options.replacements.emplace_back(*value, arguments[++i]);
            else
                fault("option '--replace' needs an old and a new folder");
        } else if (takesValue(name)) {
            if (!value && i + 1 < arguments.size()) value = arguments[++i];
            if (!value)
                fault("option '" + name + "' needs " +
                      (name == "--method" ? "a method"
                       : name == "--in"   ? "a folder"
                                          : "a file name"));
            else if (name == "--in")
                options.searchFolders.push_back(*value);
            else
                (name == "--method" ? options.method : options.output) = *value;
        } else if (value) {
            fault("option '" + name + "' takes no value");
        } else {
            options.relative |= name == "--relative";
            options.force |= name == "--force";
            options.rewritePaths |= name == "--rewrite-paths";
            options.save |= name == "--save";
            options.dryRun |= name == "--dry-run";
            options.all |= name == "--all";
            options.allTypes |= name == "--all-types";
            options.ignoreCase |= name == "--ignore-case";
            options.closest |= name == "--closest";
        }
    }
    return options;
}

}  // namespace listora::cli
