#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace listora {

class TextSlabs;

// One row of the main list. The file name is stored beside the full path
// rather than derived from it when shown.
//
// A million-row playlist holds a million of these, so the four texts share
// one block on the heap, and a file name that ends the full path, as almost
// every one does, is kept only once; the row itself is a pointer and the two
// marks. A read puts its rows' blocks in shared slabs (text_slabs.h).
class PlaylistEntry {
public:
    PlaylistEntry() = default;
    PlaylistEntry(std::string_view title, std::string_view lengthText, std::string_view fileName,
                  std::string_view fullPath);
    // The same with the block taken from `slabs`.
    PlaylistEntry(TextSlabs& slabs, std::string_view title, std::string_view lengthText, std::string_view fileName,
                  std::string_view fullPath);
    PlaylistEntry(const PlaylistEntry& other);
    PlaylistEntry& operator=(const PlaylistEntry& other);
    PlaylistEntry(PlaylistEntry&& other) noexcept
        : checked(other.checked), selected(other.selected), block_(std::exchange(other.block_, nullptr)) {}
    PlaylistEntry& operator=(PlaylistEntry&& other) noexcept;
    ~PlaylistEntry();

    std::string_view title() const { return text(kTitle); }
    std::string_view lengthText() const { return text(kLength); }
    std::string_view fileName() const;
    std::string_view fullPath() const { return text(kPath); }

    void setTitle(std::string_view title);
    void setLengthText(std::string_view lengthText);
    // The path and its file name change together, as a rename or a move
    // changes both.
    void setPath(std::string_view fileName, std::string_view fullPath);

    // The texts behind the title, by position: 0 length, 1 file name,
    // 2 full path.
    std::string_view subText(int position) const {
        return position == 0 ? lengthText() : position == 1 ? fileName() : fullPath();
    }
    // The text of a list column: 0 title, 1 length, 2 file name, 3 full path.
    // Sorts and searches ask it a million times in a row, so it is inline.
    std::string_view columnText(int column) const { return column == 0 ? title() : subText(column - 1); }

    // Asks the processor for the row's texts ahead of use, for a walk over
    // rows whose blocks lie scattered (a list sorted once already).
    void prefetch() const {
        __builtin_prefetch(block_);
        __builtin_prefetch(block_ + 64);
    }

    bool checked = false;
    bool selected = false;

private:
    enum Text { kTitle, kLength, kPath, kName, kTexts };
    // The block: the four lengths, then the texts in that order; a file name
    // kept as the end of the path has its length marked and no bytes.
    struct Lengths {
        std::uint32_t of[kTexts];
    };
    static constexpr std::uint32_t kNameEndsPath = 0x80000000u;

    Lengths lengths() const {
        Lengths sizes{};
        if (block_) std::memcpy(&sizes, block_, sizeof sizes);
        return sizes;
    }
    std::string_view text(Text which) const {
        if (!block_) return {};
        const Lengths sizes = lengths();
        std::size_t start = sizeof(Lengths);
        for (int i = 0; i < which; ++i) start += sizes.of[i];
        return {block_ + start, sizes.of[which]};
    }
    void assign(std::string_view title, std::string_view lengthText, std::string_view fileName,
                std::string_view fullPath, TextSlabs* slabs = nullptr);

    char* block_ = nullptr;
};

inline const std::string kUnknownText = "---";

}  // namespace listora
