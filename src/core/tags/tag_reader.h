#pragma once
// The port through which the core learns a music file's title, artist and
// length. The core never opens a music file itself; a back end on a tag
// library does (taglib/).

#include <optional>
#include <string>

namespace listora {

struct TagInfo {
    // In the system code page; empty when the tag has none.
    std::string title;
    std::string artist;
    // The audio's length in whole seconds.
    long long seconds = 0;
};

class TagReader {
public:
    virtual ~TagReader() = default;
    // The file's tag and length; nothing when the file is missing, is no
    // audio, or holds no audio stream that could be found. `path` is in the
    // system code page. Called from several threads at once.
    virtual std::optional<TagInfo> read(const std::string& path) = 0;
};

}  // namespace listora
