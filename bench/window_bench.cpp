#include "window_bench.h"

#include "measure.h"
#include "ui/common/list_selection_model.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>
#include <stdexcept>

namespace bench {
namespace {

constexpr double kCommandTarget = 0.1;
constexpr double kScrollTarget = 0.016;

struct WindowCommand {
    const char* action;  // the menu item's object name
    const char* name;    // the core command it runs
};

const WindowCommand kWindowCommands[] = {
    {"popupCheck", "checkSelected"},     {"popupInvertCheck", "invertCheckOfSelected"},
    {"popupUncheck", "uncheckSelected"}, {"popupInvertSelection", "invertSelection"},
    {"menuSelectAll", "selectAll"},      {"menuSelectChecked", "selectChecked"},
};

// A few rows selected, and the scattered selection "select checked" leaves.
constexpr std::size_t kSelectedEvery[] = {10, 3};

std::string patternOf(std::size_t selectedEvery) { return ", 1 in " + std::to_string(selectedEvery) + " sel."; }

std::size_t selectedCount(const listora::MainList& list) {
    std::size_t selected = 0;
    for (const listora::PlaylistEntry& row : list.rows()) selected += row.selected;
    return selected;
}

}  // namespace

bool PaintCounter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
}

BenchWindow::BenchWindow(const std::string& folder)
    : form(fs, prompts, clock, shell,
           listora::ProgramFiles{folder + "/Inf.ini", folder + "/Log/", folder + "/ReadMe.txt",
                                 folder + "/Options.ini"}) {
    form.show();
    form.listView()->viewport()->installEventFilter(&viewportPaints);
}

std::size_t BenchWindow::checkViewSelection(const std::string& what) {
    const listora::ListSelectionModel* shown = listora::ListSelectionModel::of(*form.listView());
    if (!shown) throw std::runtime_error(what + " left the view without the list's selection model");
    const std::size_t listed = selectedCount(form.state().list);
    if (shown->selectedRowCount() != listed)
        throw std::runtime_error(what + " left the view's selection behind the list's");
    return listed;
}

double BenchWindow::secondsUntilPainted(const std::string& what, const std::function<void()>& work) {
    const std::size_t before = viewportPaints.paints;
    const double seconds = secondsOf([&] {
        work();
        QApplication::processEvents();  // what the work posted
        // The platform paints an update only on its next frame, a timer
        // away; the paint is forced here and timed.
        form.listView()->viewport()->repaint();
    });
    if (viewportPaints.paints == before) throw std::runtime_error(what + " was not painted");
    return seconds;
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
        for (const std::size_t selectedEvery : kSelectedEvery) {
            SelectionTiming timing{command.name + patternOf(selectedEvery), {}, kCommandTarget, {}};
            for (int run = 0; run < runs; ++run) {
                setStartMarks(list, selectedEvery);
                QApplication::processEvents();
                timing.seconds.push_back(window.secondsUntilPainted(command.name, [&] { action->trigger(); }));
                timing.result = checkMarks(list, command.name, rows, selectedEvery);
                window.checkViewSelection(command.name);
            }
            timings.push_back(std::move(timing));
        }
    }

    // Scrolling and paging over a scattered selection, from mid-list.
    QTableView* view = form.listView();
    QScrollBar* bar = view->verticalScrollBar();
    const std::size_t scattered = kSelectedEvery[1];
    setStartMarks(list, scattered);
    bar->setValue(bar->maximum() / 2);
    QApplication::processEvents();
    SelectionTiming scroll{"scroll step" + patternOf(scattered), {}, kScrollTarget, {}};
    for (int run = 0; run < runs; ++run) {
        const int from = bar->value();
        scroll.seconds.push_back(window.secondsUntilPainted(
            "a scroll step", [&] { bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); }));
        if (bar->value() <= from) throw std::runtime_error("the scroll step did not move the list");
    }
    scroll.result = std::to_string(window.checkViewSelection("a scroll step")) + " selected";
    timings.push_back(std::move(scroll));

    // Page Down selects the row it lands on alone.
    SelectionTiming page{"Page Down" + patternOf(scattered), {}, kScrollTarget, {}};
    for (int run = 0; run < runs; ++run) {
        const std::size_t from = static_cast<std::size_t>(view->rowAt(0));
        list.setFocusRow(from);
        setStartMarks(list, scattered);
        QApplication::processEvents();
        page.seconds.push_back(window.secondsUntilPainted("Page Down", [&] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
            QApplication::sendEvent(view, &press);
        }));
        const std::size_t to = list.focusRow();
        if (to == listora::MainList::npos || to <= from || !list.at(to).selected || selectedCount(list) != 1)
            throw std::runtime_error("Page Down did not select the row it went to alone");
        window.checkViewSelection("Page Down");
        page.result = "rows " + std::to_string(from) + " to " + std::to_string(to);
    }
    timings.push_back(std::move(page));
    return timings;
}

}  // namespace bench
