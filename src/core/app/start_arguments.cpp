#include "core/app/start_arguments.h"

#include "core/help/about_settings.h"
#include "core/paths/path_rules.h"
#include "core/playlist/playlist_format.h"
#include "core/text/codepage.h"

namespace listora {

StartArguments parseStartArguments(const std::vector<std::string>& args, const std::string& startFolder,
                                   const PathRules& rules) {
    StartArguments parsed;
    bool options = true;
    for (const std::string& arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            parsed.action = StartArguments::Action::Help;
        } else if (options && arg == "--version") {
            if (parsed.action != StartArguments::Action::Help) parsed.action = StartArguments::Action::Version;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            parsed.action = StartArguments::Action::Bad;
            parsed.badOption = arg;
            return parsed;
        } else if (!arg.empty()) {
            // Empty for a name the program's code page cannot hold, which the
            // gathering leaves out and counts.
            const std::optional<std::string> path = convertCodePageExactly(arg, fileNameCodePage(), systemCodePage());
            parsed.paths.push_back(path ? rules.makeAbsolute(*path, startFolder) : std::string());
            if (path && hasPlaylistExtension(parsed.paths.back())) parsed.playlists.insert(parsed.paths.back());
        }
    }
    return parsed;
}

std::string startUsageText() {
    return "usage: listora [FILE|FOLDER]...\n"
           "  Starts Listora with the files and folders given gathered as a drop of\n"
           "  them on the window, in that order: playlists (.m3u) are read, the first\n"
           "  one becoming the list's playlist, music files are added and folders are\n"
           "  walked for music files.\n"
           "  --help     this text\n"
           "  --version  the version\n"
           "  --         the rest are files, also when they begin with \"-\"\n"
           "listora-cli does the same work without a window.\n";
}

std::string versionText() { return std::string("Listora ") + about::kVersion + "\n"; }

}  // namespace listora
