#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

struct TagTimings {
    std::size_t files = 0;
    double megabytes = 0;           // of all the files together
    std::vector<double> core;       // fillRowsFromTags over every row
    std::vector<double> reference;  // find DIR -name '*.mp3' -exec head -c 131072 {} +
    std::vector<double> window;     // the popup command until the view has painted
    // The same files without a Xing header, read in the same fast style.
    std::vector<double> withoutXing;
    double bytesReadPerFile = 0;  // without a Xing header: what TagLib read
    double bytesPerFile = 0;
};

// MP3 files of 1 to 4 MB with ID3v2 tags (rendered by TagLib) and a Xing
// header, `files` of them in a folder under `workFolder`, read warm: the
// core, the main window's command, and the reference command; then the same
// files without the Xing header. The files are removed at the end. Needs a
// QApplication.
TagTimings timeTagReads(const std::string& workFolder, std::size_t files, int runs);

}  // namespace bench
