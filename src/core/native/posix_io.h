#pragma once
// The few system calls every file operation of the program needs, each with
// the care it takes: interrupted calls tried again, short writes continued,
// opens that never wait on a FIFO or a device.

#include "core/native/unique_fd.h"

#include <cerrno>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace listora {

// Calls `call` until it is not interrupted by a signal; its result.
template <typename Call>
auto retryInterrupted(Call&& call) {
    for (;;) {
        const auto result = call();
        if (!(result == -1 && errno == EINTR)) return result;
    }
}

// Writes all of `bytes`; false when a write fails or writes nothing.
bool writeAll(int fd, std::string_view bytes);

// Copies what is left of `from` from its offset on to the end of `to`.
bool copyContents(int from, int to);

// Opens a regular file for reading. O_NONBLOCK keeps the open itself from
// waiting for a FIFO's writer; the type is checked on the descriptor, so a
// file swapped in after an earlier check cannot slip through. With
// followLinks false a link is refused. `info` receives the file's status.
UniqueFd openRegularFile(const std::string& path, bool followLinks, struct stat* info = nullptr);

// Makes the folder's entries (a file's new name) durable.
bool syncFolder(const std::string& folder);

// "dir/name" → "dir"; "name" → "."; "/name" → "/".
std::string folderOf(const std::string& path);

}  // namespace listora
