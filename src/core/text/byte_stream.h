#pragma once
// A source of bytes read a piece at a time (a file, in production).

#include <cstddef>
#include <cstdint>
#include <optional>

namespace listora {

class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Up to `size` bytes into `buffer`: 0 at the end, nothing on a failure.
    virtual std::optional<std::size_t> read(char* buffer, std::size_t size) = 0;
    // The whole size, where it is known before reading.
    virtual std::optional<std::uint64_t> size() const { return std::nullopt; }
};

}  // namespace listora
