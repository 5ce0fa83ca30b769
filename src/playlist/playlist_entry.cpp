#include "playlist/playlist_entry.h"

namespace listora {

const std::string& PlaylistEntry::subText(int position) const {
    switch (position) {
        case 0:
            return lengthText;
        case 1:
            return fileName;
        default:
            return fullPath;
    }
}

const std::string& PlaylistEntry::columnText(int column) const { return column == 0 ? title : subText(column - 1); }

}  // namespace listora
