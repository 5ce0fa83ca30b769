#include "core/tags/taglib/taglib_reader.h"

#include "core/tags/taglib/descriptor_stream.h"

#include <algorithm>
#include <cctype>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tdebuglistener.h>

namespace listora {
namespace {

// TagLib tells of every broken file it meets on standard error; a read of a
// folder of them would flood the terminal the program was started from.
class SilentListener : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

// TagLib guesses the kind of file from the name's extension first, then
// from the contents; only an ASCII extension is handed on.
std::string typeName(const std::string& path) {
    const std::size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.') return "file";
    const std::string extension = path.substr(dot + 1);
    const bool plain = extension.size() <= 8 && std::all_of(extension.begin(), extension.end(), [](char c) {
                           return std::isalnum(static_cast<unsigned char>(c));
                       });
    return plain ? "file." + extension : "file";
}

}  // namespace

TagLibReader::TagLibReader(NativeFileSystem files, CodePage program) : files_(files), program_(program) {
    static SilentListener silent;
    TagLib::setDebugListener(&silent);
}

std::optional<TagInfo> TagLibReader::read(const std::string& path) {
    UniqueFd fd = files_.openRegularForReading(path);
    if (!fd) return std::nullopt;
    DescriptorStream stream(std::move(fd), typeName(path));
    const TagLib::FileRef file(&stream, true, TagLib::AudioProperties::Fast);
    const TagLib::AudioProperties* audio = file.isNull() ? nullptr : file.audioProperties();
    // A file TagLib opens but in which it found no audio stream has no
    // sample rate.
    if (!audio || audio->sampleRate() <= 0) return std::nullopt;
    TagInfo info;
    info.seconds = std::max(audio->lengthInMilliseconds(), 0) / 1000;
    if (const TagLib::Tag* tag = file.tag()) {
        info.title = utf8ToCodePage(tag->title().stripWhiteSpace().to8Bit(true), program_);
        info.artist = utf8ToCodePage(tag->artist().stripWhiteSpace().to8Bit(true), program_);
    }
    return info;
}

}  // namespace listora
