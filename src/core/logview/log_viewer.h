#pragma once
// The log viewer's rules: the day files an opening offers, the records of
// the day loaded, which of them are selected, and the search over one
// column. The window shows this and forwards its events here.

#include "core/fileops/operation_log.h"

#include <cstddef>
#include <string>
#include <vector>

namespace listora {

class FileSystem;
class Prompts;

// The column searched, in the order the window offers them.
enum class LogColumn { FileName = 0, Before = 1, After = 2 };

struct LogSearchSettings {
    std::string word;  // in the system code page
    LogColumn column = LogColumn::FileName;
    bool refine = false;
};

class LogViewer {
public:
    static constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);

    LogViewer(FileSystem& fs, Prompts& prompts, std::string logFolder);

    // An opening: the record list is emptied and the day files' names are
    // returned in name order, so days read oldest first. A listing that
    // breaks off says "ファイルの取得に失敗しました。" and keeps the names so far;
    // a missing or empty folder gives none, without a message.
    std::vector<std::string> open();

    // Loads the day file the box names, replacing the records, none
    // selected. One that cannot be opened (a partial name, an empty box, a
    // folder) throws "ファイル %s は開けません" and leaves the list empty.
    void loadDay(const std::string& name);

    // Selects the records whose text in the column holds the word, a run of
    // bytes compared case-sensitively; with refine a record stays selected
    // only when it was and matches. An empty word is found in no text, so it
    // deselects every record.
    void search(const LogSearchSettings& settings);

    // Empties the record list.
    void clear();

    const std::vector<LogRecord>& records() const { return records_; }
    bool isSelected(std::size_t row) const { return selected_[row] != 0; }
    void setSelected(std::size_t row, bool selected) { selected_[row] = selected ? 1 : 0; }
    std::size_t focusRow() const { return focusRow_; }
    void setFocusRow(std::size_t row) { focusRow_ = row; }

private:
    FileSystem& fs_;
    Prompts& prompts_;
    std::string logFolder_;
    std::vector<LogRecord> records_;
    std::vector<char> selected_;
    std::size_t focusRow_ = kNoRow;
};

}  // namespace listora
