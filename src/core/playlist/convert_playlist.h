#pragma once
// A playlist read and written again as another file, with absolute or
// relative paths, without ever holding the whole list.

#include "core/playlist/m3u_reader.h"
#include "core/playlist/playlist_writer.h"

#include <string>

namespace listora {

enum class ConversionOutcome { Written, Refused };

// Reads `in` as the window opens it (a file without the header asks, unless
// `header` forces the read: a stream cannot be read twice, before the
// question and after it) and writes its rows to `out` as they are read: the
// rows of one piece of the file are written on a second thread while the
// next piece is read, so an M3U of any size costs a few pieces' rows (a PLS
// or XSPF gives its rows at the end of its read, and holds them until then).
// Rows without a file name are dropped, as the window drops them. A read
// that is refused or ends in an error leaves `out` as it was (a stream keeps
// what was written before); the error is thrown.
ConversionOutcome convertPlaylist(const PlaylistReaderPorts& ports, const std::string& in, const std::string& out,
                                  PathMode mode, HeaderPolicy header = HeaderPolicy::Ask);

}  // namespace listora
