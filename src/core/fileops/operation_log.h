#pragma once
// The operation log: one text file a day in the Log folder, four lines for
// each file moved, copied or deleted. A run adds its records at the end of
// the day's file, under the file's lock, so that two runs at once (two
// windows, the window and a script) both keep every record. While a run
// goes on, a thread of the log's own writes what was added at most a
// quarter of a second ago, also while the run waits on one long copy, so a
// crash loses only the files in flight and the last moment's records; the
// run itself never waits for the disk.

#include <chrono>
#include <memory>
#include <string>

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
    // Records wait at most this long before they are written.
    static constexpr std::chrono::milliseconds kPieceInterval{250};

    // Fixes the day for the whole run; throws "ファイル %s は開けません" when
    // the day's file exists but cannot be read.
    static OperationLog open(FileSystem& fs, const Clock& clock, const std::string& logFolder);
    OperationLog(OperationLog&&) noexcept;
    // Writes what is still held, as far as it can; a run that ends by an
    // exception still logs the files it moved.
    ~OperationLog();

    // Held until the log's thread writes it.
    void add(const LogRecord& record);
    // Makes the Log folder and the day's file when missing and writes the
    // records held; a file with a lone CR or LF (a hand edit) is rewritten
    // with every break made CR LF. Throws "ファイル %s を作成できません" when
    // this or any earlier write of the run failed; records that could not
    // be written stay held, and are never written twice.
    void write();

    const std::string& dayFile() const;

private:
    struct State;
    explicit OperationLog(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace listora
