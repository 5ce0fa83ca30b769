#pragma once
// The native SharedFile: the lock is the file's folder's, so that it holds
// across a replacement of the file itself (a lock on the file would stay
// with the old, unlinked one).

#include "core/files/file_system.h"

#include <memory>
#include <string>

namespace listora {

std::unique_ptr<SharedFile> openSharedFile(const std::string& path);

}  // namespace listora
