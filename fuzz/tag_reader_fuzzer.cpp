// The tag reader on cut and flipped music files: whatever the bytes, a read
// ends without a crash, a hang or a leak, and a length is never negative.
// The first byte picks the name's extension, which TagLib goes by first.

#include "core/tags/taglib/taglib_reader.h"
#include "require.h"

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// The fuzzer's own folder on a RAM disk, removed when it ends.
class ScratchFolder {
public:
    ScratchFolder() {
        if (!::mkdtemp(path.data())) path.clear();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    std::string path = "/dev/shm/listora-fuzz-XXXXXX";
};

// One file per extension.
std::string fileFor(unsigned char pick) {
    static const ScratchFolder scratch;
    const std::string& folder = scratch.path.empty() ? std::string("/tmp") : scratch.path;
    static const char* const extensions[] = {"mp3", "flac", "opus", "ogg", "m4a", "wav", "wave", "ape", "bin"};
    return folder + "/input." + extensions[pick % std::size(extensions)];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using listora::fuzz::require;
    if (size == 0) return 0;
    static listora::TagLibReader reader(listora::NativeFileSystem(listora::CodePage::Utf8, listora::CodePage::Utf8),
                                        listora::CodePage::Utf8);
    const std::string path = fileFor(data[0]);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    require(fd >= 0, "the input can be written");
    require(::write(fd, data + 1, size - 1) == static_cast<ssize_t>(size - 1), "the input is written whole");
    ::close(fd);
    const std::optional<listora::TagInfo> tag = reader.read(path);
    require(!tag || tag->seconds >= 0, "a length is not negative");
    return 0;
}
