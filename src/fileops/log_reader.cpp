#include "fileops/log_reader.h"

#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/path_rules.h"
#include "platform/text_lines.h"

#include <algorithm>

namespace listora {

Listing listDayFiles(FileSystem& fs, const std::string& logFolder, std::vector<std::string>& names) {
    std::vector<FolderEntry> entries;
    const Listing listing = fs.listFolder(logFolder, entries);
    const PathRules rules = PathRules::native();
    names.clear();
    for (FolderEntry& entry : entries)
        if (rules.extension(entry.name) == ".txt") names.push_back(std::move(entry.name));
    return listing;
}

std::vector<LogRecord> readLogRecords(std::string_view text) {
    const std::vector<std::string_view> lines = splitLines(text);
    const auto line = [&](std::size_t i) { return i < lines.size() ? std::string(lines[i]) : std::string(); };
    const std::string move = systemText("移動");
    const std::string kinds[] = {move, systemText("コピー"), systemText("削除")};

    std::vector<LogRecord> records;
    for (std::size_t i = 0; i < lines.size();) {
        const std::string second = line(i + 1);
        if (std::find(std::begin(kinds), std::end(kinds), second) != std::end(kinds)) {
            records.push_back({line(i), second, line(i + 2), line(i + 3)});
            i += 4;
        } else {
            records.push_back({line(i), move, second, line(i + 2)});
            i += 3;
        }
    }
    return records;
}

std::vector<LogRecord> readDayRecords(FileSystem& fs, const std::string& logFolder, const std::string& dayName) {
    return readLogRecords(readFileOrThrow(fs, logFolder + dayName));
}

}  // namespace listora
