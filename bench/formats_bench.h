#pragma once

#include <string>

namespace bench {

// PLS and XSPF beside M3U: 1,000,000 entries read and written by the
// window's Open and Save, each format in a fresh process.
int runFormatsBench();

// One Open and one Save as the window runs them: IN is read into a list and
// the list written to OUT. Prints "READ_SECONDS WRITE_SECONDS ROWS".
int runLoadSaveOnce(const std::string& in, const std::string& out);

}  // namespace bench
