// listora-cli log: the operation log's day files, or one day's records.

#include "cli/session.h"
#include "core/fileops/log_reader.h"
#include "core/text/codepage.h"

#include <cstdio>

namespace listora::cli {
namespace {

class LogCommand : public Command {
public:
    std::string name() const override { return "log"; }
    std::string usage() const override {
        return "usage: listora-cli log [DAY]\n"
               "  Without DAY lists the day files of the operation log; with DAY (such as\n"
               "  2026-12-07) prints its records, one a line: file name, kind, path\n"
               "  before, path after, separated by tabs.";
    }
    std::vector<std::string> options() const override { return {}; }

    int run(Session& session, const Options& options) const override {
        if (options.positional.size() > 1) return usageError(*this, "too many arguments");
        if (options.positional.empty()) {
            std::vector<std::string> names;
            if (listDayFiles(session.fs, session.files.logFolder, names) == Listing::BrokenOff)
                std::fprintf(stderr, "%s\n", terminalText(systemText("ファイルの取得に失敗しました。")).c_str());
            for (const std::string& name : names) std::printf("%s\n", terminalText(name).c_str());
            return kOk;
        }
        std::string day = options.positional[0];
        if (!day.ends_with(".txt")) day += ".txt";
        // Printed as read, so a day of any size costs one record's memory;
        // a NUL in a damaged record is printed as the byte it is.
        forEachDayRecord(session.fs, session.files.logFolder, day, [](LogRecord&& record) {
            const std::string line =
                terminalText(record.fileName + '\t' + record.kind + '\t' + record.before + '\t' + record.after + '\n');
            std::fwrite(line.data(), 1, line.size(), stdout);
        });
        return kOk;
    }
};

}  // namespace

std::unique_ptr<Command> logCommand() { return std::make_unique<LogCommand>(); }

}  // namespace listora::cli
