#pragma once
// The TagReader port on TagLib: MP3 (ID3v2, ID3v1, APE), FLAC, Ogg Vorbis
// and Opus, MP4/M4A, WAV and the rest TagLib knows, the length from the
// audio properties read in TagLib's fast style (the headers only, never the
// whole file). Only the two programs, their tests, the bench and the fuzz
// target link it; the rest of the core knows the port alone.

#include "core/native/native_file_system.h"
#include "core/tags/tag_reader.h"

namespace listora {

class TagLibReader : public TagReader {
public:
    explicit TagLibReader(NativeFileSystem files = NativeFileSystem(), CodePage program = systemCodePage());

    std::optional<TagInfo> read(const std::string& path) override;

private:
    NativeFileSystem files_;
    CodePage program_;
};

}  // namespace listora
