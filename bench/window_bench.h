#pragma once

#include "selection_bench.h"

#include <string>
#include <vector>

namespace bench {

// The selection and check commands as the user runs them: from the main
// window's menus, until the view's selection stands as the list's, on the
// offscreen platform. The same rows and start marks as the core's table;
// `folder` takes the window's settings file. Needs a QApplication.
std::vector<SelectionTiming> timeWindowSelection(std::size_t rows, int runs, const std::string& folder);

}  // namespace bench
