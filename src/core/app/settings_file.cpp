#include "core/app/settings_file.h"

#include "core/errors/errors.h"
#include "core/files/file_system.h"
#include "core/text/text_lines.h"

namespace listora {

bool readAutoSaveSetting(FileSystem& fs, Prompts& prompts, const std::string& path) {
    bool autoSave = false;
    runReportingErrors(prompts, [&] {
        if (!fs.exists(path)) {
            writeAutoSaveSetting(fs, path, false);
            return;
        }
        const std::string bytes = readFileOrThrow(fs, path);
        const auto lines = splitLines(bytes);
        if (lines.empty()) throw indexOutOfRangeError(0);
        autoSave = lines.front() == "0";
    });
    return autoSave;
}

void writeAutoSaveSetting(FileSystem& fs, const std::string& path, bool autoSave) {
    writeFileOrThrow(fs, path, autoSave ? "0\r\n" : "1\r\n");
}

}  // namespace listora
