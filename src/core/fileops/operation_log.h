#pragma once
// The operation log: one text file a day in the Log folder, four lines for
// each file moved, copied or deleted. A run adds its records at the end of
// the day's file, under the file's lock, so that two runs at once (two
// windows, the window and a script) both keep every record; a long run
// writes them in pieces as it goes, so a crash loses at most the last piece.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace listora {

class Clock;
class FileSystem;
class SharedFile;

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
    // A piece holds at most this many records, or what came in this long.
    static constexpr std::size_t kPieceRecords = 256;
    static constexpr std::chrono::seconds kPieceInterval{2};

    // Fixes the day for the whole run; throws "ファイル %s は開けません" when
    // the day's file exists but cannot be read.
    static OperationLog open(FileSystem& fs, const Clock& clock, const std::string& logFolder);

    // Held until the next write.
    void add(const LogRecord& record);
    // Writes the records held when a piece is full or due. A failure keeps
    // them held for the next write, which reports it.
    void writeIfDue(FileSystem& fs);
    // Makes the Log folder and the day's file when missing and writes the
    // records held; a file with a lone CR or LF (a hand edit) is rewritten
    // with every break made CR LF. Throws "ファイル %s を作成できません".
    void write(FileSystem& fs);

    const std::string& dayFile() const { return dayFile_; }

private:
    OperationLog(std::string folder, std::string dayFile)
        : folder_(std::move(folder)), dayFile_(std::move(dayFile)), lastWrite_(std::chrono::steady_clock::now()) {}
    bool writeHeld(FileSystem& fs);
    bool rewriteMended(SharedFile& file, std::uint64_t size);

    std::string folder_;
    std::string dayFile_;
    std::string held_;  // the held records' lines, each ended by CR LF
    std::size_t heldRecords_ = 0;
    // The file up to here has been seen to hold CR LF breaks only; what
    // others add after it is checked at the next write.
    std::uint64_t checkedUpTo_ = 0;
    std::chrono::steady_clock::time_point lastWrite_;
};

}  // namespace listora
