#pragma once
// What every command of listora-cli works with: the real file system, the
// console's ports, the clock, the program's files, and the list a command
// reads a playlist into.

#include "cli/command.h"
#include "cli/console_ports.h"
#include "core/app/program_files.h"
#include "core/native/native_clock.h"
#include "core/native/native_file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/main_list.h"
#include "core/playlist/playlist_writer.h"

#include <deque>
#include <optional>
#include <string>

namespace listora::cli {

class Session {
public:
    explicit Session(const Options& options);

    // A path given on the command line, taken against the folder the
    // command was started in (reading a playlist may change the current
    // one) and converted from the file system's code page.
    std::string absolute(const std::string& path) const;
    // A text given on the command line in the program's code page.
    std::string held(const std::string& text) const;
    // A playlist to read: "-" is standard input.
    std::string input(const std::string& path) const;
    // A playlist to write: "-" is standard output, and the messages then go
    // to standard error.
    std::string output(const std::string& path);
    // Reads the playlist into the list as the window opens it; kUsage when a
    // file without the header was refused.
    int read(const std::string& path);
    // Writes the list to `path` with the options' path mode, or `mode`.
    void write(const std::string& path, std::optional<PathMode> mode = std::nullopt);
    PathMode pathMode() const { return options_.relative ? PathMode::Relative : PathMode::Absolute; }

    NativeFileSystem fs;
    ConsoleProgress progress;
    ConsolePrompts prompts{progress};
    NativeClock clock;
    PathRules rules = PathRules::native();
    ProgramFiles files = locateProgramFiles(executableFolder());
    MainList list;
    std::string currentFile;
    std::deque<std::string> gatherQueue;

private:
    const Options& options_;
    std::string start_;
};

}  // namespace listora::cli
