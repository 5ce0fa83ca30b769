#pragma once
// Locale-aware, case-insensitive ordering of texts in the system code page
// ("abc" and "ABC" are equal keys), backed by ICU's collator for the user's
// locale.

#include "platform/codepage.h"

#include <memory>
#include <string>
#include <string_view>

struct UCollator;

namespace listora {

class Collator {
public:
    explicit Collator(CodePage cp);  // not for use from two threads at once
    ~Collator();
    Collator(const Collator&) = delete;
    Collator& operator=(const Collator&) = delete;

    // Byte strings whose plain comparison gives the collation order, so a
    // sort computes each key once instead of collating on every comparison.
    std::string sortKey(std::string_view text) const;
    void appendSortKey(std::string_view text, std::string& out) const;
    int compare(std::string_view a, std::string_view b) const;

private:
    UCollator* collator_;
    mutable Utf16Converter converter_;
};

}  // namespace listora
