#include "core/logview/log_viewer.h"

#include "core/fileops/log_reader.h"
#include "core/files/file_system.h"
#include "core/ports/prompts.h"
#include "core/text/byte_finder.h"
#include "core/text/codepage.h"

namespace listora {
namespace {

const std::string& searchedText(const LogRecord& record, LogColumn column) {
    switch (column) {
        case LogColumn::Before:
            return record.before;
        case LogColumn::After:
            return record.after;
        default:
            return record.fileName;
    }
}

}  // namespace

LogViewer::LogViewer(FileSystem& fs, Prompts& prompts, std::string logFolder)
    : fs_(fs), prompts_(prompts), logFolder_(std::move(logFolder)) {}

std::vector<std::string> LogViewer::open() {
    clear();
    std::vector<std::string> names;
    if (listDayFiles(fs_, logFolder_, names) == Listing::BrokenOff)
        prompts_.information(systemText("ファイルの取得に失敗しました。"));
    return names;
}

void LogViewer::clear() {
    records_.clear();
    selected_.clear();
    focusRow_ = kNoRow;
}

void LogViewer::loadDay(const std::string& name) {
    clear();
    records_ = readDayRecords(fs_, logFolder_, name);
    selected_.assign(records_.size(), 0);
}

void LogViewer::search(const LogSearchSettings& settings) {
    const ByteFinder finder(settings.word);
    for (std::size_t row = 0; row < records_.size(); ++row) {
        const bool matches = finder.in(searchedText(records_[row], settings.column));
        selected_[row] = matches && (!settings.refine || selected_[row]) ? 1 : 0;
    }
}

}  // namespace listora
