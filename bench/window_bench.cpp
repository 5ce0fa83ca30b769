#include "window_bench.h"

#include "measure.h"

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

}  // namespace

std::size_t BenchWindow::checkViewSelection(const std::string& what) {
    std::size_t shown = 0;
    for (const QItemSelectionRange& range : form.listView()->selectionModel()->selection())
        shown += static_cast<std::size_t>(range.height());
    std::size_t listed = 0;
    for (const listora::PlaylistEntry& row : form.state().list.rows()) listed += row.selected;
    if (shown != listed) throw std::runtime_error(what + " left the view's selection behind the list's");
    return listed;
}

std::vector<SelectionTiming> timeWindowSelection(std::size_t rows, int runs, const std::string& folder) {
    BenchWindow window(folder);
    listora::TForm1& form = window.form;
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
            window.checkViewSelection(command.name);
        }
        timings.push_back(std::move(timing));
    }
    return timings;
}

}  // namespace bench
