#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// Names of `count` music files, "00001 Blue Morning.mp3" and on, every tenth
// one Japanese. The same count gives the same names on every run.
std::vector<std::string> fileNames(std::size_t count);

// Creates each named file in `folder` with `bytes` bytes of the same random
// filler, its own number written at the start so that no two are alike.
// Throws when a file exists already or cannot be written.
void writeFiles(const std::string& folder, const std::vector<std::string>& names, std::size_t bytes);

}  // namespace bench
