#pragma once
// Where the program keeps its own files (Inf.ini, the Log folder): beside
// the executable, as a portable copy has them; in the per-user folders when
// that folder cannot be written (an installed copy); in $LISTORA_HOME when it
// is set, which overrides both.

#include <string>

namespace listora {

struct ProgramFiles {
    std::string settingsFile;  // Inf.ini
    std::string logFolder;     // Log/, with a trailing "/"
};

std::string executableFolder();
ProgramFiles locateProgramFiles(const std::string& executableFolder);

}  // namespace listora
