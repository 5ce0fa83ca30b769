#include "core/playlist/sort/scratch_buffer.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <utility>
#include <vector>

namespace listora {
namespace {

// Buffers smaller than this come from the heap, whose freed memory is kept
// well enough.
constexpr std::size_t kSmallest = std::size_t{16} << 20;
constexpr std::align_val_t kAlign{64};
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Buffers kept while no one holds them, at most this many bytes: what a sort
// of some 4,000,000 rows holds at once, its keys and two sets of entries.
constexpr std::size_t kKeptBytes = std::size_t{1} << 30;

struct Buffer {
    void* data;
    std::size_t size;
};

class Keeper {
public:
    Buffer take(std::size_t bytes) {
        if (bytes < kSmallest) return {::operator new(std::max(bytes, std::size_t{1}), kAlign), bytes};
        {
            const std::lock_guard lock(mutex_);
            // The smallest kept buffer that is large enough.
            auto best = kept_.end();
            for (auto buffer = kept_.begin(); buffer != kept_.end(); ++buffer)
                if (buffer->size >= bytes && (best == kept_.end() || buffer->size < best->size)) best = buffer;
            if (best != kept_.end()) {
                const Buffer buffer = *best;
                kept_.erase(best);
                keptBytes_ -= buffer.size;
                return buffer;
            }
        }
        const std::size_t size = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (data == MAP_FAILED) throw std::bad_alloc();
        ::madvise(data, size, MADV_HUGEPAGE);  // a hint: fewer faults where the kernel has huge pages
        return {data, size};
    }

    void give(Buffer buffer) {
        if (buffer.size < kSmallest) return ::operator delete(buffer.data, kAlign);
        ::madvise(buffer.data, buffer.size, MADV_FREE);
        std::vector<Buffer> dropped;
        {
            const std::lock_guard lock(mutex_);
            kept_.push_back(buffer);
            keptBytes_ += buffer.size;
            // The oldest go first: the buffers of the last sort are the ones
            // the next one of the same list needs.
            while (keptBytes_ > kKeptBytes) {
                dropped.push_back(kept_.front());
                keptBytes_ -= kept_.front().size;
                kept_.erase(kept_.begin());
            }
        }
        for (const Buffer& old : dropped) drop(old);
    }

private:
    static void drop(Buffer buffer) { ::munmap(buffer.data, buffer.size); }

    std::mutex mutex_;
    std::vector<Buffer> kept_;  // the oldest given back first
    std::size_t keptBytes_ = 0;
};

Keeper& keeper() {
    static Keeper* const keeper = new Keeper;  // never destroyed: buffers may come back during exit
    return *keeper;
}

}  // namespace

ScratchBuffer::ScratchBuffer(std::size_t bytes) {
    const Buffer buffer = keeper().take(bytes);
    data_ = buffer.data;
    size_ = buffer.size;
}

ScratchBuffer::~ScratchBuffer() { keeper().give({data_, size_}); }

}  // namespace listora
