#pragma once
// The operation log: one text file a day in the Log folder, four lines for
// each file moved, copied or deleted. A run reads the day's file once, adds
// its records in memory and writes the file once at its end.

#include <string>
#include <string_view>

namespace listora {

class Clock;
class FileSystem;

struct LogRecord {
    std::string fileName;
    std::string kind;  // "移動", "コピー" or "削除"
    std::string before;
    std::string after;  // "---" for a deletion
};

// "2026-12-07.txt": the date as year/month/day with each "/" made "-".
std::string dayFileName(int year, int month, int day);

class OperationLog {
public:
    // Reads today's file, if there is one, with every lone CR or LF made CR
    // LF; throws "ファイル %s は開けません" when it exists but cannot be read.
    // The day is fixed here for the whole run.
    static OperationLog open(FileSystem& fs, const Clock& clock, const std::string& logFolder);

    void add(const LogRecord& record);
    // Makes the Log folder when it is missing and writes the whole day's
    // text, also when nothing was added; throws "ファイル %s を作成できません".
    void write(FileSystem& fs) const;

    const std::string& dayFile() const { return dayFile_; }
    const std::string& text() const { return text_; }

private:
    OperationLog(std::string folder, std::string dayFile, std::string text)
        : folder_(std::move(folder)), dayFile_(std::move(dayFile)), text_(std::move(text)) {}
    void addLine(std::string_view line);

    std::string folder_;
    std::string dayFile_;
    std::string text_;
};

}  // namespace listora
