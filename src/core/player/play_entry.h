#pragma once

#include <optional>
#include <string>

namespace listora {

class FileSystem;
class MainList;
class Prompts;

// The file the play command plays: the full path of the first selected row
// in list order. Nothing when no row is selected, or, after saying
// "指定ファイルが見つかりません", when no file is there (a folder is none).
std::optional<std::string> entryToPlay(const MainList& list, FileSystem& fs, Prompts& prompts);

}  // namespace listora
