#pragma once

#include "core/playlist/main_list.h"

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// Rows as a loaded playlist gives them, numbered in their file names.
std::vector<listora::PlaylistEntry> makeEntries(std::size_t rows);
// Every third row checked and every `selectedEvery`th selected, each told to
// a view once.
void setStartMarks(listora::MainList& list, std::size_t selectedEvery);
// Checks the marks a command left on the rows of makeEntries after
// setStartMarks, and gives their counts; throws when one is wrong. `name`
// is a command of selection_commands.h ("selectChecked", …).
std::string checkMarks(const listora::MainList& list, const std::string& name, std::size_t rows,
                       std::size_t selectedEvery);

// One command's seconds of every run, in order, its target and what it
// left: the counts of checked and selected rows, or the list's size after a
// cut or paste.
struct SelectionTiming {
    std::string command;
    std::string result;
    double target = 0;
    std::vector<double> seconds;
};

// The selection and check commands, then a cut and a paste, on a list of
// `rows` rows put in as one batch; every command starts each run from the
// same marks: every tenth row selected, every third checked. The cut takes
// the selected tenth out; the paste puts it back before the focus row, the
// one row then selected.
std::vector<SelectionTiming> timeSelectionCommands(std::size_t rows, int runs);

}  // namespace bench
