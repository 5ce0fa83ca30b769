#pragma once
// Finds one run of bytes in many texts; its skip table is made once for a
// whole search. It compares bytes only, so in a double-byte code page a match
// may begin on a character's second byte, as the program's searches always
// have.

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

namespace listora {

class ByteFinder {
public:
    explicit ByteFinder(std::string_view piece) : piece_(piece), searcher_(piece_.begin(), piece_.end()) {}
    ByteFinder(const ByteFinder&) = delete;
    ByteFinder& operator=(const ByteFinder&) = delete;

    // An empty piece is found in no text.
    bool in(std::string_view text) const {
        return !piece_.empty() && text.size() >= piece_.size() &&
               std::search(text.begin(), text.end(), searcher_) != text.end();
    }

private:
    std::string piece_;
    std::boyer_moore_horspool_searcher<std::string::const_iterator> searcher_;
};

}  // namespace listora
