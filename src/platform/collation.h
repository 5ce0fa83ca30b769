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
    explicit Collator(CodePage cp);
    ~Collator();
    Collator(const Collator&) = delete;
    Collator& operator=(const Collator&) = delete;

    // Byte strings whose plain comparison gives the collation order, so a
    // sort computes each key once instead of collating on every comparison.
    std::string sortKey(std::string_view text) const;
    int compare(std::string_view a, std::string_view b) const;

private:
    CodePage cp_;
    UCollator* collator_;
};

}  // namespace listora
