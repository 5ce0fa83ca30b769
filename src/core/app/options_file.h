#pragma once
// The settings beyond Inf.ini's one line: "key=value" lines in a file of
// their own beside it (Inf.ini keeps its one line as it always was). Each
// setting is written on its own when the user changes it; the file is read
// again first and written whole and atomically, so lines of keys this
// program does not know, and values another running copy wrote, stay.

#include <string>
#include <string_view>

namespace listora {

class FileSystem;

inline constexpr std::string_view kReadTagsOnAddKey = "ReadTagsOnAdd";
inline constexpr std::string_view kAllMusicTypesKey = "AllMusicTypes";

// The value "1" of the key is on, anything else or none is off; a missing
// or unreadable file gives every setting's default, off.
bool readOptionFlag(FileSystem& fs, const std::string& path, std::string_view key);

// Sets the key to "1" or "0", keeping every other line. Throws "ファイル %s
// は開けません" when the file is there but cannot be read (writing would lose
// its other settings) and "ファイル %s を作成できません" when it cannot be
// written.
void writeOptionFlag(FileSystem& fs, const std::string& path, std::string_view key, bool on);

}  // namespace listora
