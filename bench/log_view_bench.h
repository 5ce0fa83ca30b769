#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

struct LogViewTimings {
    std::vector<double> load;     // picking the day until the record list has painted
    std::vector<double> search;   // "検索" on every record until painted
    std::vector<double> wcLines;  // wc -l on the same day file
    std::size_t fileBytes = 0;
};

// A day file of `records` four-line records in `folder`/Log/, loaded and
// searched in the log viewer on the offscreen platform. Needs a
// QApplication.
LogViewTimings timeLogViewer(std::size_t records, int runs, const std::string& folder);

}  // namespace bench
