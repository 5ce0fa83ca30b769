#pragma once
// Reading the operation log back: the day files there are and the records
// of one day, as the log viewer and the command line show them.

#include "core/fileops/operation_log.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace listora {

class FileSystem;
enum class Listing;

// The names of the day files (extension ".txt" exactly) in listing order.
Listing listDayFiles(FileSystem& fs, const std::string& logFolder, std::vector<std::string>& names);

// Records of a day's text. A record whose second line is no kind word is an
// older three-line move record; lines past the end read as empty texts.
std::vector<LogRecord> readLogRecords(std::string_view text);

// Hands the records of the day file `dayName` in the Log folder to `take`
// one at a time, as they are read; throws "ファイル %s は開けません" when it
// cannot be read (after the records before the failure).
void forEachDayRecord(FileSystem& fs, const std::string& logFolder, const std::string& dayName,
                      const std::function<void(LogRecord&&)>& take);
// All of them at once.
std::vector<LogRecord> readDayRecords(FileSystem& fs, const std::string& logFolder, const std::string& dayName);

}  // namespace listora
