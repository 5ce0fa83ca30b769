#pragma once
// Targets that are streams rather than files to be replaced: the
// descriptors the program was started with, named as the system names them,
// and FIFOs and devices. Replacing one of those by a new file would cut the
// stream off from its reader, or erase what a file behind it held.

#include "core/native/unique_fd.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace listora {

// The descriptor a path names as one the program has open: 0 for
// "/dev/stdin", 1 for "/dev/stdout", 2 for "/dev/stderr", N for "/dev/fd/N"
// and "/proc/self/fd/N"; nothing for any other path.
std::optional<int> namedDescriptor(std::string_view path);

// Writes to `path` when it is a stream: a named descriptor is written as it
// is open (so "/dev/stdout" under `>> log` adds to the log, at its end), a
// FIFO or a device is opened without truncating. Nothing when `path` is a
// regular file, a folder or missing: that is a file to replace. Otherwise
// whether `write` put everything into the descriptor.
std::optional<bool> writeToStream(const std::string& path, const std::function<bool(int fd)>& write);

// A named descriptor opened for reading on a descriptor of its own, at the
// same position; nothing when it is not open.
UniqueFd duplicateForReading(int fd);

}  // namespace listora
