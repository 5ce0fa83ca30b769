#include "core/playlist/sort/scratch_room.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <utility>
#include <vector>

namespace listora {
namespace {

// Rooms smaller than this come from the heap, whose freed memory is kept
// well enough.
constexpr std::size_t kSmallest = std::size_t{16} << 20;
constexpr std::align_val_t kAlign{64};
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Rooms kept while no one holds them, at most this many bytes: what a sort
// of some 4,000,000 rows holds at once, its keys and two sets of entries.
constexpr std::size_t kKeptBytes = std::size_t{1} << 30;

struct Room {
    void* data;
    std::size_t size;
};

class Keeper {
public:
    Room take(std::size_t bytes) {
        if (bytes < kSmallest) return {::operator new(std::max(bytes, std::size_t{1}), kAlign), bytes};
        {
            const std::lock_guard lock(mutex_);
            // The smallest kept room that is large enough.
            auto best = kept_.end();
            for (auto room = kept_.begin(); room != kept_.end(); ++room)
                if (room->size >= bytes && (best == kept_.end() || room->size < best->size)) best = room;
            if (best != kept_.end()) {
                const Room room = *best;
                kept_.erase(best);
                keptBytes_ -= room.size;
                return room;
            }
        }
        const std::size_t size = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (data == MAP_FAILED) throw std::bad_alloc();
        ::madvise(data, size, MADV_HUGEPAGE);  // a hint: fewer faults where the kernel has huge pages
        return {data, size};
    }

    void give(Room room) {
        if (room.size < kSmallest) return ::operator delete(room.data, kAlign);
        ::madvise(room.data, room.size, MADV_FREE);
        std::vector<Room> dropped;
        {
            const std::lock_guard lock(mutex_);
            kept_.push_back(room);
            keptBytes_ += room.size;
            // The oldest go first: the rooms of the last sort are the ones
            // the next one of the same list needs.
            while (keptBytes_ > kKeptBytes) {
                dropped.push_back(kept_.front());
                keptBytes_ -= kept_.front().size;
                kept_.erase(kept_.begin());
            }
        }
        for (const Room& old : dropped) drop(old);
    }

private:
    static void drop(Room room) { ::munmap(room.data, room.size); }

    std::mutex mutex_;
    std::vector<Room> kept_;  // the oldest given back first
    std::size_t keptBytes_ = 0;
};

Keeper& keeper() {
    static Keeper* const keeper = new Keeper;  // never destroyed: rooms may go back during exit
    return *keeper;
}

}  // namespace

ScratchRoom::ScratchRoom(std::size_t bytes) {
    const Room room = keeper().take(bytes);
    data_ = room.data;
    size_ = room.size;
}

ScratchRoom::~ScratchRoom() { keeper().give({data_, size_}); }

}  // namespace listora
