#pragma once

#include <string>

namespace listora {

// One row of the main list. The file name is stored beside the full path
// rather than derived from it when shown.
struct PlaylistEntry {
    std::string title;
    std::string lengthText;
    std::string fileName;
    std::string fullPath;
    bool checked = false;
    bool selected = false;

    // The texts behind the title, by position: 0 length, 1 file name,
    // 2 full path.
    const std::string& subText(int position) const;
    // The text of a list column: 0 title, 1 length, 2 file name, 3 full path.
    const std::string& columnText(int column) const;
};

inline const std::string kUnknownText = "---";

}  // namespace listora
