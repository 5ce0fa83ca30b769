#pragma once
// `listora-bench read`: sorting, reading and converting a 1,000,000-row
// playlist, each beside the nearest plain command (wc -l, cat), with the
// sort's growth from 100,000 to 4,000,000 rows, a read in a fresh process,
// the convert command's peak memory, and the main window's open and header
// sort until the view has painted.

#include <string>

namespace bench {

int runReadBench();
// The child of the fresh-process read: loads the playlist once and prints
// the seconds the load took; with a column, then sorts by it and prints the
// sort's seconds too (for a profiler).
int runLoadOnce(const std::string& playlist, int sortColumn);

}  // namespace bench
