#pragma once

#include <QUrl>
#include <string>

namespace listora {

// A file URL that carries the file system's own bytes, so that every name,
// also one that is no valid UTF-8, reaches the desktop or a media back end
// whole. `path` is in the system code page; a relative one is taken against
// the current directory.
QUrl localFileUrl(const std::string& path);

// The same path as the file system's own bytes, made absolute.
std::string diskPath(std::string path);

}  // namespace listora
