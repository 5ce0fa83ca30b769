#include "core/app/heap_settings.h"

#include <malloc.h>

namespace listora {

void applyHeapSettings() {
    // Setting a threshold also stops glibc from moving it on its own.
    ::mallopt(M_TRIM_THRESHOLD, 256 << 20);
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
}

}  // namespace listora
