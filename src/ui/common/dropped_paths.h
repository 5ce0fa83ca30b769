#pragma once

#include <string>
#include <vector>

class QMimeData;

namespace listora {

// The local files and folders in what was dropped, in the order given, as
// paths in the system code page.
std::vector<std::string> droppedPaths(const QMimeData& data);

// True when what is dragged holds at least one local file or folder.
bool holdsLocalFiles(const QMimeData& data);

}  // namespace listora
