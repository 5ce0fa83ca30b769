#pragma once
// Memory for large passing work (the entries a sort of a million rows
// deals and moves), kept between uses instead of given back to the kernel
// and faulted in again: on a virtual machine a fresh page costs more than
// the work done on it, and a sort of 4,000,000 rows would fault in some
// 600 MB of them each time. Between uses the pages are marked free
// (MADV_FREE): the kernel takes them back whenever it needs memory, and
// until then the next use has them without a fault. Up to 1 GiB is kept; a
// request gets the smallest kept buffer that is large enough, and when more
// is given back the oldest buffers go first.

#include <cstddef>

namespace listora {

class ScratchBuffer {
public:
    // At least `bytes`, uninitialised, aligned for any type; throws
    // std::bad_alloc when the system has no memory for it.
    explicit ScratchBuffer(std::size_t bytes);
    // Gives the memory back to be kept.
    ~ScratchBuffer();
    ScratchBuffer(const ScratchBuffer&) = delete;
    ScratchBuffer& operator=(const ScratchBuffer&) = delete;

    void* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    void* data_;
    std::size_t size_;
};

}  // namespace listora
