#include "core/playlist/playlist_entry.h"

#include "core/playlist/text_slabs.h"

#include <cstring>
#include <stdexcept>

namespace listora {

PlaylistEntry::PlaylistEntry(std::string_view title, std::string_view lengthText, std::string_view fileName,
                             std::string_view fullPath) {
    assign(title, lengthText, fileName, fullPath);
}

PlaylistEntry::PlaylistEntry(TextSlabs& slabs, std::string_view title, std::string_view lengthText,
                             std::string_view fileName, std::string_view fullPath) {
    assign(title, lengthText, fileName, fullPath, &slabs);
}

PlaylistEntry::~PlaylistEntry() {
    if (block_) TextSlabs::release(block_);
}

PlaylistEntry& PlaylistEntry::operator=(PlaylistEntry&& other) noexcept {
    if (this != &other) {
        if (block_) TextSlabs::release(block_);
        block_ = std::exchange(other.block_, nullptr);
        checked = other.checked;
        selected = other.selected;
    }
    return *this;
}

PlaylistEntry::PlaylistEntry(const PlaylistEntry& other) : checked(other.checked), selected(other.selected) {
    if (other.block_) assign(other.title(), other.lengthText(), other.fileName(), other.fullPath());
}

PlaylistEntry& PlaylistEntry::operator=(const PlaylistEntry& other) {
    if (this != &other) {
        PlaylistEntry copy(other);
        *this = std::move(copy);
    }
    return *this;
}

std::string_view PlaylistEntry::fileName() const {
    if (!block_) return {};
    const std::uint32_t length = lengths().of[kName];
    if (length & kNameEndsPath) {
        const std::string_view path = fullPath();
        return path.substr(path.size() - (length & ~kNameEndsPath));
    }
    return text(kName);
}

void PlaylistEntry::assign(std::string_view title, std::string_view lengthText, std::string_view fileName,
                           std::string_view fullPath, TextSlabs* slabs) {
    const bool nameEndsPath = fullPath.ends_with(fileName);
    const std::string_view storedName = nameEndsPath ? std::string_view() : fileName;
    const std::string_view texts[kTexts] = {title, lengthText, fullPath, storedName};
    Lengths sizes{};
    std::size_t total = sizeof(Lengths);
    for (int i = 0; i < kTexts; ++i) {
        if (texts[i].size() >= kNameEndsPath) throw std::length_error("a playlist text of 2 GiB or more");
        sizes.of[i] = static_cast<std::uint32_t>(texts[i].size());
        total += texts[i].size();
    }
    if (nameEndsPath) sizes.of[kName] = static_cast<std::uint32_t>(fileName.size()) | kNameEndsPath;
    // Rows are made a million at a time: the block is left unzeroed, as every
    // byte of it is written here.
    char* block = slabs ? slabs->allocate(total) : TextSlabs::allocateAlone(total);
    std::memcpy(block, &sizes, sizeof sizes);
    char* out = block + sizeof sizes;
    for (const std::string_view text : texts) {
        if (!text.empty()) std::memcpy(out, text.data(), text.size());
        out += text.size();
    }
    if (block_) TextSlabs::release(block_);  // after the copy: the texts may be this row's own
    block_ = block;
}

// The old block lives until the new one is whole, so the texts may be
// views into this row itself.
void PlaylistEntry::setTitle(std::string_view title) { assign(title, lengthText(), fileName(), fullPath()); }

void PlaylistEntry::setLengthText(std::string_view lengthText) { assign(title(), lengthText, fileName(), fullPath()); }

void PlaylistEntry::setPath(std::string_view fileName, std::string_view fullPath) {
    assign(title(), lengthText(), fileName, fullPath);
}

}  // namespace listora
