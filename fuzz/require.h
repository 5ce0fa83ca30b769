#pragma once
// A property of the target that the input broke: said by name before the
// fuzzer keeps the input, so that a crash file explains itself.

#include <cstdio>
#include <cstdlib>

namespace listora::fuzz {

inline void require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "broken: %s\n", property);
    std::abort();
}

}  // namespace listora::fuzz
