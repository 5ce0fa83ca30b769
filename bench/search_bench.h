#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// One search's seconds of every run, what it found, its target, and the
// reference command's seconds where there is one.
struct SearchTiming {
    std::string search;
    std::string result;
    double target = 0;
    std::vector<double> seconds;
    std::string reference;  // empty when none
    std::vector<double> referenceSeconds;
};

// Searches of the search window over `rows` rows: titles case-insensitive
// (ASCII, and Japanese with full-width letters), and a length search; in
// the core beside grep -c -i -F on the same titles written to `folder`.
std::vector<SearchTiming> timeCoreSearches(std::size_t rows, int runs, const std::string& folder);

// The same searches from the search window's "検索" until the main window's
// view shows the selection and has painted, on the offscreen platform. Needs
// a QApplication.
std::vector<SearchTiming> timeWindowSearches(std::size_t rows, int runs, const std::string& folder);

}  // namespace bench
