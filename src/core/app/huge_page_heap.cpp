#include "core/app/huge_page_heap.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace listora {
namespace {

constexpr const char* kTunables = "GLIBC_TUNABLES";
// Huge pages; and a list's freed memory kept for the next one, up to
// 256 MiB, with blocks below 32 MiB (a million rows' vector among them)
// taken from the heap, so that opening one playlist after another does not
// give every page back to the kernel and fault it in again.
constexpr const char* kHugePages =
    "glibc.malloc.hugetlb=1:glibc.malloc.trim_threshold=268435456:glibc.malloc.mmap_threshold=33554432";
// Holds the caller's GLIBC_TUNABLES across the restart: "-" when it was unset.
constexpr const char* kSaved = "LISTORA_SAVED_TUNABLES";

}  // namespace

void restartWithHugePageHeap(char** argv) {
    if (const char* saved = std::getenv(kSaved)) {
        const std::string original = saved;
        ::unsetenv(kSaved);
        if (original == "-")
            ::unsetenv(kTunables);
        else
            ::setenv(kTunables, original.c_str(), 1);
        return;
    }
    const char* current = std::getenv(kTunables);
    const std::string original = current ? current : "";
    if (original.find("glibc.malloc.hugetlb") != std::string::npos) return;  // the caller chose

    ::setenv(kSaved, current ? original.c_str() : "-", 1);
    ::setenv(kTunables, original.empty() ? kHugePages : (original + ":" + kHugePages).c_str(), 1);
    ::execv("/proc/self/exe", argv);
    // No restart: go on as we are, with the environment as it was.
    ::unsetenv(kSaved);
    if (current)
        ::setenv(kTunables, original.c_str(), 1);
    else
        ::unsetenv(kTunables);
}

}  // namespace listora
