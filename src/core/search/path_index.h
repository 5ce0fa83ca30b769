#pragma once
// Rows by full path, compared as the comparison compares them: byte for
// byte, case counting.

#include "core/playlist/playlist_entry.h"

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace listora {

// The rows of one list by full path, in one flat table: a million paths are
// hashed once each and looked up without a node per entry.
class PathIndex {
public:
    explicit PathIndex(const std::vector<PlaylistEntry>& rows) : rows_(rows), hashes_(rows.size()) {
        std::size_t capacity = 16;
        while (capacity < rows.size() * 2) capacity *= 2;
        slots_.assign(capacity, kEmpty);
        for (std::size_t i = 0; i < rows.size(); ++i) hashes_[i] = hashOf(rows[i].fullPath());
    }

    // Adds the row unless one with the same path is there; true when added.
    bool insert(std::size_t row) {
        for (std::size_t slot = hashes_[row] & (slots_.size() - 1);; slot = (slot + 1) & (slots_.size() - 1)) {
            if (slots_[slot] == kEmpty) {
                slots_[slot] = row;
                return true;
            }
            if (sameAs(slots_[slot], hashes_[row], rows_[row].fullPath())) return false;
        }
    }

    // Whether a row added holds this path, whose hash is given.
    bool contains(std::size_t hash, std::string_view path) const {
        for (std::size_t slot = hash & (slots_.size() - 1);; slot = (slot + 1) & (slots_.size() - 1)) {
            if (slots_[slot] == kEmpty) return false;
            if (sameAs(slots_[slot], hash, path)) return true;
        }
    }

    std::size_t hashOfRow(std::size_t row) const { return hashes_[row]; }

private:
    static constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);
    static std::size_t hashOf(std::string_view path) { return std::hash<std::string_view>{}(path); }
    bool sameAs(std::size_t row, std::size_t hash, std::string_view path) const {
        return hashes_[row] == hash && rows_[row].fullPath() == path;
    }

    const std::vector<PlaylistEntry>& rows_;
    std::vector<std::size_t> hashes_;
    std::vector<std::size_t> slots_;
};

}  // namespace listora
