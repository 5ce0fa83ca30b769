#pragma once
// The round trip both playlist targets check: the rows kept from a first
// read, saved and read again from the saved file, come back the same and
// without error.

#include "core/playlist/m3u_reader.h"
#include "core/playlist/main_list.h"
#include "core/playlist/playlist_writer.h"
#include "memory_file_system.h"
#include "require.h"

#include <string>
#include <vector>

namespace listora::fuzz {

// `kept` are saved to `out` in `mode`; the second read starts, as the first
// did, in `folder`, with no failing reads.
inline void requireSavedRowsReadBack(MemoryFileSystem& fs, const PlaylistReaderPorts& ports,
                                     const std::vector<PlaylistEntry>& kept, PathMode mode, const std::string& out,
                                     const std::string& folder) {
    MainList list;
    list.appendAll(kept);
    writePlaylist(fs, list, mode, out, ports.rules);

    fs.breakAfter.reset();
    fs.cwd = folder;
    const PlaylistRead second = readPlaylist(ports, out, HeaderPolicy::Force);
    require(!second.error && !second.refused, "the saved playlist reads without error");
    require(second.rows.size() == kept.size(), "the saved playlist gives as many rows");
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const PlaylistEntry& a = second.rows[i];
        const PlaylistEntry& b = kept[i];
        require(a.title() == b.title() && a.lengthText() == b.lengthText() && a.fileName() == b.fileName() &&
                    a.fullPath() == b.fullPath(),
                "each row comes back");
    }
}

}  // namespace listora::fuzz
