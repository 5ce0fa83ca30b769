#pragma once
// Memory for the texts of rows. A read makes a million rows at once, and one
// heap allocation each (and one free each when the list goes) costs more
// than reading the file; so a read takes its rows' blocks from slabs of
// 2 MiB, one after another. A slab lives while any row in it does, and
// every block, in a slab or on its own, is released the same way.

#include <cstddef>

namespace listora {

class TextSlabs {
public:
    TextSlabs() = default;
    ~TextSlabs();
    TextSlabs(const TextSlabs&) = delete;
    TextSlabs& operator=(const TextSlabs&) = delete;

    // A block of `size` bytes, aligned for 32-bit lengths, in the current
    // slab or a new one.
    char* allocate(std::size_t size);

    // A block on its own, for a row made or changed alone.
    static char* allocateAlone(std::size_t size);
    // Gives back a block from either; its slab goes with its last block.
    static void release(char* block);

private:
    struct Slab;
    static void drop(Slab* slab);

    Slab* current_ = nullptr;  // held until the next one is started
    std::size_t used_ = 0;
};

}  // namespace listora
