#include "cli/session.h"

#include "core/errors/errors.h"
#include "core/playlist/m3u_reader.h"
#include "core/text/codepage.h"

namespace listora::cli {

Session::Session(const Options& options) : options_(options), start_(fs.currentDirectory()) {
    prompts.headerAnswer = options.force ? Answer::Yes : Answer::No;
    prompts.copyAnswer = options.rewritePaths ? Answer::Yes : Answer::No;
}

std::string Session::held(const std::string& text) const {
    const std::optional<std::string> converted = convertCodePageExactly(text, fileNameCodePage(), systemCodePage());
    // A name the program's code page cannot hold would reach another file.
    if (!converted) throw cannotOpenError(convertCodePage(text, fileNameCodePage(), systemCodePage()));
    return *converted;
}

std::string Session::absolute(const std::string& path) const { return rules.makeAbsolute(held(path), start_); }

// The names the file system reads and writes as the streams they are; a
// playlist there has the current folder as its own.
std::string Session::input(const std::string& path) const { return path == "-" ? "/dev/stdin" : absolute(path); }

std::string Session::output(const std::string& path) {
    if (path != "-") return absolute(path);
    prompts.messages = stderr;
    return "/dev/stdout";
}

int Session::read(const std::string& path) {
    LoadToFile(list, currentFile, {fs, prompts, rules}, absolute(path));
    return prompts.refused ? kUsage : kOk;
}

void Session::write(const std::string& path, std::optional<PathMode> mode) {
    writePlaylist(fs, list, mode.value_or(pathMode()), path, rules);
}

}  // namespace listora::cli
