#include "fileops/operation_log.h"

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/file_system.h"

#include <cstdio>

namespace listora {
namespace {

std::string withCrLfBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string dayFileName(int year, int month, int day) {
    char name[32];
    std::snprintf(name, sizeof name, "%04d-%02d-%02d.txt", year, month, day);
    return name;
}

OperationLog OperationLog::open(FileSystem& fs, const Clock& clock, const std::string& logFolder) {
    const Date today = clock.today();
    std::string dayFile = logFolder + dayFileName(today.year, today.month, today.day);
    std::string text;
    if (fs.exists(dayFile)) text = withCrLfBreaks(readFileOrThrow(fs, dayFile));
    std::string folder = logFolder;
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return OperationLog(std::move(folder), std::move(dayFile), std::move(text));
}

void OperationLog::addLine(std::string_view line) {
    // A hand-edited file may end without a break; the new line then starts
    // on a line of its own instead of joining the last one.
    if (text_.empty() || text_.ends_with('\n')) {
        text_ += line;
        text_ += "\r\n";
    } else {
        text_ += "\r\n";
        text_ += line;
    }
}

void OperationLog::add(const LogRecord& record) {
    addLine(record.fileName);
    addLine(record.kind);
    addLine(record.before);
    addLine(record.after);
}

void OperationLog::write(FileSystem& fs) const {
    if (!fs.exists(folder_)) fs.createFolder(folder_);  // a failure shows as the write's
    writeFileOrThrow(fs, dayFile_, text_);
}

}  // namespace listora
