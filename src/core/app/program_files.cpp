#include "core/app/program_files.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace listora {
namespace {

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string xdgFolder(const char* variable, const char* fallbackUnderHome) {
    const char* set = std::getenv(variable);
    if (set && set[0] == '/') return withSlash(set) + "listora/";
    const char* home = std::getenv("HOME");
    return withSlash(home ? home : "/tmp") + fallbackUnderHome + "/listora/";
}

}  // namespace

std::string executableFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("./") : withSlash(self.parent_path().string());
}

ProgramFiles locateProgramFiles(const std::string& exeFolder) {
    // A copy run where it was built (or unpacked) has its guide beside it
    // and a folder it may write; an installed one has neither.
    const std::string besideHelp = withSlash(exeFolder) + "ReadMe.txt";
    const bool helpBeside = ::access(besideHelp.c_str(), F_OK) == 0;
    const bool portable = helpBeside && ::access(exeFolder.c_str(), W_OK) == 0;
    std::string settingsFolder;
    std::string dataFolder;
    if (const char* home = std::getenv("LISTORA_HOME"); home && home[0] != '\0') {
        settingsFolder = dataFolder = withSlash(home);
    } else if (portable) {
        settingsFolder = dataFolder = withSlash(exeFolder);
    } else {
        settingsFolder = xdgFolder("XDG_CONFIG_HOME", ".config");
        dataFolder = xdgFolder("XDG_DATA_HOME", ".local/share");
    }
    // A folder named but not there yet is made; one that cannot be made
    // shows up as the file's own error when Inf.ini is written.
    std::error_code ignored;
    std::filesystem::create_directories(settingsFolder, ignored);
    std::filesystem::create_directories(dataFolder, ignored);
    return {settingsFolder + "Inf.ini", dataFolder + "Log/",
            helpBeside ? besideHelp : withSlash(exeFolder) + "../share/listora/ReadMe.txt",
            settingsFolder + "Options.ini"};
}

}  // namespace listora
