#pragma once
// Inf.ini: one line, "0" when playlists are saved automatically and "1" when
// not. Only the first line counts, and only an exact "0" means on.

#include <string>

namespace listora {

class FileSystem;
class Prompts;

// Reads the setting at start-up, creating the file with "1" when it is
// missing. A file that is empty, unreadable or cannot be created is reported
// in the standard error box and start-up goes on with the setting off.
bool readAutoSaveSetting(FileSystem& fs, Prompts& prompts, const std::string& path);

// Writes the file anew; throws "ファイル %s を作成できません" on failure.
void writeAutoSaveSetting(FileSystem& fs, const std::string& path, bool autoSave);

}  // namespace listora
