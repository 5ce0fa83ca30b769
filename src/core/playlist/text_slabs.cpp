#include "core/playlist/text_slabs.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace listora {

// A slab is its count of live blocks and then the blocks. Each block is
// preceded by its distance from the slab's start, so that a row needs no
// pointer to its slab.
struct TextSlabs::Slab {
    // Rows may be dropped on another thread than the one that made them.
    std::atomic<std::uint32_t> blocks;
};

namespace {

constexpr std::size_t kSlabBytes = std::size_t{1} << 20;
using Offset = std::uint32_t;
constexpr std::size_t kAlign = alignof(std::uint32_t);

constexpr std::size_t header() { return (sizeof(std::atomic<std::uint32_t>) + kAlign - 1) / kAlign * kAlign; }
std::size_t rounded(std::size_t size) { return (size + kAlign - 1) / kAlign * kAlign; }

// Writes the block's distance at `at` in the slab and gives the block after it.
char* place(void* slab, std::size_t at) {
    char* start = static_cast<char*>(slab) + at;
    const auto offset = static_cast<Offset>(at + sizeof(Offset));
    std::memcpy(start, &offset, sizeof offset);
    return start + sizeof(Offset);
}

}  // namespace

// Lets go of one block of the slab, or of the hold on it; the last goes with it.
void TextSlabs::drop(Slab* slab) {
    if (slab && slab->blocks.fetch_sub(1, std::memory_order_acq_rel) == 1) std::free(slab);
}

TextSlabs::~TextSlabs() { drop(current_); }

char* TextSlabs::allocate(std::size_t size) {
    const std::size_t need = sizeof(Offset) + rounded(size);
    if (!current_ || used_ + need > kSlabBytes) {
        // A block larger than a slab gets one of its own size.
        if (need > kSlabBytes - header()) return allocateAlone(size);
        void* memory = std::malloc(kSlabBytes);
        if (!memory) throw std::bad_alloc();
        Slab* next = new (memory) Slab{};
        next->blocks.store(1, std::memory_order_relaxed);  // this one's hold
        drop(current_);
        current_ = next;
        used_ = header();
    }
    current_->blocks.fetch_add(1, std::memory_order_relaxed);
    char* block = place(current_, used_);
    used_ += need;
    return block;
}

char* TextSlabs::allocateAlone(std::size_t size) {
    void* memory = std::malloc(header() + sizeof(Offset) + size);
    if (!memory) throw std::bad_alloc();
    Slab* slab = new (memory) Slab{};
    slab->blocks.store(1, std::memory_order_relaxed);
    return place(slab, header());
}

void TextSlabs::release(char* block) {
    Offset offset = 0;
    std::memcpy(&offset, block - sizeof(Offset), sizeof offset);
    drop(reinterpret_cast<Slab*>(block - offset));
}

}  // namespace listora
