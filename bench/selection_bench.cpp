#include "selection_bench.h"

#include "core/playlist/main_list.h"
#include "core/search/selection_commands.h"
#include "measure.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <stdexcept>

namespace bench {
namespace {

std::string numbered(const char* format, std::size_t value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

listora::MainList makeList(std::size_t rows) {
    listora::MainList list;
    list.appendAll(makeEntries(rows));
    return list;
}

std::size_t numberOf(const listora::PlaylistEntry& row) {
    std::size_t number = 0;
    std::from_chars(row.fileName().data(), row.fileName().data() + 7, number);
    return number;
}

struct Marks {
    bool checked = false;
    bool selected = false;
    bool operator==(const Marks&) const = default;
};

// The marks every command starts from: every third row checked, every
// `selectedEvery`th selected; with 10 all four pairs occur.
Marks startMarks(std::size_t row, std::size_t selectedEvery) { return {row % 3 == 0, row % selectedEvery == 0}; }

// The core's commands start from a few rows selected.
constexpr std::size_t kCoreSelectedEvery = 10;
constexpr double kCoreTarget = 1.0;

struct MarkCommand {
    const char* name;
    void (*run)(listora::MainList&);
    Marks (*expected)(Marks);  // a row's marks after the command, from those before
};

const MarkCommand kMarkCommands[] = {
    {"checkSelected", listora::checkSelected,
     [](Marks m) {
         return Marks{m.checked || m.selected, m.selected};
     }},
    {"invertCheckOfSelected", listora::invertCheckOfSelected,
     [](Marks m) {
         return Marks{m.selected ? !m.checked : m.checked, m.selected};
     }},
    {"uncheckSelected", listora::uncheckSelected,
     [](Marks m) {
         return Marks{m.checked && !m.selected, m.selected};
     }},
    {"invertSelection", listora::invertSelection,
     [](Marks m) {
         return Marks{m.checked, !m.selected};
     }},
    {"selectAll", listora::selectAll,
     [](Marks m) {
         return Marks{m.checked, true};
     }},
    {"selectChecked", listora::selectChecked,
     [](Marks m) {
         return Marks{m.checked, m.checked};
     }},
};

// Row numbers, in list order, as they should stand after the cut and after
// the paste.
struct CutOrder {
    std::vector<std::size_t> afterCut;
    std::vector<std::size_t> afterPaste;
    std::size_t cutRows = 0;
    std::size_t focusAfterCut = 0;
};

CutOrder cutOrder(std::size_t rows, std::size_t focusRow) {
    CutOrder order;
    std::vector<std::size_t> cut;
    for (std::size_t i = 0; i < rows; ++i)
        (startMarks(i, kCoreSelectedEvery).selected ? cut : order.afterCut).push_back(i);
    order.cutRows = cut.size();
    for (std::size_t i = 0; i < order.afterCut.size(); ++i)
        if (order.afterCut[i] == focusRow) order.focusAfterCut = i;
    order.afterPaste = order.afterCut;
    order.afterPaste.insert(order.afterPaste.begin() + static_cast<std::ptrdiff_t>(order.focusAfterCut), cut.begin(),
                            cut.end());
    return order;
}

// Rows that stayed keep their check marks; pasted rows come back unchecked.
// The cut leaves nothing selected; the paste leaves the row clicked for it.
void checkOrder(const listora::MainList& list, const std::vector<std::size_t>& expected, std::size_t firstPasted,
                std::size_t pasted, std::size_t selectedRow, const char* step) {
    if (list.count() != expected.size())
        throw std::runtime_error(std::string(step) + " left " + std::to_string(list.count()) + " rows, not " +
                                 std::to_string(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const listora::PlaylistEntry& row = list.at(i);
        const bool wasPasted = i >= firstPasted && i < firstPasted + pasted;
        const Marks marks{!wasPasted && startMarks(expected[i], kCoreSelectedEvery).checked, i == selectedRow};
        if (numberOf(row) != expected[i] || Marks{row.checked, row.selected} != marks)
            throw std::runtime_error(std::string(step) + " left row " + std::to_string(i) + " wrong");
    }
}

}  // namespace

// Rows as a loaded playlist gives them; the file name starts with the row's
// number in the list as built, so that a row can be told wherever it went.
std::vector<listora::PlaylistEntry> makeEntries(std::size_t rows) {
    std::vector<listora::PlaylistEntry> entries;
    entries.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        std::string fileName = numbered("%07zu Paper Moon.mp3", i);
        std::string fullPath =
            numbered("/home/user/Music/Artist %04zu", i / 100 % 10000) + numbered("/Album %03zu/", i % 1000) + fileName;
        entries.push_back(
            {numbered("Artist %04zu - Paper Moon", i / 100 % 10000), "3:45", std::move(fileName), std::move(fullPath)});
    }
    return entries;
}

void setStartMarks(listora::MainList& list, std::size_t selectedEvery) {
    list.updateChecks(
        [&](const listora::PlaylistEntry& row) { return startMarks(numberOf(row), selectedEvery).checked; });
    list.updateSelection(
        [&](const listora::PlaylistEntry& row) { return startMarks(numberOf(row), selectedEvery).selected; });
}

// A command is timed only as fast as it is right: every row's marks are
// compared with what the command should have left. Gives the counts.
std::string checkMarks(const listora::MainList& list, const std::string& name, std::size_t rows,
                       std::size_t selectedEvery) {
    const auto command = std::find_if(std::begin(kMarkCommands), std::end(kMarkCommands),
                                      [&](const MarkCommand& c) { return c.name == name; });
    if (command == std::end(kMarkCommands)) throw std::runtime_error("no mark command " + name);
    if (list.count() != rows) throw std::runtime_error(name + " changed the row count");
    std::size_t checked = 0;
    std::size_t selected = 0;
    for (std::size_t i = 0; i < rows; ++i) {
        const listora::PlaylistEntry& row = list.at(i);
        if (Marks{row.checked, row.selected} != command->expected(startMarks(i, selectedEvery)) || numberOf(row) != i)
            throw std::runtime_error(name + " left row " + std::to_string(i) + " wrong");
        checked += row.checked;
        selected += row.selected;
    }
    return std::to_string(checked) + " checked, " + std::to_string(selected) + " selected";
}

std::vector<SelectionTiming> timeSelectionCommands(std::size_t rows, int runs) {
    std::vector<SelectionTiming> timings;
    {
        listora::MainList list = makeList(rows);
        for (const MarkCommand& command : kMarkCommands) {
            SelectionTiming timing{command.name, {}, kCoreTarget, {}};
            for (int run = 0; run < runs; ++run) {
                setStartMarks(list, kCoreSelectedEvery);
                timing.seconds.push_back(secondsOf([&] { command.run(list); }));
                timing.result = checkMarks(list, command.name, rows, kCoreSelectedEvery);
            }
            timings.push_back(std::move(timing));
        }
    }

    // The focus row stays (it is not selected) and stands mid-list after the cut.
    const std::size_t focusRow = rows / 2 + 1;
    const CutOrder order = cutOrder(rows, focusRow);
    SelectionTiming cut{"cutSelected", {}, kCoreTarget, {}};
    SelectionTiming paste{"pasteCut", {}, kCoreTarget, {}};
    for (int run = 0; run < runs; ++run) {
        listora::MainList list = makeList(rows);
        setStartMarks(list, kCoreSelectedEvery);
        list.setFocusRow(focusRow);
        listora::CutBuffer buffer;
        cut.seconds.push_back(secondsOf([&] { listora::cutSelected(list, buffer); }));
        checkOrder(list, order.afterCut, 0, 0, listora::MainList::npos, "cutSelected");
        if (buffer.size() != order.cutRows || list.focusRow() != order.focusAfterCut)
            throw std::runtime_error("cutSelected lost rows or the focus row");

        // The paste comes after a click on the focus row: the one row selected.
        // Most of its time is the freed cut buffer's memory going back from
        // glibc's heap to the system (measured: 8 ms of 75 with trimming
        // off); the first run's buffer lies in a mapping of its own and goes
        // without that, so its paste is the fast one.
        list.setSelected(list.focusRow(), true);
        paste.seconds.push_back(secondsOf([&] { listora::pasteCut(list, buffer); }));
        checkOrder(list, order.afterPaste, order.focusAfterCut, order.cutRows, order.focusAfterCut + order.cutRows,
                   "pasteCut");
        if (!buffer.empty() || list.focusRow() != order.focusAfterCut + order.cutRows)
            throw std::runtime_error("pasteCut kept rows in the buffer or lost the focus row");
    }
    cut.result = std::to_string(order.cutRows) + " out, " + std::to_string(order.afterCut.size()) + " rows left";
    paste.result = std::to_string(order.cutRows) + " in before row " + std::to_string(order.focusAfterCut) + ", " +
                   std::to_string(order.afterPaste.size()) + " rows";
    timings.push_back(std::move(cut));
    timings.push_back(std::move(paste));
    return timings;
}

}  // namespace bench
