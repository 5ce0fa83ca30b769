#pragma once
// A stream for tests of readers in pieces.

#include "core/text/byte_stream.h"

#include <algorithm>
#include <string>

namespace listora {

// Hands out a text a few bytes at a time, so every break falls on a piece's
// edge somewhere; it can also break off part way.
class TrickleStream : public ByteStream {
public:
    TrickleStream(std::string text, std::size_t piece, std::size_t failAt = std::string::npos)
        : text_(std::move(text)), piece_(piece), failAt_(failAt) {}
    std::optional<std::size_t> read(char* buffer, std::size_t size) override {
        if (at_ >= failAt_) return std::nullopt;
        const std::size_t count = std::min({size, piece_, text_.size() - at_, failAt_ - at_});
        text_.copy(buffer, count, at_);
        at_ += count;
        return count;
    }

private:
    std::string text_;
    std::size_t piece_;
    std::size_t failAt_;
    std::size_t at_ = 0;
};

}  // namespace listora
