#pragma once
// Reading the operation log back: the day files there are and the records
// of one day, as the log viewer and the command line show them.

#include "fileops/operation_log.h"

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

// The records of the day file `dayName` in the Log folder; throws
// "ファイル %s は開けません" when it cannot be read.
std::vector<LogRecord> readDayRecords(FileSystem& fs, const std::string& logFolder, const std::string& dayName);

}  // namespace listora
