#pragma once
// Where the program keeps its own files (Inf.ini, the Log folder): beside
// the executable for a copy run where it was built, which has ReadMe.txt
// beside it in a folder it may write; in the per-user (XDG) folders for an
// installed copy; in $LISTORA_HOME when it is set, which overrides both. The
// help text lies beside the executable, or in share/listora/ beside its bin/
// folder when installed.

#include <string>

namespace listora {

struct ProgramFiles {
    std::string settingsFile;  // Inf.ini
    std::string logFolder;     // Log/, with a trailing "/"
    std::string helpFile;      // ReadMe.txt
    std::string optionsFile;   // Options.ini, beside Inf.ini (options_file.h)
};

std::string executableFolder();
ProgramFiles locateProgramFiles(const std::string& executableFolder);

}  // namespace listora
