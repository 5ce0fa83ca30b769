#include "log_view_bench.h"

#include "core/native/native_file_system.h"
#include "measure.h"
#include "ui/common/list_selection_model.h"
#include "ui/logview/log_window.h"
#include "yes_prompts.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace bench {
namespace {

std::size_t writeDayFile(const std::string& path, std::size_t records) {
    std::ofstream out(path, std::ios::binary);
    const char* kinds[] = {"移動", "コピー", "削除"};
    for (std::size_t i = 0; i < records; ++i) {
        const std::string name = "track" + std::to_string(i) + ".mp3";
        const char* kind = kinds[i % 3];
        out << name << "\r\n"
            << kind << "\r\n"
            << "/home/user/music/artist" << i % 100 << "/album" << i % 99 << "/" << name << "\r\n"
            << (i % 3 == 2 ? std::string("---") : "/media/backup/music/" + name) << "\r\n";
    }
    return static_cast<std::size_t>(out.tellp());
}

// What a user sees: the first rows of the list drawn.
void paint(listora::TForm5& window) {
    window.recordList()->viewport()->repaint();
    QApplication::processEvents();
}

}  // namespace

LogViewTimings timeLogViewer(std::size_t records, int runs, const std::string& folder) {
    const std::string logFolder = folder + "/Log/";
    std::filesystem::create_directories(logFolder);
    const std::string day = "2026-12-08.txt";
    LogViewTimings timings;
    timings.fileBytes = writeDayFile(logFolder + day, records);

    listora::NativeFileSystem fs;
    YesPrompts prompts;
    listora::TForm5 window(fs, prompts, logFolder);
    window.show();
    for (int run = 0; run < runs; ++run) {
        window.prepareOpening();
        paint(window);
        timings.load.push_back(secondsOf([&] {
            emit window.dayBox()->textActivated(QString::fromStdString(day));
            paint(window);
        }));
        if (static_cast<std::size_t>(window.recordList()->model()->rowCount()) != records)
            throw std::runtime_error("the log viewer did not load every record");

        window.wordBox()->setText(QStringLiteral("track1"));
        timings.search.push_back(secondsOf([&] {
            window.searchButton()->click();
            paint(window);
        }));
        const listora::ListSelectionModel* selection = listora::ListSelectionModel::of(*window.recordList());
        if (!selection || selection->selectedRowCount() == 0)
            throw std::runtime_error("the log viewer's search selected nothing");
        timings.wcLines.push_back(runCommand({"wc", "-l", logFolder + day}));
    }
    return timings;
}

}  // namespace bench
