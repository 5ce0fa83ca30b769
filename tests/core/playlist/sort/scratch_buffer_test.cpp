#include "core/playlist/sort/scratch_buffer.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>

namespace listora {
namespace {

bool aligned(const void* data) { return reinterpret_cast<std::uintptr_t>(data) % 64 == 0; }

// A large buffer given back is what the next sort of that size gets, so its
// pages need not be faulted in again; buffers held at once never overlap,
// and each is all there to write, small or large.
TEST(ScratchBuffer, ALargeBufferIsKeptForTheNextAndBuffersHeldAtOnceAreApart) {
    const std::size_t large = (std::size_t{40} << 20) + 12345;
    const void* first = nullptr;
    {
        const ScratchBuffer buffer(large);
        ASSERT_GE(buffer.size(), large);
        std::memset(buffer.data(), 0x5A, buffer.size());
        first = buffer.data();
    }
    const ScratchBuffer again(large);
    EXPECT_EQ(again.data(), first);
    const ScratchBuffer other(large);
    EXPECT_NE(other.data(), again.data());
    const auto* a = static_cast<const char*>(again.data());
    const auto* b = static_cast<const char*>(other.data());
    EXPECT_TRUE(a + again.size() <= b || b + other.size() <= a);

    for (const std::size_t bytes : {std::size_t{0}, std::size_t{1}, std::size_t{4096}, std::size_t{3} << 20}) {
        const ScratchBuffer small(bytes);
        EXPECT_GE(small.size(), bytes);
        EXPECT_TRUE(aligned(small.data()));
        std::memset(small.data(), 0, small.size());
    }
    EXPECT_TRUE(aligned(again.data()));
}

}  // namespace
}  // namespace listora
