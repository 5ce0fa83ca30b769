#pragma once
// How a target lets the input choose the pieces a stream hands out: up to
// eight read sizes of 1 to 4,096 bytes, used in turn, and optionally the
// read that fails.

#include "memory_file_system.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace listora::fuzz {

inline void choosePieces(FuzzedDataProvider& input, MemoryFileSystem& fs) {
    fs.pieces.assign(input.ConsumeIntegralInRange<std::size_t>(1, 8), 0);
    for (std::size_t& piece : fs.pieces) piece = input.ConsumeIntegralInRange<std::size_t>(1, 4096);
    if (input.ConsumeBool()) fs.breakAfter = input.ConsumeIntegralInRange<std::size_t>(0, 64);
}

}  // namespace listora::fuzz
