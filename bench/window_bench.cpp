#include "window_bench.h"

#include "app/tform1.h"
#include "measure.h"
#include "platform/clock.h"
#include "platform/native_file_system.h"
#include "support/fixed_ports.h"
#include "yes_prompts.h"

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QTableView>
#include <stdexcept>

namespace bench {
namespace {

struct WindowCommand {
    const char* action;  // the menu item's object name
    const char* name;    // the core command it runs
};

const WindowCommand kWindowCommands[] = {
    {"popupCheck", "checkSelected"},     {"popupInvertCheck", "invertCheckOfSelected"},
    {"popupUncheck", "uncheckSelected"}, {"popupInvertSelection", "invertSelection"},
    {"menuSelectAll", "selectAll"},      {"menuSelectChecked", "selectChecked"},
};

// The rows the view shows as selected, to be compared with the list's.
std::size_t viewSelectedRows(const QTableView& view) {
    std::size_t rows = 0;
    for (const QItemSelectionRange& range : view.selectionModel()->selection())
        rows += static_cast<std::size_t>(range.height());
    return rows;
}

std::size_t listSelectedRows(const listora::MainList& list) {
    std::size_t rows = 0;
    for (const listora::PlaylistEntry& row : list.rows()) rows += row.selected;
    return rows;
}

}  // namespace

std::vector<SelectionTiming> timeWindowSelection(std::size_t rows, int runs, const std::string& folder) {
    listora::NativeFileSystem fs;
    YesPrompts prompts;
    listora::NativeClock clock;
    listora::test::RecordingShell shell;
    listora::TForm1 form(fs, prompts, clock, shell, listora::ProgramFiles{folder + "/Inf.ini", folder + "/Log/"});
    form.show();
    listora::MainList& list = form.state().list;
    list.appendAll(makeEntries(rows));
    QApplication::processEvents();

    std::vector<SelectionTiming> timings;
    for (const WindowCommand& command : kWindowCommands) {
        QAction* action = form.findChild<QAction*>(command.action);
        if (!action) throw std::runtime_error(std::string("no menu item ") + command.action);
        SelectionTiming timing{command.name, {}, {}};
        for (int run = 0; run < runs; ++run) {
            setStartMarks(list);
            QApplication::processEvents();
            timing.seconds.push_back(secondsOf([&] {
                action->trigger();
                QApplication::processEvents();  // the repaint it asked for
            }));
            timing.result = checkMarks(list, command.name, rows);
            if (viewSelectedRows(*form.listView()) != listSelectedRows(list))
                throw std::runtime_error(std::string(command.name) + " left the view's selection behind the list's");
        }
        timings.push_back(std::move(timing));
    }
    return timings;
}

}  // namespace bench
