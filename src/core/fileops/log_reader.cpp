#include "core/fileops/log_reader.h"

#include "core/errors/errors.h"
#include "core/files/file_system.h"
#include "core/paths/path_rules.h"
#include "core/text/codepage.h"
#include "core/text/text_lines.h"

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

namespace {

// Hands each record to `take` as it is made from lines handed out one at a
// time by `next`, holding at most the four lines of one record.
template <typename NextLine, typename Take>
void eachRecord(NextLine&& next, Take&& take) {
    const std::string move = systemText("移動");
    const std::string kinds[] = {move, systemText("コピー"), systemText("削除")};
    const auto isKind = [&](std::string_view line) {
        return std::find(std::begin(kinds), std::end(kinds), line) != std::end(kinds);
    };

    std::string ahead[4];
    std::size_t held = 0;  // lines in `ahead`
    bool more = true;
    const auto fill = [&](std::size_t count) {
        for (std::string_view line; more && held < count; ++held) {
            more = next(line);
            if (!more) break;
            ahead[held].assign(line);
        }
    };
    // A line past the end reads as an empty text.
    const auto line = [&](std::size_t i) { return i < held ? std::move(ahead[i]) : std::string(); };
    for (;;) {
        fill(2);
        if (held == 0) break;
        LogRecord record;
        const bool fourLines = held > 1 && isKind(ahead[1]);
        const std::size_t used = fourLines ? 4 : 3;
        fill(used);
        record.fileName = line(0);
        if (fourLines) {
            record.kind = line(1);
            record.before = line(2);
            record.after = line(3);
        } else {
            record.kind = move;
            record.before = line(1);
            record.after = line(2);
        }
        held = 0;
        take(std::move(record));
    }
}

}  // namespace

std::vector<LogRecord> readLogRecords(std::string_view text) {
    LineReader reader(text, NulByte::InLine);
    std::vector<LogRecord> records;
    eachRecord([&](std::string_view& line) { return reader.next(line); },
               [&](LogRecord&& record) { records.push_back(std::move(record)); });
    return records;
}

void forEachDayRecord(FileSystem& fs, const std::string& logFolder, const std::string& dayName,
                      const std::function<void(LogRecord&&)>& take) {
    const std::string path = logFolder + dayName;
    // A day is a plain name of a file in the Log folder, never a way out of it.
    if (dayName.empty() || dayName.front() == '.' || dayName.find('/') != std::string::npos)
        throw cannotOpenError(path);
    const std::unique_ptr<ByteStream> stream = fs.openForReading(path);
    if (!stream) throw cannotOpenError(path);
    StreamLineReader reader(*stream, NulByte::InLine);
    eachRecord([&](std::string_view& line) { return reader.next(line); }, take);
    if (reader.failed()) throw cannotOpenError(path);
}

std::vector<LogRecord> readDayRecords(FileSystem& fs, const std::string& logFolder, const std::string& dayName) {
    std::vector<LogRecord> records;
    forEachDayRecord(fs, logFolder, dayName, [&](LogRecord&& record) { records.push_back(std::move(record)); });
    return records;
}

}  // namespace listora
