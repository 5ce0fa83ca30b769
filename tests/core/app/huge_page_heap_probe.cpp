// Restarts itself as the programs do and prints what the restarted process
// sees: its argument, its environment's tunables and whether the heap
// setting reached glibc (the process's own /proc/self/environ at exec).

#include "core/app/huge_page_heap.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    listora::restartWithHugePageHeap(argv);
    std::ifstream environ("/proc/self/environ", std::ios::binary);
    const std::string startEnvironment((std::istreambuf_iterator<char>(environ)), {});
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    std::printf("arg=%s tunables=%s started-with-hugetlb=%d keeping-freed=%d saved=%d\n", argc > 1 ? argv[1] : "",
                tunables ? tunables : "(unset)", startEnvironment.find("glibc.malloc.hugetlb=1") != std::string::npos,
                startEnvironment.find("glibc.malloc.trim_threshold=") != std::string::npos,
                std::getenv("LISTORA_SAVED_TUNABLES") != nullptr);
    return 0;
}
