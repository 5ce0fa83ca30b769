#pragma once

namespace listora {

// A list of a million rows touches some hundreds of megabytes, and on a
// virtual machine the page faults of 4 KiB pages cost more than the work
// itself (measured: 196,000 faults and 1.6 s of system time for one load and
// sort). glibc backs its heap with transparent huge pages when the
// glibc.malloc.hugetlb tunable is set, and keeps freed memory for the next
// list with its trim and mmap thresholds, but reads tunables only from the
// environment at start; so the program starts itself again once with it
// set, and then gives the environment back as it was, so that programs it
// starts do not inherit the setting. Returns only when no restart happened
// or after it.
void restartWithHugePageHeap(char** argv);

}  // namespace listora
