#pragma once
// The order of rows sorted by one text each as the collator orders it, as a
// permutation, so that the caller moves its rows once.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace listora {

class Collator;

// The texts to sort, one a row. They are read from several threads at once.
class SortTexts {
public:
    virtual ~SortTexts() = default;
    virtual std::size_t size() const = 0;
    virtual std::string_view text(std::size_t row) const = 0;
    // A hint that `row`'s text is read soon.
    virtual void prefetch(std::size_t row) const = 0;
};

// order[i] is the row that belongs at position i; rows with equal keys keep
// their order.
std::vector<std::uint32_t> sortedOrder(const SortTexts& texts, const Collator& collator);

}  // namespace listora
